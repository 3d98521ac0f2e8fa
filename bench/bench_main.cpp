// The conversion benchmark: generates workspaces of growing size, times Tamsel converting
// each against the I/O floor (the same folders and files written and nothing else), checks,
// when given a reference build of an earlier commit, that the output is the same byte for
// byte and times that build alongside, and prints one table row per size with the figures the
// targets are judged by. Then the reading rows: large single projects read, nothing written.
#include <sys/utsname.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "bench_text.h"
#include "child_process.h"
#include "output_tree.h"
#include "pack_rows.h"
#include "reading_rows.h"
#include "workspace_generator.h"

namespace fs = std::filesystem;

namespace {

constexpr int settleSeconds = 30;

struct Options {
    std::string tamsel;
    std::string floor;
    std::string reference;  // a converter built from an earlier commit, whose output must agree; optional
    std::string measure;    // the launcher that times a program and reads its peak memory
    std::vector<int> sizes{1, 2, 4, 8};
    std::vector<double> readingSizes{12.5, 25, 50};  // MB; empty: no reading rows
    int runs = 5;
    fs::path work = "bench-work";
};

struct SizeResult {
    int size = 0;
    WorkspaceShape shape;
    GeneratedWorkspace input;
    std::size_t folders = 0;
    std::size_t files = 0;
    std::uint64_t outputBytes = 0;
    std::uint64_t projectFileBytes = 0;
    double tamselSeconds = 0;
    double floorSeconds = 0;
    double tamselCpuSeconds = 0;
    double floorCpuSeconds = 0;
    double referenceSeconds = 0;     // 0 when there is no reference build
    double referenceCpuSeconds = 0;
    long tamselRssKiB = 0;
    long floorRssKiB = 0;
    long referenceRssKiB = 0;
    std::vector<double> tamselTimes;
    std::vector<double> floorTimes;
    std::vector<double> tamselCpuTimes;
    std::vector<double> floorCpuTimes;
    std::vector<double> referenceTimes;
    std::vector<double> referenceCpuTimes;

    double ratio() const { return tamselSeconds / floorSeconds; }
    double nanosecondsPerByte() const { return tamselSeconds * 1e9 / static_cast<double>(outputBytes); }
    double floorNanosecondsPerByte() const { return floorSeconds * 1e9 / static_cast<double>(outputBytes); }
    double memoryShare() const
    {
        return static_cast<double>(tamselRssKiB) * 1024.0 / static_cast<double>(input.inputBytes + projectFileBytes);
    }
};

[[noreturn]] void usage()
{
    std::cerr << "Usage: tamsel_bench --tamsel <Tamsel> --floor <tamsel_io_floor> --measure <tamsel_measure>\n"
                 "                    [--reference <Tamsel of an earlier commit>] [--sizes 1,2,4,8] [--runs 5]\n"
                 "                    [--reading 12.5,25,50 | --reading none] [--work <folder>]\n";
    std::exit(2);
}

std::vector<int> parseSizes(const std::string& text)
{
    const std::vector<double> sizes =
        parseNumberList(text, 1, 64, true, "sizes are whole numbers from 1 to 64, separated by commas");
    return {sizes.begin(), sizes.end()};
}

Options parseOptions(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (i + 1 >= argc)
            usage();
        const std::string value = argv[++i];
        if (option == "--tamsel")
            options.tamsel = value;
        else if (option == "--floor")
            options.floor = value;
        else if (option == "--measure")
            options.measure = value;
        else if (option == "--reference")
            options.reference = value;
        else if (option == "--sizes")
            options.sizes = parseSizes(value);
        else if (option == "--reading")
            options.readingSizes = parseReadingSizes(value);
        else if (option == "--runs")
            options.runs = std::clamp(std::atoi(value.c_str()), 1, 99);
        else if (option == "--work")
            options.work = value;
        else
            usage();
    }
    if (options.tamsel.empty() || options.floor.empty() || options.measure.empty())
        usage();
    return options;
}

// Destinations get names of one length, so that every run writes the same number of bytes
// (the paths inside the output name the destination).
fs::path destination(const fs::path& folder, char kind, int run)
{
    char name[16];
    std::snprintf(name, sizeof name, "%c%02d", kind, run);
    return folder / name;
}

