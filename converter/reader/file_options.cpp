// Options given to a single source file.
#include "file_options.h"

#include "../compiler_folders.h"
#include "../text_util.h"
#include "define_list.h"
#include "path_completion.h"

bool fileOptionsSaySomething(std::string_view defineList, std::string_view includeList,
                             const std::string& projectFolder, const CompilerFolders& compilerFolders)
{
    bool definesSomething = false;
    forEachDefineToken(defineList, [&](const std::string& token) { definesSomething = definesSomething || token.find('=') != 0; });
    if (definesSomething)
        return true;
    // A folder the file's own settings would hold, compared as the target's are: the first one
    // found answers, and a list of millions is never held.
    bool includesSomething = false;
    forEachPart(includeList, ";", [&](std::string_view element) {
        std::string folder;
        includesSomething = includesSomething
                            || (completeIncludeFolder(std::string(element), projectFolder, folder)
                                && !compilerFolders.contains(folder));
    });
    return includesSomething;
}
