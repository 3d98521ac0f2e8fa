// Tests of the benchmark's own parts: the tree comparison the output-identity proof rests on,
// and the generator, converted in-process and counted against the shape worked out by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "command_line.h"
#include "text_util.h"
#include "output_tree.h"
#include "workspace_generator.h"

namespace fs = std::filesystem;

namespace {

class ScratchFolder {
public:
    ScratchFolder()
    {
        std::random_device random;
        folder = fs::temp_directory_path() / ("tamsel-bench-test-" + std::to_string(random()));
        fs::create_directories(folder);
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    const fs::path& path() const { return folder; }

private:
    fs::path folder;
};

void writeFile(const fs::path& file, const std::string& bytes)
{
    std::ofstream out(file, std::ios::binary);
    out << bytes;
}

OutputTree sampleTree()
{
    return {{"a", "a/output", "b"}, {{"a/x.p_a", "-i \"C:\\inc\"\r\n"}, {"p.prj", "VersionTag45\r\n"}}};
}

TEST(FirstDifference, NamesTheFirstMismatch)
{
    struct Case {
        const char* rule;
        void (*change)(OutputTree&);
        const char* expected;  // empty: no difference
    };
    const Case cases[] = {
        {"same entries, same bytes", [](OutputTree&) {}, ""},
        {"listing order does not matter",
         [](OutputTree& t) {
             std::reverse(t.folders.begin(), t.folders.end());
             std::reverse(t.files.begin(), t.files.end());
         },
         ""},
        {"a missing folder", [](OutputTree& t) { t.folders.erase(t.folders.begin() + 1); }, "folder a/output/ is missing"},
        {"an extra folder", [](OutputTree& t) { t.folders.push_back("c"); }, "folder c/ is extra"},
        {"a missing file", [](OutputTree& t) { t.files.erase(t.files.begin()); }, "file a/x.p_a is missing"},
        {"an extra file", [](OutputTree& t) { t.files.push_back({"z.txt", ""}); }, "file z.txt is extra"},
        // "VersionTag45\r\n" is 14 bytes; a lone LF instead of CR LF differs at byte 12 of line 1.
        {"a line end", [](OutputTree& t) { t.files[1].bytes = "VersionTag45\n"; },
         "file p.prj differs at byte 12 (line 1), sizes 14 and 13"},
        // One more line: the first 14 bytes agree, the difference starts on line 2.
        {"a longer file", [](OutputTree& t) { t.files[1].bytes += "x"; },
         "file p.prj differs at byte 14 (line 2), sizes 14 and 15"},
    };
    for (const Case& c : cases) {
        OutputTree actual = sampleTree();
        c.change(actual);
        const auto difference = firstDifference(sampleTree(), actual);
        EXPECT_EQ(difference.value_or(""), c.expected) << c.rule;
    }
}

TEST(ReadTree, ListsParentsFirstWithTheirBytes)
{
    ScratchFolder scratch;
    fs::create_directories(scratch.path() / "b" / "output");
    fs::create_directories(scratch.path() / "a");
    writeFile(scratch.path() / "b" / "t.p_a", "-d \"X=1\"\r\n");
    writeFile(scratch.path() / "p.prj", "");

    const OutputTree tree = readTree(scratch.path());
    EXPECT_EQ(tree.folders, (std::vector<std::string>{"a", "b", "b/output"}));
    ASSERT_EQ(tree.files.size(), 2u);
    EXPECT_EQ(tree.files[0].path, "b/t.p_a");
    EXPECT_EQ(tree.files[0].bytes, "-d \"X=1\"\r\n");
    EXPECT_EQ(tree.files[1].path, "p.prj");
    EXPECT_EQ(tree.byteCount(), 10u);
    EXPECT_EQ(treeByteCount(scratch.path()), 10u);
}

TEST(Generator, MemberWithoutOptionsForItsLastTarget)
{
    WorkspaceShape shape;
    shape.targets = 3;
    shape.groups = 2;
    shape.filesPerGroup = 4;
    shape.defines = 2;
    shape.includeFolders = 1;
    const auto count = [](const std::string& text, const std::string& piece) {
        std::size_t n = 0;
        for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1))
            ++n;
        return n;
    };
    const std::string even = memberProjectText(shape, 0);
    const std::string odd = memberProjectText(shape, 1);
    EXPECT_EQ(count(even, "Target ("), 3u);
    EXPECT_EQ(count(even, "Group ("), 2u);
    EXPECT_EQ(count(even, "\nFile "), 8u);
    EXPECT_EQ(count(even, "EndOpt"), 3u);
    EXPECT_EQ(count(odd, "EndOpt"), 2u);
    EXPECT_EQ(count(odd, "Target 'Board Rev C'"), 0u);
    // Defines: BOARD_REV plus FEATURE_000 (i = 0) and CONFIG_001 = 1 * 16 + target 0 (joined by a blank).
    EXPECT_NE(even.find(" ADSCDEFN (BOARD_REV=1, FEATURE_000 CONFIG_001=16)\r\n"), std::string::npos);
    EXPECT_NE(even.find(" ADSCINCD (.\\inc;..\\common\\inc\\part_00;)\r\n"), std::string::npos);
}