// Built by appending: GCC 12 warns falsely (-Wrestrict) about "x" + std::to_string(...).
std::string sizeLabel(int size)
{
    std::string label = "x";
    label += std::to_string(size);
    return label;
}

class Bench {
public:
    explicit Bench(Options options) : options(std::move(options)) {}

    // Generates one size's input and makes the warm-up runs: the expected tree, the comparison
    // with the reference build, the floor's first copy. Throws std::runtime_error when a
    // run fails or outputs differ.
    SizeResult prepare(int size);
    // One timed conversion and one timed floor run, each into a fresh destination, and one of
    // the reference build when there is one.
    void timedRound(SizeResult& result, int round);
    // Checks every timed run's output size and takes the medians.
    void finish(SizeResult& result);

private:
    // Runs program through the launcher, standard output into log.
    ChildResult run(const std::string& program, const std::vector<std::string>& arguments, const fs::path& log) const;
    ChildResult convert(const std::string& program, const SizeResult& result, const fs::path& destination,
                        const fs::path& log) const;
    // Runs the floor; its own figures cover the writing alone, without reading its source.
    ChildResult copyFloor(const fs::path& source, const fs::path& destination, const fs::path& log,
                          double& writeSeconds, double& writeCpuSeconds) const;

    fs::path sizeFolder(int size) const { return options.work / sizeLabel(size); }

    Options options;
};

ChildResult Bench::run(const std::string& program, const std::vector<std::string>& arguments, const fs::path& log) const
{
    const ChildResult measured = runMeasured(options.measure, program, arguments, log);
    if (measured.exitStatus != 0)
        throw std::runtime_error(program + " ended with status " + std::to_string(measured.exitStatus) + "; its output: "
                                 + readText(log));
    return measured;
}

ChildResult Bench::convert(const std::string& program, const SizeResult& result, const fs::path& destination,
                           const fs::path& log) const
{
    // The writer never makes the destination folder itself.
    fs::create_directories(destination);
    // No message and no compiler personality: both empty defaults are made, as in a first run.
    return run(program,
               {fs::absolute(result.input.workspaceFile).string(), fs::absolute(destination).string(), "-pn", "bench",
                "-ap", fs::absolute(result.input.basePersonality).string(), "-ext", "c,h,s,a51"},
               log);
}

ChildResult Bench::copyFloor(const fs::path& source, const fs::path& destination, const fs::path& log,
                             double& writeSeconds, double& writeCpuSeconds) const
{
    fs::create_directories(destination);
    const ChildResult measured = run(options.floor, {source.string(), destination.string()}, log);
    std::istringstream figures(readText(log));
    if (!(figures >> writeSeconds >> writeCpuSeconds))
        throw std::runtime_error(options.floor + " printed no times");
    return measured;
}

SizeResult Bench::prepare(int size)
{
    SizeResult result;
    result.size = size;
    result.shape = WorkspaceShape::scaled(size);
    const fs::path folder = sizeFolder(size);
    result.input = generateWorkspace(folder / "input", result.shape);
    const fs::path first = folder / "first";
    const std::string name = sizeLabel(size) + ": ";

    // Warm-up: the first conversion reads the inputs into the page cache; its output is the
    // tree every other run is compared with and the one the floor copies.
    convert(options.tamsel, result, destination(folder, 'c', 0), folder / "c00.log");
    fs::rename(destination(folder, 'c', 0), first);
    const OutputTree expected = readTree(first);
    const std::string expectedLog = readText(folder / "c00.log");
    result.folders = expected.folders.size();
    result.files = expected.files.size();
    result.outputBytes = expected.byteCount();
    result.projectFileBytes = fs::file_size(first / "bench.prj");

    // The reference build writes to the very same destination, so every byte must agree.
    if (!options.reference.empty()) {
        convert(options.reference, result, destination(folder, 'c', 0), folder / "r00.log");
        if (const auto difference = firstDifference(expected, readTree(destination(folder, 'c', 0))))
            throw std::runtime_error(name + "output differs from the reference build: " + *difference);
        if (readText(folder / "r00.log") != expectedLog)
            throw std::runtime_error(name + "standard output differs from the reference build");
    }

    double floorSeconds = 0;
    double floorCpuSeconds = 0;
    copyFloor(first, destination(folder, 'f', 0), folder / "f00.log", floorSeconds, floorCpuSeconds);
    if (const auto difference = firstDifference(expected, readTree(destination(folder, 'f', 0))))
        throw std::runtime_error(name + "the I/O floor wrote another tree: " + *difference);
    return result;
}

