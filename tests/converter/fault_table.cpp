// The host file calls made to fail one at a time: each run ends with its one line and status 1,
// and the destination, which holds the output of an earlier run, stays exactly as it was, with
// no temporary file left. A program of its own, without a test framework, so that it runs on
// Linux, in the sanitizer build and under Wine alike.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "command_line.h"
#include "platform_files.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;
using platform::files::Call;

namespace {

void writeText(const fs::path& file, const std::string& text)
{
    std::ofstream(file, std::ios::binary) << text;
}

// Every entry below root with its bytes (folders with none).
std::map<std::string, std::string> snapshot(const fs::path& root)
{
    std::map<std::string, std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        std::string bytes;
        if (entry.is_regular_file()) {
            std::ifstream in(entry.path(), std::ios::binary);
            bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        entries[entry.path().lexically_relative(root).generic_string() + (entry.is_directory() ? "/" : "")] = bytes;
    }
    return entries;
}

// Runs the converter in this process; returns its status and the last line it printed.
int convert(std::string& lastLine)
{
    std::ostringstream output;
    std::streambuf* const previous = std::cout.rdbuf(output.rdbuf());
    const char* const argv[] = {"Tamsel", "p.uv2", "out", "-cp", "c.p_c", "-ap", "base.p_a", "-pn", "p"};
    const int status = runTamsel(static_cast<int>(std::size(argv)), argv);
    std::cout.rdbuf(previous);
    std::string line;
    for (std::istringstream lines(output.str()); std::getline(lines, line);)
        lastLine = line;
    return status;
}

// What a user sets on a file that a rerun replaces: hidden on Windows, a private mode elsewhere.
#ifdef _WIN32
void setAsUser(const fs::path& file)
{
    SetFileAttributesW(file.c_str(), GetFileAttributesW(file.c_str()) | FILE_ATTRIBUTE_HIDDEN);
}

bool setByUser(const fs::path& file)
{
    const DWORD attributes = GetFileAttributesW(file.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_HIDDEN) != 0;
}
#else
void setAsUser(const fs::path& file)
{
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
}

bool setByUser(const fs::path& file)
{
    return fs::status(file).permissions() == (fs::perms::owner_read | fs::perms::owner_write);
}
#endif

const char* callName(Call call)
{
    switch (call) {
    case Call::CreateNew: return "createNew";
    case Call::WriteAll: return "writeAll";
    case Call::Close: return "close";
    case Call::ReadSome: return "readSome";
    case Call::Replace: return "replace";
    case Call::Remove: return "remove";
    }
    return "?";
}

}  // namespace

int main()
{
    std::random_device random;
    const fs::path work = fs::temp_directory_path() / ("tamsel-faults-" + std::to_string(random()));
    fs::create_directories(work / "out");
    fs::current_path(work);
    // The first run writes the output that every later run must leave as it is. A later run
    // writes, in this order: the project file's temporary file (made first, moved into place
    // last), then targets A's and B's own personalities; the fallback copy of the base and the
    // message personality's empty default are only ever created, so they are there already.
    writeText("p.uv2", "Target (A)\nTarget (B)\nGroup (G)\nFile 1,1,<a.c>\n"
                       "Options 1,0,0  // Target 'A'\n ADSCDEFN (X)\nEndOpt\n"
                       "Options 1,0,0  // Target 'B'\n ADSCDEFN (Y)\nEndOpt\n");
    writeText("c.p_c", "");
    writeText("base.p_a", "-w2\n");
    std::string line;
    if (convert(line) != 0) {
        std::cout << "the first run failed: " << line << "\n";
        return 1;
    }
    const auto before = snapshot("out");

    std::string folder = fs::current_path().string();
    for (char& c : folder)
        if (c == '/')
            c = '\\';
    const std::string project = "Could not write file: " + folder + "\\out\\p.prj";
    const std::string ownA = "Could not write file: " + folder + "\\out\\p\\A\\person\\A.p_a";
    const std::string own = "Could not write file: " + folder + "\\out\\p\\B\\person\\B.p_a";
    const std::string source = "Could not open file: " + folder + "\\p.uv2";
    const struct Row {
        Call call;
        unsigned n;
        std::string lastLine;
        Call alsoCall = Call::Remove;  // a second call made to fail, where n2 is not 0
        unsigned n2 = 0;
    } rows[] = {
        {Call::CreateNew, 1, project},
        {Call::CreateNew, 2, ownA},
        {Call::CreateNew, 3, own},
        {Call::WriteAll, 1, ownA},  // a full disk
        {Call::WriteAll, 2, own},
        {Call::WriteAll, 3, project},
        {Call::Close, 2, own},
        {Call::Close, 3, project},
        {Call::Replace, 1, ownA},
        {Call::Replace, 2, own},
        {Call::Replace, 3, project},
        {Call::ReadSome, 2, source},  // the source file, after the compiler personality
        {Call::ReadSome, 3, source},  // its end
        // Removing a temporary file is tried again once: the first remove is that of the
        // failed file, the second that of the project file.
        {Call::Remove, 1, own, Call::WriteAll, 2},
        {Call::Remove, 2, own, Call::WriteAll, 2},
    };
    int failures = 0;
    for (const Row& row : rows) {
        for (const Call call : platform::files::allCalls)
            platform::files::failNthCall(call, 0);
        platform::files::failNthCall(row.call, row.n);
        if (row.n2 != 0)
            platform::files::failNthCall(row.alsoCall, row.n2);
        std::string last;
        const int status = convert(last);
        const bool unchanged = snapshot("out") == before;
        if (status != 1 || last != row.lastLine || !unchanged) {
            ++failures;
            std::cout << "FAILED " << callName(row.call) << " " << row.n << ": status " << status << ", last line \""
                      << last << "\", expected \"" << row.lastLine << "\""
                      << (unchanged ? "" : ", the destination changed") << "\n";
        }
    }
    for (const Call call : platform::files::allCalls)
        platform::files::failNthCall(call, 0);
    // And one run that every call lets through: the project file it replaces stays as the user set it.
    setAsUser("out/p.prj");
    const int status = convert(line);
    if (status != 0 || !setByUser("out/p.prj")) {
        ++failures;
        std::cout << "FAILED a rerun: status " << status << ", last line \"" << line << "\""
                  << (setByUser("out/p.prj") ? "" : ", the project file lost what the user set") << "\n";
    }
    fs::current_path(fs::temp_directory_path());
    std::error_code ignored;
    fs::remove_all(work, ignored);
    const std::size_t runs = std::size(rows) + 1;
    std::cout << runs - failures << " of " << runs << " fault rows passed\n";
    return failures == 0 ? 0 : 1;
}
