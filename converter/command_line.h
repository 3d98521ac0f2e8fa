// The converter's command line: usage, absolute paths, the default name and the options.
#pragma once

#include <string>
#include <vector>

#include "run_settings.h"

void printUsage();

// Makes a path absolute against the current folder (or a drive's own current folder).
// Only "\" is a separator; no "." or ".." segment is removed.
std::string makeAbsolutePath(const std::string& path);

// The output project's name: the source file name less its extension, and less an inner
// suffix as well (blinky.rev.uv2 gives blinky).
std::string defaultProjectName(const std::string& sourcePath);

// Scans every argument, positional ones included, one step at a time: a value an option
// took is examined as an argument in the next step. arguments[0] is the program name.
void applyOptions(RunSettings& settings, const std::vector<std::string>& arguments);

// The whole program behind main: returns the exit status.
int runTamsel(int argc, const char* const* argv, TreeAtEnd treeAtEnd = TreeAtEnd::Freed);
