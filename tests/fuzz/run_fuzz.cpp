// Fuzz target: a whole conversion run, reading a workspace and its member files made from the
// input and writing into a fresh temporary destination.
//
// Input layout, files separated by fileSeparator: a single file is one Keil project; otherwise
// the first file is the workspace all.mpw, the second the compiler personality c.p_c, the third
// the base analyser personality a.p_a and the rest the members m1.uv2, m2.uv2, ... (at most 8).
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "command_line.h"
#include "fuzz_support.h"

namespace fs = std::filesystem;

namespace {

void writeBytes(const fs::path& file, const std::string& content)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
}

// Everything a run writes must stay below the destination: the folders around it are checked
// to hold exactly what the harness put there.
void expectOnly(const fs::path& folder, const std::vector<std::string>& names)
{
    std::size_t count = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        ++count;
        bool known = false;
        for (const std::string& name : names)
            known = known || entry.path().filename() == name;
        if (!known)
            std::abort();
    }
    if (count != names.size())
        std::abort();
}

class Sandbox {
public:
    Sandbox() : base(fs::temp_directory_path() / ("tamsel-fuzz-" + std::to_string(::getpid())))
    {
        fs::create_directories(base);
    }
    ~Sandbox()
    {
        std::error_code ignored;
        fs::remove_all(base, ignored);
    }
    const fs::path base;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Sandbox sandbox;
    const std::vector<std::string> files = splitFiles(data, size);
    const fs::path work = sandbox.base / "work";
    const fs::path inputs = work / "ws";
    const fs::path destination = work / "out";
    fs::create_directories(inputs);
    fs::create_directories(destination);

    std::string source;
    if (files.size() == 1) {
        source = (inputs / "solo.uv2").string();
        writeBytes(source, files[0]);
    } else {
        source = (inputs / "all.mpw").string();
        writeBytes(source, files[0]);
        writeBytes(inputs / "c.p_c", files[1]);
        if (files.size() > 2)
            writeBytes(inputs / "a.p_a", files[2]);
        for (std::size_t i = 3; i < files.size() && i < 11; ++i)
            writeBytes(inputs / ("m" + std::to_string(i - 2) + ".uv2"), files[i]);
    }

    const std::vector<std::string> arguments{
        source, destination.string(), "-cp", (inputs / "c.p_c").string(), "-ap", (inputs / "a.p_a").string(),
        "-pn", "demo"};
    std::vector<const char*> argv{"Tamsel"};
    for (const std::string& argument : arguments)
        argv.push_back(argument.c_str());

    int status = 0;
    {
        SilencedOutput silence;
        status = runTamsel(static_cast<int>(argv.size()), argv.data());
    }
    if (status != 0 && status != 1)
        std::abort();

    expectOnly(sandbox.base, {"work"});
    expectOnly(work, {"ws", "out"});
    fs::remove_all(work);
    return 0;
}
