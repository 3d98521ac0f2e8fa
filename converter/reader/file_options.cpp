// Options given to a single source file.
#include "file_options.h"

#include "../compiler_folders.h"
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
    forEachIncludeFolder(includeList, projectFolder, [&](const std::string& folder) {
        includesSomething = includesSomething || !compilerFolders.contains(folder);
    });
    return includesSomething;
}
