// The pack rows of the benchmark.
#include "pack_rows.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "bench_text.h"
#include "child_process.h"

namespace fs = std::filesystem;

namespace {

constexpr int members = 50;

void writeText(const fs::path& file, const std::string& text)
{
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

// About 1 MB: generic families and devices, as large vendors' descriptions have; the one the
// members name comes last, so that every search walks the whole list.
std::string description()
{
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<package schemaVersion=\"1.7.7\">\n"
                       "  <vendor>Bench</vendor>\n  <name>Big</name>\n  <devices>\n";
    for (int family = 0; text.size() < 1'000'000; ++family) {
        text += "    <family Dfamily=\"Family " + std::to_string(family) + "\" Dvendor=\"Bench:1\">\n"
                "      <compile header=\"Device/F" + std::to_string(family) + "/Include/family.h\"/>\n";
        for (int device = 0; device < 20; ++device)
            text += "      <device Dname=\"DEV_" + std::to_string(family) + "_" + std::to_string(device)
                    + "\">\n        <memory id=\"IROM1\" start=\"0x08000000\" size=\"0x00100000\" default=\"1\"/>\n"
                      "        <compile define=\"DEV_" + std::to_string(family) + "_" + std::to_string(device) + "\"/>\n"
                      "      </device>\n";
        text += "    </family>\n";
    }
    text += "    <family Dfamily=\"Named\">\n      <device Dname=\"NAMED\">\n"
            "        <compile header=\"Device/Named/Include/named.h\" define=\"NAMED\"/>\n      </device>\n"
            "    </family>\n  </devices>\n  <components>\n"
            "    <component Cclass=\"CMSIS\" Cgroup=\"CORE\" Cversion=\"5.0.0\">\n"
            "      <files><file category=\"include\" name=\"CMSIS/Core/Include/\"/></files>\n    </component>\n"
            "  </components>\n</package>\n";
    return text;
}

std::string member(int index)
{
    std::string files;
    for (int file = 0; file < 400; ++file)
        files += "<File><FileName>f" + std::to_string(file) + ".c</FileName><FileType>1</FileType><FilePath>.\\src\\f"
                 + std::to_string(file) + ".c</FilePath></File>\n";
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Project>\n<Targets><Target><TargetName>T"
           + std::to_string(index) + "</TargetName><TargetOption><TargetCommonOption><Device>NAMED</Device>"
             "<PackID>Bench.Big.1.0.0</PackID></TargetCommonOption><TargetArmAds><Cads><VariousControls>"
             "<Define>APP</Define><IncludePath>.\\inc</IncludePath></VariousControls></Cads></TargetArmAds>"
             "</TargetOption><Groups><Group><GroupName>Source</GroupName><Files>\n" + files
           + "</Files></Group></Groups></Target></Targets>\n<RTE><components>"
             "<component Cclass=\"CMSIS\" Cgroup=\"CORE\" Cversion=\"5.0.0\"><package name=\"Big\" vendor=\"Bench\" "
             "version=\"1.0.0\"/><targetInfos><targetInfo name=\"T" + std::to_string(index)
           + "\"/></targetInfos></component></components></RTE>\n</Project>\n";
}

}  // namespace

PackBench::PackBench(std::string tamsel, std::string measure, fs::path folder)
    : tamsel(std::move(tamsel)), measure(std::move(measure)), folder(std::move(folder))
{
}

void PackBench::prepare()
{
    const fs::path pdsc = folder / "packs" / "Bench" / "Big" / "1.0.0" / "Bench.Big.pdsc";
    writeText(pdsc, description());
    descriptionBytes = fs::file_size(pdsc);
    std::string workspace = "<?xml version=\"1.0\"?>\n<ProjectWorkspace>\n";
    for (int index = 0; index < members; ++index) {
        const std::string name = "m" + std::to_string(index);
        writeText(folder / "workspace" / name / (name + ".uvprojx"), member(index));
        workspace += "<project><PathAndName>.\\" + name + "\\" + name + ".uvprojx</PathAndName></project>\n";
    }
    writeText(folder / "workspace" / "all.uvmpw", workspace + "</ProjectWorkspace>\n");
    std::vector<double> ignored;
    read(false, ignored);
    read(true, ignored);
}

void PackBench::timedRound()
{
    withoutTimes.push_back(read(false, withoutCpu));
    withTimes.push_back(read(true, withCpu));
}

double PackBench::read(bool withPacks, std::vector<double>& cpuTimes)
{
    // Never made: the run stops at its first write, so the time is the reading's.
    std::vector<std::string> arguments{fs::absolute(folder / "workspace" / "all.uvmpw").string(),
                                       fs::absolute(folder / "absent").string(), "-pn", "packs"};
    if (withPacks) {
        arguments.emplace_back("-pack");
        arguments.push_back(fs::absolute(folder / "packs").string());
    }
    const fs::path log = folder / "packs.log";
    const ChildResult result = runMeasured(measure, tamsel, arguments, log);
    const std::string output = readText(log);
    if (result.exitStatus != 1 || output.find("Could not write file: ") == std::string::npos
        || output.find("Pack not installed") != std::string::npos || output.find("Malformed") != std::string::npos)
        throw std::runtime_error("the pack rows' run did not stop at its first write: " + output);
    cpuTimes.push_back(result.cpuSeconds);
    return result.seconds;
}

void PackBench::printTable() const
{
    std::printf("| workspace of %d XML members, one %.1f MB description | time | CPU |\n", members,
                static_cast<double>(descriptionBytes) / 1e6);
    std::printf("|---|---|---|\n");
    std::printf("| without a pack root | %.3f s | %.3f s |\n", median(withoutTimes), median(withoutCpu));
    std::printf("| with -pack | %.3f s | %.3f s |\n", median(withTimes), median(withCpu));
    std::printf("\n- with the packs: %.2f times the time of the run without them\n",
                median(withTimes) / median(withoutTimes));
}