void Bench::timedRound(SizeResult& result, int round)
{
    const fs::path folder = sizeFolder(result.size);
    const ChildResult converted = convert(options.tamsel, result, destination(folder, 'c', round), folder / "c.log");
    result.tamselTimes.push_back(converted.seconds);
    result.tamselCpuTimes.push_back(converted.cpuSeconds);
    result.tamselRssKiB = std::max(result.tamselRssKiB, converted.maxRssKiB);
    double floorSeconds = 0;
    double floorCpuSeconds = 0;
    const ChildResult copied =
        copyFloor(folder / "first", destination(folder, 'f', round), folder / "f.log", floorSeconds, floorCpuSeconds);
    result.floorTimes.push_back(floorSeconds);
    result.floorCpuTimes.push_back(floorCpuSeconds);
    result.floorRssKiB = std::max(result.floorRssKiB, copied.maxRssKiB);
    if (options.reference.empty())
        return;
    const ChildResult reference =
        convert(options.reference, result, destination(folder, 'r', round), folder / "r.log");
    result.referenceTimes.push_back(reference.seconds);
    result.referenceCpuTimes.push_back(reference.cpuSeconds);
    result.referenceRssKiB = std::max(result.referenceRssKiB, reference.maxRssKiB);
}

void Bench::finish(SizeResult& result)
{
    // A timed run that went wrong must not pass for a fast one.
    const fs::path folder = sizeFolder(result.size);
    for (std::size_t round = 1; round <= result.tamselTimes.size(); ++round)
        for (const char kind : {'c', 'r'})
            if ((kind == 'c' || !result.referenceTimes.empty())
                && treeByteCount(destination(folder, kind, static_cast<int>(round))) != result.outputBytes)
                throw std::runtime_error(sizeLabel(result.size) + ": timed run " + std::to_string(round)
                                         + (kind == 'c' ? "" : " of the reference build")
                                         + " wrote another number of bytes");
    result.tamselSeconds = median(result.tamselTimes);
    result.floorSeconds = median(result.floorTimes);
    result.tamselCpuSeconds = median(result.tamselCpuTimes);
    result.floorCpuSeconds = median(result.floorCpuTimes);
    if (!result.referenceTimes.empty()) {
        result.referenceSeconds = median(result.referenceTimes);
        result.referenceCpuSeconds = median(result.referenceCpuTimes);
    }
}

std::string machineDescription(const fs::path& work)
{
    std::string cpu = "unknown processor";
    std::ifstream cpuInfo("/proc/cpuinfo");
    for (std::string line; std::getline(cpuInfo, line);)
        if (line.starts_with("model name")) {
            cpu = line.substr(line.find(':') + 2);
            break;
        }
    std::string memory;
    std::ifstream memInfo("/proc/meminfo");
    for (std::string line; std::getline(memInfo, line);)
        if (line.starts_with("MemTotal:")) {
            memory = std::to_string(std::stoll(line.substr(9)) / 1024 / 1024) + " GiB";
            break;
        }
    // The file system the outputs go to: the longest mount point that holds the work folder.
    std::string fileSystem = "unknown";
    std::size_t longest = 0;
    const std::string workPath = fs::weakly_canonical(work).string();
    std::ifstream mounts("/proc/mounts");
    for (std::string device, point, type, rest; mounts >> device >> point >> type && std::getline(mounts, rest);) {
        const bool holds = workPath == point || workPath.starts_with(point == "/" ? point : point + "/");
        if (holds && point.size() >= longest) {
            longest = point.size();
            fileSystem = type;
        }
    }
    utsname host {};
    ::uname(&host);
    return cpu + ", " + std::to_string(std::thread::hardware_concurrency()) + " cores, " + memory + " RAM, "
           + host.sysname + " " + host.release + ", output on " + fileSystem;
}

