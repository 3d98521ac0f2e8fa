// The pack rows of the benchmark: a workspace of 50 XML members of the corpus's mean size (about
// 45 KB) that all name one pack with a
// 1 MB description, read with and without the pack root (nothing written), so that the cost of
// the packs shows against the reading it adds to.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

class PackBench {
public:
    PackBench(std::string tamsel, std::string measure, std::filesystem::path folder);

    // Writes the pack root and the workspace, and reads it once each way, untimed. Throws
    // std::runtime_error when a run does not stop where reading ends.
    void prepare();
    // One timed run each way.
    void timedRound();
    // The Markdown table: each way's median, and the run with packs against the run without.
    void printTable() const;

private:
    double read(bool withPacks, std::vector<double>& cpuTimes);

    std::string tamsel;
    std::string measure;
    std::filesystem::path folder;
    std::vector<double> withoutTimes, withTimes, withoutCpu, withCpu;
    std::uintmax_t descriptionBytes = 0;
};
