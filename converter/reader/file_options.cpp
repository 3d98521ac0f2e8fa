// Options given to a single source file.
#include "file_options.h"

#include "../node_settings.h"
#include "define_list.h"
#include "path_completion.h"

bool fileOptionsSaySomething(std::string_view defineList, std::string_view includeList,
                             const std::string& projectFolder, const CompilerFolders& compilerFolders)
{
    bool definesSomething = false;
    forEachDefineToken(defineList, [&](const std::string& token) { definesSomething = definesSomething || token.find('=') != 0; });
    if (definesSomething)
        return true;
    // The folders the file's own settings would hold, compared as the target's are.
    NodeSettings folders;
    addIncludeList(folders, std::string(includeList), projectFolder, compilerFolders);
    return !folders.empty();
}
