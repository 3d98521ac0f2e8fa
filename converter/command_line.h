// The converter's command line: usage, absolute paths, the default name and the options.
#pragma once

#include <string>
#include <vector>

class Converter;

void printUsage();

// Makes a path absolute against the current folder (or a drive's own current folder).
// Only "\" is a separator; no "." or ".." segment is removed.
std::string makeAbsolutePath(const std::string& path);

// The output project's name: the source file name less its extension, and less an inner
// suffix as well (blinky.rev.uv2 gives blinky).
std::string defaultProjectName(const std::string& sourcePath);

// Scans every argument, positional ones included, one step at a time: a value an option
// took is examined as an argument in the next step. arguments[0] is the program name.
void applyOptions(Converter& converter, const std::vector<std::string>& arguments);

// What becomes of the converter's tree when the run is over. The program leaves it to the end
// of the process: freeing a large tree node by node cost a seventh of the conversion.
enum class TreeAtEnd { Freed, LeftToProcessExit };

// The whole program behind main: returns the exit status.
int runTamsel(int argc, const char* const* argv, TreeAtEnd treeAtEnd = TreeAtEnd::Freed);
