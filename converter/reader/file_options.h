// Options given to a single source file, which the output project has no place for.
#pragma once

#include <list>
#include <string>
#include <string_view>

class CompilerFolders;

// Whether a file's define list and include list say something its project cannot carry: a
// define with a name (the text before any "="), or an include folder that, completed against
// projectFolder, is none of the folders the compiler personality names. Both readers ask
// this, so that a file's options are reported alike in either format.
bool fileOptionsSaySomething(std::string_view defineList, std::string_view includeList,
                             const std::string& projectFolder, const CompilerFolders& compilerFolders);
