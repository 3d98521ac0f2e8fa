// Runs one child process and measures it: wall time, exit status and peak memory.
#pragma once

#include <string>
#include <vector>

struct ChildResult {
    int exitStatus = -1;      // the child's exit status; -1 when it did not exit normally
    double seconds = 0;       // wall time from start to reaped
    long maxRssKiB = 0;       // the child's peak resident set size
    double cpuSeconds = 0;    // user and system time
};

// Starts program with arguments (argv[0] is added), standard output into outputFile (or
// discarded when empty), and waits for it. Throws std::runtime_error when it cannot start.
ChildResult runChild(const std::string& program, const std::vector<std::string>& arguments,
                     const std::string& outputFile);
