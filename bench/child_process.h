// Runs child processes and measures them: wall time, exit status, peak memory and CPU time.
#pragma once

#include <filesystem>
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

// Runs program through launcher (tamsel_measure), standard output into log, and returns the
// program's own figures, whatever its exit status. Throws std::runtime_error when it cannot
// be run or measured.
ChildResult runMeasured(const std::string& launcher, const std::string& program,
                        const std::vector<std::string>& arguments, const std::filesystem::path& log);

// The middle value; for an even count, the mean of the two middle ones.
double median(std::vector<double> values);