std::string mebibytes(double bytes)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f MiB", bytes / (1024.0 * 1024.0));
    return text;
}

void printTable(const std::vector<SizeResult>& results)
{
    std::printf("| size | members x targets x groups x files | source files | input | folders | files | output | "
                "of which .prj |\n");
    std::printf("|---|---|---|---|---|---|---|---|\n");
    for (const SizeResult& r : results)
        std::printf("| x%d | %d x %d x %d x %d | %llu | %s | %zu | %zu | %s | %s |\n", r.size, r.shape.members,
                    r.shape.targets, r.shape.groups, r.shape.filesPerGroup,
                    static_cast<unsigned long long>(r.input.sourceFiles),
                    mebibytes(static_cast<double>(r.input.inputBytes)).c_str(), r.folders, r.files,
                    mebibytes(static_cast<double>(r.outputBytes)).c_str(),
                    mebibytes(static_cast<double>(r.projectFileBytes)).c_str());

    std::printf("\n| size | Tamsel | I/O floor | ratio | ns per output byte | floor ns per output byte | Tamsel CPU | "
                "floor CPU | CPU ratio | Tamsel max RSS | RSS / (input + .prj) | floor max RSS |\n");
    std::printf("|---|---|---|---|---|---|---|---|---|---|---|---|\n");
    for (const SizeResult& r : results)
        std::printf("| x%d | %.3f s | %.3f s | %.2f | %.1f | %.1f | %.3f s | %.3f s | %.2f | %s | %.2f | %s |\n", r.size,
                    r.tamselSeconds, r.floorSeconds, r.ratio(), r.nanosecondsPerByte(), r.floorNanosecondsPerByte(),
                    r.tamselCpuSeconds, r.floorCpuSeconds, r.tamselCpuSeconds / r.floorCpuSeconds,
                    mebibytes(static_cast<double>(r.tamselRssKiB) * 1024).c_str(), r.memoryShare(),
                    mebibytes(static_cast<double>(r.floorRssKiB) * 1024).c_str());

    if (results.front().referenceTimes.empty())
        return;
    std::printf("\n| size | reference | Tamsel | Tamsel / reference | reference CPU | Tamsel CPU | CPU ratio | "
                "reference max RSS | Tamsel max RSS |\n");
    std::printf("|---|---|---|---|---|---|---|---|---|\n");
    for (const SizeResult& r : results)
        std::printf("| x%d | %.3f s | %.3f s | %.2f | %.3f s | %.3f s | %.2f | %s | %s |\n", r.size, r.referenceSeconds,
                    r.tamselSeconds, r.tamselSeconds / r.referenceSeconds, r.referenceCpuSeconds, r.tamselCpuSeconds,
                    r.tamselCpuSeconds / r.referenceCpuSeconds,
                    mebibytes(static_cast<double>(r.referenceRssKiB) * 1024).c_str(),
                    mebibytes(static_cast<double>(r.tamselRssKiB) * 1024).c_str());
}

// The three targets, judged on the sizes measured: the largest for ratio and memory, the
// smallest against every other for the time per output byte.
void printTargets(const std::vector<SizeResult>& results)
{
    const SizeResult& largest = *std::max_element(results.begin(), results.end(),
                                                  [](const auto& a, const auto& b) { return a.size < b.size; });
    const SizeResult& smallest = *std::min_element(results.begin(), results.end(),
                                                   [](const auto& a, const auto& b) { return a.size < b.size; });
    double worstDrift = 0;
    double worstFloorDrift = 0;
    for (const SizeResult& r : results) {
        worstDrift = std::max(worstDrift, std::abs(r.nanosecondsPerByte() / smallest.nanosecondsPerByte() - 1));
        worstFloorDrift =
            std::max(worstFloorDrift, std::abs(r.floorNanosecondsPerByte() / smallest.floorNanosecondsPerByte() - 1));
    }

    std::printf("\nTargets (benchmark figures, not test verdicts):\n");
    std::printf("- x%d: conversion %.2f times the I/O floor (target at most 1.5): %s\n", largest.size, largest.ratio(),
                largest.ratio() <= 1.5 ? "met" : "NOT met");
    if (results.size() > 1)
        // The file system's own cost per byte need not be flat: the floor's drift shows how much
        // of the converter's is the disk's.
        std::printf("- time per output byte from x%d to x%d: at most %.0f%% away from x%d (target within 20%%): %s;"
                    " the floor's: at most %.0f%%\n",
                    smallest.size, largest.size, worstDrift * 100, smallest.size, worstDrift <= 0.2 ? "met" : "NOT met",
                    worstFloorDrift * 100);
    std::printf("- x%d: peak memory %.2f times input plus project file (target below 3): %s\n", largest.size,
                largest.memoryShare(), largest.memoryShare() < 3 ? "met" : "NOT met");
}

}  // namespace