TEST(Generator, BasePersonalityHasTheLinesAsked)
{
    const std::string text = basePersonalityText(25);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 25);
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_TRUE(text.starts_with("// Section 0:"));
}

// Converted, the workspace yields the folders and files its shape promises:
// the root and the run's personality folder (3 + 1), then per member 3 folders, per target 3
// (output and person, as targets have groups), per group 2.
TEST(Generator, ConvertsToTheShapeWorkedOutByHand)
{
    ScratchFolder scratch;
    WorkspaceShape shape;
    shape.members = 2;
    shape.targets = 2;
    shape.groups = 2;
    shape.filesPerGroup = 4;  // paths 0..3: .c, .h, .c, and a .lib the extension list rejects
    shape.defines = 3;
    shape.includeFolders = 2;
    shape.baseLines = 5;
    const GeneratedWorkspace input = generateWorkspace(scratch.path() / "input", shape);
    EXPECT_EQ(input.inputBytes, treeByteCount(scratch.path() / "input"));
    EXPECT_EQ(input.sourceFiles, 16u);

    const fs::path out = scratch.path() / "out";
    fs::create_directories(out);
    const std::vector<std::string> arguments{input.workspaceFile.string(), out.string(), "-pn", "bench", "-ap",
                                             input.basePersonality.string(), "-ext", "c,h,s,a51"};
    std::vector<const char*> argv{"Tamsel"};
    for (const std::string& argument : arguments)
        argv.push_back(argument.c_str());
    testing::internal::CaptureStdout();
    const int status = runTamsel(static_cast<int>(argv.size()), argv.data());
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(status, 0);

    const OutputTree tree = readTree(out);
    EXPECT_EQ(tree.folders.size(), 4u + 2u * (3u + 2u * (3u + 2u * 2u)));
    // bench.prj, the defaults .p_s, .p_c and the root's .p_a, and the targets with options:
    // both of m000, the first of m001.
    EXPECT_EQ(tree.files.size(), 4u + 3u);

    // Each accepted file is listed under every target: 2 members x 2 targets x 2 groups x 3.
    std::istringstream project(std::find_if(tree.files.begin(), tree.files.end(), [](const TreeFile& f) {
                                   return f.path == "bench.prj";
                               })->bytes);
    std::size_t fileLines = 0;
    for (std::string line; std::getline(project, line);)
        if (line.ends_with(".c\r") || line.ends_with(".h\r"))
            ++fileLines;
    EXPECT_EQ(fileLines, 24u);
}

// The reading rows' inputs have the size asked, and the converter reads every line of them:
// the blank lines as a project with one target, the project lines as one target with a group
// per 200 KB, every accepted file listed once.
TEST(Generator, ReadingInputsHaveTheirSizeAndConvertWhole)
{
    struct Case {
        const char* rule;
        ReadingInput kind;
        std::uint64_t bytes;
        std::size_t groups;
    };
    const Case cases[] = {
        {"blank lines, an odd size", ReadingInput::BlankLines, 1001, 0},
        {"project lines below one group's share", ReadingInput::ProjectLines, 199'999, 1},
        {"project lines for two groups", ReadingInput::ProjectLines, 450'000, 2},
    };
    for (const Case& c : cases) {
        ScratchFolder scratch;
        const fs::path input = scratch.path() / "reading.Uv2";
        const std::uint64_t written = writeReadingInput(input, c.kind, c.bytes);
        EXPECT_GE(written, c.bytes) << c.rule;
        EXPECT_LT(written, c.bytes + 100) << c.rule;
        EXPECT_EQ(written, fs::file_size(input)) << c.rule;

        std::ifstream in(input, std::ios::binary);
        std::size_t acceptedFileLines = 0;
        for (std::string line; std::getline(in, line);)
            if (line.starts_with("File ") && (contains(line, ".c>") || contains(line, ".h>") || contains(line, ".s>")))
                ++acceptedFileLines;

        const fs::path out = scratch.path() / "out";
        fs::create_directories(out);
        const std::string inputPath = input.string();
        const std::string outPath = out.string();
        const char* argv[] = {"Tamsel", inputPath.c_str(), outPath.c_str(), "-pn", "reading", "-ext", "c,h,s,a51"};
        testing::internal::CaptureStdout();
        const int status = runTamsel(7, argv);
        testing::internal::GetCapturedStdout();
        ASSERT_EQ(status, 0) << c.rule;

        std::ifstream project(out / "reading.prj", std::ios::binary);
        std::size_t folders = 0;
        std::size_t listed = 0;
        for (std::string line; std::getline(project, line);) {
            folders += line.starts_with("FolderName=");
            listed += line.ends_with(".c\r") || line.ends_with(".h\r") || line.ends_with(".s\r");
        }
        // The root, its one target and the target's groups.
        EXPECT_EQ(folders, 2u + c.groups) << c.rule;
        EXPECT_EQ(listed, acceptedFileLines) << c.rule;
        EXPECT_EQ(listed > 0, c.groups > 0) << c.rule;
    }
}

}  // namespace
