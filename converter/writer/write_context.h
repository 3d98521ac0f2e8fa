// What the writer needs from the run, handed down the tree, and the personality files it plans.
#pragma once

#include <string>

#include "../platform.h"

class NodeSettings;
class OutputSession;

// The base analyser personality, read once before anything is planned, its line ends made
// CR LF as a Windows text-mode copy would make them.
struct BasePersonality {
    bool given = false;     // a path was given
    bool readable = false;  // and it could be read
    std::string text;

    // Reads the file at path; an empty path means none was given. identity receives the
    // file's identity when it was read.
    static BasePersonality load(const std::string& path, platform::FileIdentity& identity);
};

// One write: the run's settings the output depends on, and the check pass that plans it.
struct WriteContext {
    const std::string& destination;
    const std::string& projectName;
    const std::string& messagePersonality;   // empty: the run's empty default is made
    const std::string& compilerPersonality;  // likewise
    const BasePersonality& base;
    OutputSession& plan;
    bool messageDefaultMade = false;
    bool compilerDefaultMade = false;
};

// Plans a node's generated analyser personality at file: its include and define lines, then
// the base.
void planAnalyserPersonality(const NodeSettings& settings, const std::string& file, WriteContext& context);

// Plans a plain copy of the base at file.
void planBaseAnalyserCopy(const std::string& file, WriteContext& context);
