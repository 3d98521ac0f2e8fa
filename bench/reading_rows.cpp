// The reading rows of the benchmark: Tamsel reads one large text project into a destination
// that does not exist, so the run stops as soon as it would write and the time is the reading's.
#include "reading_rows.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <string_view>

#include "bench_text.h"
#include "child_process.h"

namespace fs = std::filesystem;

namespace {

// The converter's line for a file it cannot write: the project file is the first it writes.
constexpr const char* couldNotWrite = "Could not write file: ";

const char* kindName(ReadingInput kind)
{
    return kind == ReadingInput::BlankLines ? "blank lines" : "project lines";
}

std::string megabyteLabel(double megabytes)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g MB", megabytes);
    return text;
}

double megabytesOf(const ReadingRow& row)
{
    return static_cast<double>(row.bytes) / 1e6;
}

}  // namespace

std::vector<double> parseReadingSizes(const std::string& text)
{
    if (text == "none")
        return {};
    // Above 0: the smallest number the list accepts is the smallest positive double.
    return parseNumberList(text, std::nextafter(0.0, 1.0), 4000, false,
                           "reading sizes are MB above 0 and at most 4000, separated by commas, or none");
}

ReadingBench::ReadingBench(std::string tamsel, std::string measure, fs::path folder)
    : tamsel(std::move(tamsel)), measure(std::move(measure)), folder(std::move(folder))
{
}

void ReadingBench::prepare(const std::vector<double>& megabytes)
{
    fs::create_directories(folder);
    for (const ReadingInput kind : {ReadingInput::BlankLines, ReadingInput::ProjectLines})
        for (const double size : megabytes) {
            ReadingRow row;
            row.kind = kind;
            row.megabytes = size;
            char name[64];
            std::snprintf(name, sizeof name, "%s-%gMB.Uv2", kind == ReadingInput::BlankLines ? "blank" : "project",
                          size);
            row.file = folder / name;
            row.bytes = writeReadingInput(row.file, kind, static_cast<std::uint64_t>(std::llround(size * 1e6)));
            rows.push_back(row);
        }
    // The untimed first run brings each file into the page cache, as every timed one finds it.
    for (ReadingRow& row : rows)
        read(row, 0);
}

void ReadingBench::timedRound(int round)
{
    for (ReadingRow& row : rows)
        read(row, round);
}

void ReadingBench::read(ReadingRow& row, int round)
{
    // Never made: the converter makes no destination folder, so its first write fails.
    const fs::path destination = folder / "absent" / "destination";
    const fs::path log = folder / "reading.log";
    const ChildResult result = runMeasured(measure, tamsel,
                                           {fs::absolute(row.file).string(), fs::absolute(destination).string(), "-pn",
                                            "reading", "-ext", "c,h,s,a51"},
                                           log);
    const std::string output = readText(log);
    // A run that stopped anywhere else (a reading error, a limit) must not pass for fast reading.
    // Lines before the last are notes such as the missing compiler personality.
    const std::size_t lastLine = output.rfind('\n', output.size() >= 2 ? output.size() - 2 : 0);
    const std::string_view last = std::string_view(output).substr(lastLine == std::string::npos ? 0 : lastLine + 1);
    if (result.exitStatus != 1 || !last.starts_with(couldNotWrite) || !last.ends_with("reading.prj\n")
        || fs::exists(folder / "absent"))
        throw std::runtime_error("reading " + row.file.string() + " did not stop at its first write (status "
                                 + std::to_string(result.exitStatus) + "): " + output);
    if (round == 0)
        return;
    row.times.push_back(result.seconds);
    row.cpuTimes.push_back(result.cpuSeconds);
    row.maxRssKiB = std::max(row.maxRssKiB, result.maxRssKiB);
}

void ReadingBench::printTable() const
{
    std::printf("| input | size | time | MB/s | time per MB | CPU | CPU per MB | peak memory |\n");
    std::printf("|---|---|---|---|---|---|---|---|\n");
    for (const ReadingRow& row : rows) {
        const double seconds = median(row.times);
        const double cpu = median(row.cpuTimes);
        std::printf("| %s | %s | %.3f s | %.0f | %.2f ms | %.3f s | %.2f ms | %.1f MiB |\n", kindName(row.kind),
                    megabyteLabel(row.megabytes).c_str(), seconds, megabytesOf(row) / seconds,
                    seconds * 1e3 / megabytesOf(row), cpu, cpu * 1e3 / megabytesOf(row),
                    static_cast<double>(row.maxRssKiB) / 1024.0);
    }

    // Linear reading keeps the time per MB flat: each size against the smallest of its kind.
    std::printf("\n");
    for (const ReadingInput kind : {ReadingInput::BlankLines, ReadingInput::ProjectLines}) {
        const ReadingRow* smallest = nullptr;
        const ReadingRow* largest = nullptr;
        for (const ReadingRow& row : rows)
            if (row.kind == kind) {
                if (smallest == nullptr || row.bytes < smallest->bytes)
                    smallest = &row;
                if (largest == nullptr || row.bytes > largest->bytes)
                    largest = &row;
            }
        if (smallest == nullptr || smallest == largest)
            continue;
        const auto perMegabyte = [](const ReadingRow& row, const std::vector<double>& times) {
            return median(times) / megabytesOf(row);
        };
        double drift = 0;
        double cpuDrift = 0;
        for (const ReadingRow& row : rows)
            if (row.kind == kind) {
                drift = std::max(drift, std::abs(perMegabyte(row, row.times) / perMegabyte(*smallest, smallest->times) - 1));
                cpuDrift = std::max(cpuDrift, std::abs(perMegabyte(row, row.cpuTimes)
                                                           / perMegabyte(*smallest, smallest->cpuTimes) - 1));
            }
        std::printf("- %s, %s to %s: time per MB at most %.0f%% away from %s's, CPU per MB at most %.0f%%; "
                    "%.1f times the input took %.1f times as long\n",
                    kindName(kind), megabyteLabel(smallest->megabytes).c_str(),
                    megabyteLabel(largest->megabytes).c_str(), drift * 100, megabyteLabel(smallest->megabytes).c_str(),
                    cpuDrift * 100, megabytesOf(*largest) / megabytesOf(*smallest),
                    median(largest->times) / median(smallest->times));
    }
}