int main(int argc, char** argv)
{
    const Options options = [&] {
        try {
            return parseOptions(argc, argv);
        } catch (const std::exception& error) {
            std::cerr << "tamsel_bench: " << error.what() << "\n";
            std::exit(2);
        }
    }();
    try {
        // Every destination must start empty; clearing takes a while, so it is done before any
        // timing. Only a folder this program made is cleared, never one given by mistake.
        const fs::path marker = options.work / ".tamsel-bench";
        if (fs::exists(options.work) && !fs::is_empty(options.work) && !fs::exists(marker))
            throw std::runtime_error(options.work.string() + " is not empty and was not made by tamsel_bench");
        const bool cleared = fs::remove_all(options.work) > 1000;
        fs::create_directories(options.work);
        std::ofstream(marker).put('\n');
        std::printf("Machine: %s\n", machineDescription(options.work).c_str());
        std::printf("Median of %d rounds over all sizes after one warm-up run per program and size.%s\n\n", options.runs,
                    options.reference.empty() ? "" : " Output compared byte for byte with the reference build.");
        std::printf("Times are wall times; the floor's cover its writing only.%s\n\n",
                    options.reference.empty() ? ""
                                              : " Reference: the converter built from an earlier commit, timed in\n"
                                                "the same rounds.");
        if (cleared) {
            // Right after tens of thousands of folders were deleted, ext4 makes new ones two to
            // three times slower for some seconds: the first size would be measured on a busy disk.
            std::printf("Cleared the previous run's folders; waiting %d s for the file system to settle.\n\n",
                        settleSeconds);
            std::fflush(stdout);
            std::this_thread::sleep_for(std::chrono::seconds(settleSeconds));
        }
        std::fflush(stdout);
        Bench bench(options);
        std::vector<SizeResult> results;
        for (int size : options.sizes) {
            results.push_back(bench.prepare(size));
            std::printf("x%d prepared\n", size);
            std::fflush(stdout);
        }
        // Round after round over all sizes, the programs alternated within each: a disk that is
        // slower for a minute then slows every size and every program alike, and the time per
        // byte of one size stays comparable with another's.
        for (int round = 1; round <= options.runs; ++round)
            for (SizeResult& result : results)
                bench.timedRound(result, round);
        for (SizeResult& result : results)
            bench.finish(result);
        std::printf("\n");
        printTable(results);
        printTargets(results);
        if (!options.reference.empty())
            std::printf("- output identical to the reference build at every size: yes\n");

        if (!options.readingSizes.empty()) {
            std::printf("\nReading: one text project read, the destination missing so that nothing is written;\n"
                        "median of %d runs after one untimed run per file. MB are 10^6 bytes.\n\n",
                        options.runs);
            std::fflush(stdout);
            ReadingBench reading(options.tamsel, options.measure, options.work / "reading");
            reading.prepare(options.readingSizes);
            for (int round = 1; round <= options.runs; ++round)
                reading.timedRound(round);
            reading.printTable();
        }

        std::printf("\nPacks: a workspace whose members all name one pack, read with and without the pack root,\n"
                    "the destination missing so that nothing is written; median of %d runs.\n\n", options.runs);
        std::fflush(stdout);
        PackBench packs(options.tamsel, options.measure, options.work / "packs");
        packs.prepare();
        for (int round = 1; round <= options.runs; ++round)
            packs.timedRound();
        packs.printTable();
    } catch (const std::exception& error) {
        std::fflush(stdout);
        std::cerr << "tamsel_bench: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
