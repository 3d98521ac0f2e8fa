// The reading rows of the benchmark: Tamsel reads one large text project into a destination
// that does not exist, so the run stops as soon as it would write and the time is the reading's.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "workspace_generator.h"

// One input of the reading rows and its timed runs.
struct ReadingRow {
    ReadingInput kind = ReadingInput::BlankLines;
    double megabytes = 0;     // as asked, in 10^6 bytes
    std::filesystem::path file;
    std::uint64_t bytes = 0;  // as written
    std::vector<double> times;
    std::vector<double> cpuTimes;
    long maxRssKiB = 0;
};

// Generates the inputs, runs each once untimed, then times them round by round.
class ReadingBench {
public:
    ReadingBench(std::string tamsel, std::string measure, std::filesystem::path folder);

    // Writes one blank-line and one project-line input per size and reads each once, which
    // also checks that the run stops where it should. Throws std::runtime_error otherwise.
    void prepare(const std::vector<double>& megabytes);
    // One timed run of every input.
    void timedRound(int round);
    // The Markdown table, and how far time per MB moves from the smallest size to the others.
    void printTable() const;

private:
    void read(ReadingRow& row, int round);

    std::string tamsel;
    std::string measure;
    std::filesystem::path folder;
    std::vector<ReadingRow> rows;
};

// Sizes in MB separated by commas ("12.5,25,50"), each above 0 and at most 4000; "none" for
// none. Throws std::runtime_error on anything else.
std::vector<double> parseReadingSizes(const std::string& text);
