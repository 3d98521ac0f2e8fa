// What the command line asks of one conversion, settled before the run object exists.
#pragma once

#include <list>
#include <string>

struct RunSettings {
    std::string sourcePath;           // absolute
    std::string destinationFolder;    // absolute
    std::string projectName;
    std::string messagePersonality;   // absolute, or empty when not given
    std::string analyserPersonality;  // absolute, or empty
    std::string compilerPersonality;  // absolute, or empty
    std::string packRoot;             // the -pack option, absolute, or empty
    std::list<std::string> extensions;

    // Splits one "-ext" value at every "," and appends the pieces, empty ones included.
    void addExtensions(const std::string& value);
};

// What becomes of the converter's tree when the run is over. The program leaves it to the end
// of the process: freeing a large tree node by node cost a seventh of the conversion.
enum class TreeAtEnd { Freed, LeftToProcessExit };

// Reads and writes what the settings ask for; 0 on success, 1 after a reported error.
int runConversion(const RunSettings& settings, TreeAtEnd treeAtEnd);
