// Golden end-to-end runs: the cases below tests/data/golden, written by hand from the rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>
#include <sstream>
#include <string_view>

#include "platform.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

fs::path goldenFolder()
{
    return fs::path(testData("golden"));
}

std::vector<std::string> caseNames()
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(goldenFolder()))
        if (entry.is_directory())
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// Why Windows would refuse one part of a written path, or empty when it would not: checked here
// on its own terms, not through the converter's own mending.
std::string refusedByWindows(const std::string& part)
{
    for (const char c : part)
        if (static_cast<unsigned char>(c) < 32 || std::string_view("<>:\"|?*").find(c) != std::string_view::npos)
            return "holds a character Windows refuses";
    if (!part.empty() && (part.back() == '.' || part.back() == ' '))
        return "ends in a dot or a blank";
    std::string stem = part.substr(0, part.find('.'));
    std::transform(stem.begin(), stem.end(), stem.begin(), [](unsigned char c) { return std::toupper(c); });
    static const std::set<std::string> devices{"CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3", "COM4",
                                               "COM5", "COM6", "COM7", "COM8", "COM9", "LPT1", "LPT2", "LPT3",
                                               "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9"};
    return devices.contains(stem) ? "is a device name" : "";
}

class Golden : public ::testing::TestWithParam<std::string> {};

TEST_P(Golden, ProducesTheExpectedTree)
{
    const fs::path source = goldenFolder() / GetParam();
    TemporaryFolder work;

    // Lay out every drive of the case: input/C/... becomes C:/... in the working folder.
    if (fs::exists(source / "input"))
        for (const auto& drive : fs::directory_iterator(source / "input"))
            fs::copy(drive.path(), work.path() / (drive.path().filename().string() + ":"),
                     fs::copy_options::recursive);

    const std::vector<std::string> arguments = splitLines(readFile(source / "args"));
    ASSERT_GE(arguments.size(), 2u);

    CapturedOutput output;
    const int status = runConverter(arguments);

    EXPECT_EQ(std::to_string(status) + "\n", readFile(source / "expected" / "status"));
    EXPECT_EQ(output.text(), readFile(source / "expected" / "stdout"));

    // "C:\out" names the folder "C:/out" below the working folder.
    const fs::path destination = work.path() / platform::hostPath(arguments[1]);
    const std::vector<std::string> expectedTree = splitLines(readFile(source / "expected" / "tree.txt"));
    const std::vector<std::string> actualTree = fs::exists(destination) ? listTree(destination) : std::vector<std::string>{};
    EXPECT_EQ(actualTree, expectedTree);

    // What Linux wrote, a real Windows file system must be able to hold as well.
    for (const std::string& entry : actualTree) {
        std::istringstream parts(entry);
        for (std::string part; std::getline(parts, part, '/');)
            EXPECT_EQ(refusedByWindows(part), "") << entry;
    }

    for (const std::string& entry : expectedTree) {
        if (entry.ends_with('/') || !fs::exists(destination / entry))
            continue;
        const fs::path expectedFile = source / "expected" / "files" / entry;
        EXPECT_TRUE(fs::exists(expectedFile)) << "no expected bytes for " << entry;
        EXPECT_EQ(readFile(destination / entry), readFile(expectedFile)) << entry;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, Golden, ::testing::ValuesIn(caseNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

}  // namespace
