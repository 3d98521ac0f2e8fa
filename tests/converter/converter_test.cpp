// Tests of the run: compiler personality, workspace expansion, member nodes and error lines.
#include "converter.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform.h"
#include "reader/keil_file.h"
#include "test_support.h"
#include "text_util.h"

namespace fs = std::filesystem;

namespace {

TEST(TrimChar, RemovesLeadingThenTrailing)
{
    struct Case {
        const char* text;
        char c;
        const char* expected;
    } cases[] = {
        {"  a b  ", ' ', "a b"}, {"\"x\"", '"', "x"}, {"\"\"\"", '"', ""}, {"", ' ', ""},
        {"   ", ' ', ""},         {"a", ' ', "a"},     {"\" a \"", '"', " a "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(trimChar(c.text, c.c), c.expected) << c.text;
}

TEST(ExtractIncludePath, DropsTheOptionCharactersWhereverItStands)
{
    Converter converter("C:\\p.uv2", "C:\\out");
    struct Case {
        const char* line;
        bool named;
        const char* folder;
    } cases[] = {
        {"-i C:\\Keil\\INC", true, "C:\\Keil\\INC"},
        {"-IC:\\inc", true, "C:\\inc"},
        {"-i\"C:\\Program Files\\inc\"", true, "C:\\Program Files\\inc"},
        {"-si \"C:\\Keil\\INC\"", true, "C:\\Keil\\INC"},
        {"-SI C:\\x", true, "C:\\x"},
        {"  -i C:\\inc", true, "-i C:\\inc"},
        {"-i", true, ""},
        {"-d__CC_ARM", false, ""},
        {"+fll", false, ""},
        {"", false, ""},
    };
    for (const Case& c : cases) {
        std::string folder;
        EXPECT_EQ(converter.extractIncludePath(c.line, folder), c.named) << c.line;
        if (c.named) {
            EXPECT_EQ(folder, c.folder) << c.line;
        }
    }
}

TEST(LoadCompilerIncludePaths, KeepsEachFolderOnceSorted)
{
    TemporaryFolder folder;
    // Among 100 more folders, so that a lookup passes several of every 16th folder noted.
    std::string personality = "-i C:\\b\r\n-d X\r\n-i C:\\a\n-i C:\\b\n-i\n";
    for (int i = 99; i >= 0; --i)
        personality += "-i C:\\m\\f" + std::to_string(i) + "\n";
    writeFile(folder.path() / "c.p_c", personality);
    Converter converter("C:\\p.uv2", "C:\\out");
    converter.compilerPersonality = folder.windowsPath() + "\\c.p_c";
    CapturedOutput output;
    converter.loadCompilerIncludePaths();
    const std::vector<std::string> listed = converter.compilerIncludePaths.list();
    ASSERT_EQ(listed.size(), 103u);
    EXPECT_EQ(std::vector<std::string>(listed.begin(), listed.begin() + 4), (std::vector<std::string>{"", "C:\\a", "C:\\b", "C:\\m\\f0"}));
    EXPECT_TRUE(std::is_sorted(listed.begin(), listed.end()));
    for (int i = 0; i < 100; ++i) {
        EXPECT_TRUE(converter.compilerIncludePaths.contains("C:\\m\\f" + std::to_string(i))) << i;
        EXPECT_FALSE(converter.compilerIncludePaths.contains("C:\\m\\f" + std::to_string(i) + "0x")) << i;
    }
    for (const char* folder : {"C:\\a", "C:\\b", ""})
        EXPECT_TRUE(converter.compilerIncludePaths.contains(folder)) << folder;
    for (const char* folder : {"C:\\", "C:\\a\\", "C:\\c", "D:\\b", "C:\\m\\f", "C:\\m\\g", "0"})
        EXPECT_FALSE(converter.compilerIncludePaths.contains(folder)) << folder;
    CompilerFolders cleared = converter.compilerIncludePaths;
    cleared.clear();
    EXPECT_TRUE(cleared.empty() && !cleared.contains("C:\\a") && cleared.heldBytes() == CompilerFolders().heldBytes());
#ifdef _WIN32
    EXPECT_TRUE(converter.compilerIncludePaths.contains("c:\\A"));  // as the file system compares names
#else
    EXPECT_FALSE(converter.compilerIncludePaths.contains("c:\\A"));
#endif
    EXPECT_EQ(output.text(), "");
}

TEST(LoadCompilerIncludePaths, MissingFileOrFolderIsReportedAndTheRunGoesOn)
{
    TemporaryFolder folder;
    fs::create_directory(folder.path() / "dir.p_c");
    for (const std::string& name : {std::string(""), folder.windowsPath() + "\\none.p_c", folder.windowsPath() + "\\dir.p_c"}) {
        Converter converter("C:\\p.uv2", "C:\\out");
        converter.compilerPersonality = name;
        CapturedOutput output;
        converter.loadCompilerIncludePaths();
        EXPECT_EQ(output.text(), "Could not open file: " + name + "\n");
        EXPECT_TRUE(converter.compilerIncludePaths.empty());
    }
}

// A workspace in a temporary folder; members are empty Keil files unless given.
class Workspace : public ::testing::Test {
protected:
    // name is in Windows form.
    std::list<std::string> list(const std::string& content, const std::string& name = "all.mpw")
    {
        writeFile(folder.path() / platform::hostPath(name), content);
        Converter converter(folder.windowsPath() + "\\" + name, "C:\\out");
        return converter.listKeilProjects(KeilFile::load(converter.sourcePath));
    }

    std::string at(const std::string& relative) { return folder.windowsPath() + "\\" + relative; }

    TemporaryFolder folder;
};

TEST_F(Workspace, ListsMemberLinesOnly)
{
    EXPECT_EQ(list("[Projects]\r\nProject1=.\\a\\a.uv2\r\nProject2 = \"b\\b.uv2\"\r\n"),
              (std::list<std::string>{at(".\\a\\a.uv2"), at("b\\b.uv2")}));
    // Lower-case keys, "Project" not at the start, and other keys are skipped.
    EXPECT_EQ(list("project1=x.uv2\nMyProject=y.uv2\nPath=z\n  MPW_NAME=all\n"), std::list<std::string>{});
    // No "=": the whole line is the path.
    EXPECT_EQ(list("Project.uv2\n"), std::list<std::string>{at("Project.uv2")});
    EXPECT_EQ(list("Project3=sub/m.uv2\n"), std::list<std::string>{at("sub/m.uv2")});
    EXPECT_EQ(list(""), std::list<std::string>{});
    // A last line without a line feed still counts.
    EXPECT_EQ(list("Project=a.uv2\nProject=b.uv2"), (std::list<std::string>{at("a.uv2"), at("b.uv2")}));
}

TEST_F(Workspace, RealMemberLinesLoseTheirQuotesAndFlags)
{
    EXPECT_EQ(list("[WORKSPACE]\r\n"
                   "  MPW_NAME=\"ek\"\r\n"
                   "  Project=\"..\\..\\driverlib\\driverlib.Uv2\",A\r\n"
                   "  Project=\".\\CanTestPrj\\CanTestFunc.Uv2\",A,X\r\n"
                   "  Project=\"x\\x.Uv2\",X\r\n"
                   "  Project=\"open\\end.Uv2\r\n"
                   "  Project=\"\"\r\n"),
              (std::list<std::string>{at("..\\..\\driverlib\\driverlib.Uv2"), at(".\\CanTestPrj\\CanTestFunc.Uv2"),
                                      at("x\\x.Uv2"), at("open\\end.Uv2"), at("")}));
}

TEST_F(Workspace, ProjectSourceIsNotExpanded)
{
    EXPECT_EQ(list("Project=a.uv2\n", "p.uv2"), std::list<std::string>{at("p.uv2")});
    // ".mpw" in a folder name does not make a workspace; the file's own name or first line does.
    EXPECT_EQ(list("Project=a.uv2\n", "x.mpw.d\\p.uv2"), std::list<std::string>{at("x.mpw.d\\p.uv2")});
    EXPECT_EQ(list("Project=a.uv2\n", "ALL.MPW"), std::list<std::string>{at("a.uv2")});
    EXPECT_EQ(list("\n[workspace]\nProject=a.uv2\n", "listing"), std::list<std::string>{at("a.uv2")});
}

// Runs the converter on a workspace and returns the member nodes' names and paths.
TEST_F(Workspace, MembersAreNamedAndPlacedLikeTheirFiles)
{
    writeFile(folder.path() / "all.mpw",
              "Project1=.\\a\\a.uv2\nProject2 = \"b\\b.uv2\"\nProject3=sub/m.uv2\nProject4=c.d.uv2\n");
    for (const char* member : {"a/a.uv2", "b/b.uv2", "sub/m.uv2", "c.d.uv2"})
        writeFile(folder.path() / member, "Target (T)\n");
    fs::create_directory(folder.path() / "out");

    Converter converter(at("all.mpw"), at("out"));
    converter.projectName = "all";
    CapturedOutput output;
    ASSERT_EQ(converter.run(), 0) << output.text();

    EXPECT_EQ(converter.root->name, "all");
    EXPECT_EQ(converter.root->path, "");
    struct Expected {
        const char* name;
        std::string path;
    } expected[] = {
        {"a", at(".\\a\\")}, {"b", at("b\\")}, {"sub\\m", at("sub\\")}, {"c", at("")},
    };
    ASSERT_EQ(converter.root->children.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(converter.root->children[i]->name, expected[i].name);
        EXPECT_EQ(converter.root->children[i]->path, expected[i].path);
        ASSERT_EQ(converter.root->children[i]->children.size(), 1u);
        EXPECT_EQ(converter.root->children[i]->children[0]->name, "T");
    }
    // The writer makes the folder sub, then sub\m inside it.
    EXPECT_TRUE(fs::is_directory(folder.path() / "out" / "all" / "sub" / "m" / "T" / "output"));
}

TEST_F(Workspace, MemberNamesMatchTheDiskInAnyLetterCase)
{
    writeFile(folder.path() / "all.mpw", "Project=\".\\Nonsecure\\App.UV2\"\n");
    writeFile(folder.path() / "NonSecure" / "app.Uv2", "Target (T)\n");
    fs::create_directory(folder.path() / "out");
    Converter converter(at("all.mpw"), at("out"));
    converter.projectName = "all";
    CapturedOutput output;
    ASSERT_EQ(converter.run(), 0) << output.text();
    ASSERT_EQ(converter.root->children.size(), 1u);
    // Names and paths stay as written.
    EXPECT_EQ(converter.root->children[0]->name, "App");
    EXPECT_EQ(converter.root->children[0]->path, at(".\\Nonsecure\\"));
}

TEST_F(Workspace, AmbiguousLetterCaseDoesNotOpen)
{
    writeFile(folder.path() / "all.mpw", "Project=p\\APP.uv2\n");
    writeFile(folder.path() / "p" / "app.uv2", "Target (T)\n");
    writeFile(folder.path() / "p" / "App.uv2", "Target (T)\n");
    fs::create_directory(folder.path() / "out");
    CapturedOutput output;
    EXPECT_EQ(runConverter({"all.mpw", "out", "-cp", "none"}), 1);
    EXPECT_EQ(output.lines().back(), "Could not open file: " + at("p\\APP.uv2"));
}

struct ErrorCase {
    const char* name;
    std::vector<std::pair<std::string, std::string>> files;  // relative path, content
    std::vector<std::string> folders;
    std::vector<std::string> arguments;
    std::string lastLine;  // "@" stands for the temporary folder in Windows form
    std::vector<std::pair<std::string, std::string>> links = {};  // relative path, what it points to
};

void PrintTo(const ErrorCase& errorCase, std::ostream* out)
{
    *out << errorCase.name;
}

class ErrorLines : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ErrorLines, EndTheRunWithStatusOne)
{
    const ErrorCase& c = GetParam();
    TemporaryFolder folder;
    for (const auto& [file, content] : c.files)
        writeFile(folder.path() / file, content);
    for (const std::string& sub : c.folders)
        fs::create_directories(folder.path() / sub);
    for (const auto& [link, target] : c.links) {
#ifdef _WIN32
        GTEST_SKIP() << "links need privileges on Windows; the Wine cases cover them";
#else
        fs::create_symlink(target, folder.path() / link);
#endif
    }
    const auto before = listTree(folder.path());

    CapturedOutput output;
    EXPECT_EQ(runConverter(c.arguments), 1);
    std::string expected = c.lastLine;
    if (const std::size_t at = expected.find('@'); at != std::string::npos)
        expected.replace(at, 1, folder.windowsPath());
    ASSERT_FALSE(output.lines().empty());
    EXPECT_EQ(output.lines().back(), expected);
    // Every failure is found before anything is written, and nothing outside is touched.
    EXPECT_EQ(listTree(folder.path()), before) << "a failed run wrote something";
    for (const auto& [file, content] : c.files)
        EXPECT_EQ(readFile(folder.path() / file), content) << file;
}

const std::string keilHead = "### uVision2 Project, (C) Keil Software\r\n\r\nTarget (T)\r\n";

INSTANTIATE_TEST_SUITE_P(
    Run, ErrorLines,
    ::testing::Values(
        ErrorCase{"MissingProject", {}, {"out"}, {"p.uv2", "out", "-cp", "c"}, "Could not open file: @\\p.uv2"},
        ErrorCase{"ProjectIsAFolder", {}, {"out", "p.uv2"}, {"p.uv2", "out", "-cp", "c"}, "Could not open file: @\\p.uv2"},
        ErrorCase{"MissingWorkspace", {}, {"out"}, {"w.mpw", "out", "-cp", "c"}, "Could not open file: @\\w.mpw"},
        ErrorCase{"MissingMember",
                  {{"w.mpw", "Project=a\\a.uv2\r\nProject=b/b.uv2\r\n"}, {"a/a.uv2", keilHead}},
                  {"out"},
                  {"w.mpw", "out", "-cp", "c"},
                  "Could not open file: @\\b\\b.uv2"},
        ErrorCase{"EndInsideOptionBlock",
                  {{"p.uv2", keilHead + "Options 1,0,0  // Target 'T'\r\n ADSCDEFN (X)\r\n"}},
                  {"out"},
                  {"p.uv2", "out", "-cp", "c"},
                  "Keil Uv Project file parsing encountered unexpected EOF"},
        ErrorCase{"DestinationMissing", {{"p.uv2", keilHead}}, {}, {"p.uv2", "out", "-cp", "c"},
                  "Could not write file: @\\out\\p.prj"},
        ErrorCase{"DestinationIsAFile", {{"p.uv2", keilHead}, {"out", "x"}}, {}, {"p.uv2", "out", "-cp", "c"},
                  "Could not write file: @\\out\\p.prj"},
        ErrorCase{"NameClimbingOutOfTheDestination",
                  {{"p.uv2", "Target (T)\r\nGroup (..\\..\\evil)\r\n"}},
                  {"out"},
                  {"p.uv2", "out", "-cp", "c"},
                  "Name would lead out of the destination folder: ..\\..\\evil"},
        ErrorCase{"NodeFolderBlockedByAFile", {{"p.uv2", keilHead}, {"out/p", "user file"}}, {},
                  {"p.uv2", "out", "-cp", "c"}, "Could not create directory: @\\out\\p"},
        ErrorCase{"ProjectFileIsALink", {{"p.uv2", keilHead}, {"outside/victim.txt", "victim"}}, {"out"},
                  {"p.uv2", "out", "-cp", "c"}, "Output path is a link: @\\out\\p.prj",
                  {{"out/p.prj", "../outside/victim.txt"}}},
        ErrorCase{"NodeFolderIsALink", {{"p.uv2", keilHead + "Group (G)\r\n"}}, {"out", "outside"},
                  {"p.uv2", "out", "-cp", "c"}, "Output path is a link: @\\out\\p", {{"out/p", "../outside"}}},
        ErrorCase{"OutputFolderIsALink", {{"p.uv2", keilHead}}, {"out/p", "outside"}, {"p.uv2", "out", "-cp", "c"},
                  "Output path is a link: @\\out\\p\\output\\", {{"out/p/output", "../../outside"}}},
        ErrorCase{"PersonFolderIsALink", {{"p.uv2", keilHead}, {"outside/p.p_s", "victim"}}, {"out"},
                  {"p.uv2", "out", "-cp", "c"}, "Output path is a link: @\\out\\person\\",
                  {{"out/person", "../outside"}}},
        ErrorCase{"PersonalityIsALink", {{"p.uv2", keilHead}}, {"out/person", "outside"},
                  {"p.uv2", "out", "-cp", "c"}, "Output path is a link: @\\out\\person\\p.p_s",
                  {{"out/person/p.p_s", "../../outside/victim.p_s"}}},
        ErrorCase{"ProjectFileIsTheKeilFile", {{"p.prj", keilHead}}, {}, {"p.prj", ".", "-cp", "c", "-pn", "p"},
                  "Output would overwrite an input: @\\p.prj"},
        ErrorCase{"ProjectFileIsTheCompilerPersonality", {{"p.uv2", keilHead}, {"out/p.prj", "-i C:\\inc\r\n"}},
                  {}, {"p.uv2", "out", "-cp", "out/p.prj"}, "Output would overwrite an input: @\\out\\p.prj"},
        ErrorCase{"ProjectNameClimbsOut", {{"p.uv2", keilHead}}, {"out"}, {"p.uv2", "out", "-cp", "c", "-pn", "../escaped"},
                  "Project name must be a plain file name: ../escaped"},
        ErrorCase{"ProjectNameWithSeparator", {{"p.uv2", keilHead}}, {"out"}, {"p.uv2", "out", "-cp", "c", "-pn", "a\\b"},
                  "Project name must be a plain file name: a\\b"},
        ErrorCase{"NotAKeilProject", {{"p.uvoptx", "<?xml version=\"1.0\"?>\n<ProjectOpt/>\n"}}, {"out"},
                  {"p.uvoptx", "out", "-cp", "c"}, "Not a Keil project file: @\\p.uvoptx"}),
    [](const ::testing::TestParamInfo<ErrorCase>& info) { return info.param.name; });

TEST(Run, SiblingsOfOneNameKeepTheirOwnFoldersAndSettings)
{
    TemporaryFolder folder;
    writeFile(folder.path() / "all.mpw", "Project=a\\app.Uv2\r\nProject=b\\app.Uv2\r\nProject=c\\APP.uv2\r\n");
    for (const char* member : {"a/app.Uv2", "b/app.Uv2", "c/APP.uv2"})
        writeFile(folder.path() / member, "Target (T)\r\nTarget (t)\r\nGroup (G)\r\nOptions 1,0,0  // Target 'T'\r\n ADSCDEFN (FROM_"
                                              + std::string(1, member[0]) + ")\r\nEndOpt\r\n");
    fs::create_directory(folder.path() / "out");
    CapturedOutput output;
    ASSERT_EQ(runConverter({"all.mpw", "out", "-cp", "none"}), 0) << output.text();
    const std::vector<std::string> groups{"all", "app", "T", "G", "t (2)", "G", "app (2)", "T", "G", "t (2)", "G",
                                          "APP (3)", "T", "G", "t (2)", "G"};
    std::vector<std::string> printed;
    for (const std::string& line : output.lines())
        if (line.starts_with("  Creating Group - "))
            printed.push_back(line.substr(19));
    EXPECT_EQ(printed, groups);
    EXPECT_EQ(readFile(folder.path() / "out/all/app/T/person/T.p_a"), "-d \"FROM_a\"\r\n");
    EXPECT_EQ(readFile(folder.path() / "out/all/app (2)/T/person/T.p_a"), "-d \"FROM_b\"\r\n");
    EXPECT_EQ(readFile(folder.path() / "out/all/APP (3)/T/person/T.p_a"), "-d \"FROM_c\"\r\n");
}

TEST(Run, LimitsStopTheRunBeforeAnythingIsWritten)
{
    TemporaryFolder folder;
    writeFile(folder.path() / "p.uv2", "Target (A)\r\nTarget (B)\r\nGroup (G)\r\nFile 1,1,<a.c>\r\n"
                                       "Options 1,0,0  // Target 'A'\r\n ADSCDEFN (X)\r\nEndOpt\r\n");
    fs::create_directory(folder.path() / "out");
    const struct {
        std::size_t nodes;
        unsigned long long bytes;
        const char* line;
    } cases[] = {
        {4, 100000, "Project too large: more than 1000000 projects, targets and groups"},  // root, A, B, G, G
        // and 16 folders: p, A and B with their output and person folders, the Gs with their
        // output folders, and out\person before each of the three defaults
        {20, 100000, "Project too large: more than 1000000 projects, targets and groups"},
        {21, 100000, nullptr},
        {21, 2 * (folder.windowsPath().size() + 6) - 1, "Project too large: the output would exceed 256 MiB"},  // listed files
        {21, 1000, "Project too large: the output would exceed 256 MiB"},  // what the project file and personalities hold
    };
    for (const auto& c : cases) {
        Converter converter(folder.windowsPath() + "\\p.uv2", folder.windowsPath() + "\\out");
        converter.projectName = "p";
        converter.budget.nodeLimit = c.nodes;
        converter.budget.outputLimit = c.bytes;
        CapturedOutput output;
        EXPECT_EQ(converter.run(), c.line == nullptr ? 0 : 1) << c.nodes << " " << c.bytes;
        if (c.line != nullptr) {
            EXPECT_EQ(output.lines(), (std::vector<std::string>{"Could not open file: ", c.line}));
            EXPECT_TRUE(fs::is_empty(folder.path() / "out"));
        }
        fs::remove_all(folder.path() / "out");
        fs::create_directory(folder.path() / "out");
    }
}

TEST(Run, WorkspaceListingNoProjectWritesTheEmptyRoot)
{
    TemporaryFolder folder;
    writeFile(folder.path() / "FEB64.mpw", "");
    fs::create_directory(folder.path() / "out");
    CapturedOutput output;
    EXPECT_EQ(runConverter({"FEB64.mpw", "out", "-cp", "c"}), 0);
    EXPECT_EQ(output.lines().at(2), "  Creating Group - FEB64");
    const std::string prj = readFile(folder.path() / "out" / "FEB64.prj");
    EXPECT_NE(prj.find("FolderName=FEB64\r\nSourcePath=" + folder.windowsPath() + "\\out\\FEB64\\\r\n"), std::string::npos);
    EXPECT_EQ(prj.find("StartSubProjectMarker"), std::string::npos);
}

}  // namespace
