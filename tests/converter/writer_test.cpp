// Tests of the writer: the names it gives folders, and what a second run into the same
// destination keeps.
#include <gtest/gtest.h>

#include "budget.h"
#include "errors.h"
#include "platform.h"
#include "sub_project.h"
#include "test_support.h"
#include "writer/name_check.h"
#include "writer/output_session.h"

namespace fs = std::filesystem;

namespace {

TEST(FolderKeys, AreUniqueAcrossTheWholeTree)
{
    // Children of the root, each with its own children; the names after the walk, parents
    // first, children in order.
    using Children = std::vector<std::pair<std::string, std::vector<std::string>>>;
    const struct {
        const char* rule;
        Children children;
        std::vector<std::string> names;
    } cases[] = {
        {"siblings differing in case", {{"app", {}}, {"APP", {}}, {"app", {}}}, {"app", "APP (2)", "app (3)"}},
        {"separators read alike", {{"Rel/Flash", {}}, {"Rel\\Flash", {}}, {"Rel//Flash\\", {}}},
         {"Rel/Flash", "Rel\\Flash (2)", "Rel//Flash\\ (2)"}},
        {"a target's group and a target named after it", {{"T", {"G"}}, {"T/G", {"G"}}}, {"T", "G", "T/G (2)", "G"}},
        {"the number taken by another name", {{"a (2)", {}}, {"a", {}}, {"a", {}}}, {"a (2)", "a", "a (3)"}},
        {"an empty name shares its parent's folder", {{"", {"x"}}, {"x", {}}}, {"", "x", "x (2)"}},
        {"two empty siblings", {{"", {}}, {"", {}}}, {"", " (2)"}},
        {"a lone separator names its parent's folder", {{"", {}}, {"/", {}}}, {"", "/ (2)"}},
    };
    for (const auto& c : cases) {
        SubProject root("p", nullptr);
        for (const auto& [name, grandchildren] : c.children) {
            SubProject* child = root.addChild(name);
            for (const std::string& grandchild : grandchildren)
                child->addChild(grandchild);
        }
        makeFolderKeysUnique(root);
        std::vector<std::string> names;
        for (const SubProject* child : root.children) {
            names.push_back(child->name);
            for (const SubProject* grandchild : child->children)
                names.push_back(grandchild->name);
        }
        EXPECT_EQ(names, c.names) << c.rule;
        EXPECT_EQ(root.name, "p") << c.rule;
    }
}

TEST(WritePass, NeverFollowsALinkSwappedInAfterTheCheck)
{
#ifdef _WIN32
    GTEST_SKIP() << "links need privileges on Windows";
#else
    TemporaryFolder folder;
    fs::create_directories(folder.path() / "out" / "a");
    fs::create_directories(folder.path() / "outside");
    const std::string out = folder.windowsPath() + "\\out";
    Budget budget;
    OutputSession session(out, {}, budget);
    session.openProjectFile(out + "\\p.prj");
    session.ensureDirectory(out + "\\a\\b");
    session.writeFile(out + "\\a\\f.p_a", "x");
    // Another process puts a link where the check pass found the folder a.
    fs::remove(folder.path() / "out" / "a");
    fs::create_directory_symlink(folder.path() / "outside", folder.path() / "out" / "a");
    const platform::OutputAnchor anchor(out);
    EXPECT_THROW(session.result().carryOut({}), IOERROR);
    EXPECT_TRUE(fs::is_empty(folder.path() / "outside"));
    EXPECT_EQ(listTree(folder.path() / "out"), std::vector<std::string>{"a/"});
#endif
}

TEST(WindowsSafeName, MendsEachPartBetweenSeparators)
{
    const struct {
        const char* rule;
        std::string name;
        std::string safe;
    } cases[] = {
        {"a plain name stays", "Source Group 1", "Source Group 1"},
        {"component groups", "::CMSIS", "__CMSIS"},
        {"every refused character", "a<b>c:d\"e|f?g*h", "a_b_c_d_e_f_g_h"},
        {"control bytes, not DEL, not UTF-8", "t\tab\x01\x1f\x7f\xE7\x9B\xAE", "t_ab__\x7f\xE7\x9B\xAE"},
        {"byte 0 is left to the writer", std::string("A\0B", 3), std::string("A\0B", 3)},
        {"the trailing run of dots and blanks", "Release. .", "Release___"},
        {"dots and blanks inside stay", "v1.2 beta.c", "v1.2 beta.c"},
        {"a part of dots only", "...", "___"},
        {"a part of one dot", ".", "_"},
        {"a dot and a blank", ". ", "__"},
        {"a device", "Aux", "_Aux"},
        {"a device with an extension", "con.txt", "_con.txt"},
        {"a device with two extensions", "com1.a.b", "_com1.a.b"},
        {"the last numbered devices", "LPT9", "_LPT9"},
        {"devices in any letter case", "nUl", "_nUl"},
        {"number 0 names no device", "COM0", "COM0"},
        {"nor does LPT0", "lpt0.h", "lpt0.h"},
        {"nor two digits", "COM10", "COM10"},
        {"nor a longer word", "CONSOLE", "CONSOLE"},
        {"a device once its dot is mended is none", "AUX.", "AUX_"},
        {"nor with a blank mended", "PRN ", "PRN_"},
        {"separators stay, each part on its own", "Rel/Con\\a:b.", "Rel/_Con\\a_b_"},
        {"empty parts stay empty", "a\\\\b/", "a\\\\b/"},
        {"an empty name stays empty", "", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(windowsSafeName(c.name), c.safe) << c.rule;
}

const char* const withDefines = "Target (T)\r\nGroup (G)\r\nFile 1,1,<g.c>\r\n"
                                "Options 1,0,0  // Target 'T'\r\n ADSCDEFN (ONE)\r\nEndOpt\r\n";
const char* const withoutDefines = "Target (T)\r\nGroup (G)\r\nFile 1,1,<g.c>\r\n";

class SecondRun : public ::testing::Test {
protected:
    SecondRun()
    {
        writeFile(folder.path() / "p.uv2", withDefines);
        writeFile(folder.path() / "first.p_a", "first base\n");
        writeFile(folder.path() / "second.p_a", "second base\n");
        writeFile(folder.path() / "c.p_c", "-i C:\\inc\n");
        fs::create_directory(folder.path() / "out");
    }

    int run(const char* base)
    {
        CapturedOutput output;
        return runConverter({"p.uv2", "out", "-cp", "c.p_c", "-ap", base});
    }

    std::string read(const char* relative) { return readFile(folder.path() / "out" / relative); }

    TemporaryFolder folder;
};

TEST_F(SecondRun, KeepsTheFallbackAndRewritesGeneratedFiles)
{
    ASSERT_EQ(run("first.p_a"), 0);
    const std::string project = read("p.prj");
    writeFile(folder.path() / "out" / "person" / "p.p_s", "left over");
    writeFile(folder.path() / "out" / "mine.txt", "user data");

    ASSERT_EQ(run("second.p_a"), 0);
    EXPECT_EQ(read("p.prj"), project);
    EXPECT_EQ(read("person/p.p_a"), "first base\r\n") << "the fallback is only ever created";
    EXPECT_EQ(read("p/T/person/T.p_a"), "-d \"ONE\"\r\nsecond base\r\n");
    EXPECT_EQ(read("person/p.p_s"), "left over") << "the empty default is only ever created";
    EXPECT_EQ(read("mine.txt"), "user data");
}

TEST_F(SecondRun, LeftoversAreNeverReferredTo)
{
    ASSERT_EQ(run("first.p_a"), 0);
    writeFile(folder.path() / "p.uv2", withoutDefines);
    ASSERT_EQ(run("first.p_a"), 0);

    // The target has no settings now: its group refers to the fallback, never to the file the
    // first run left.
    const std::string project = read("p.prj");
    const std::string target = folder.windowsPath() + "\\out\\person\\p.p_a";
    EXPECT_NE(project.find("FolderName=G\r\nSourcePath=" + folder.windowsPath() + "\\out\\p\\T\\G\\\r\n"
                           "OutputPath=" + folder.windowsPath() + "\\out\\p\\T\\G\\output\\\r\n"
                           "SubsPers=" + folder.windowsPath() + "\\out\\person\\p.p_s\r\n"
                           "AnalPers=" + target + "\r\n"),
              std::string::npos)
        << project;
    EXPECT_EQ(read("p/T/person/T.p_a"), "-d \"ONE\"\r\nfirst base\r\n") << "left as the first run wrote it";
}

TEST(GivenPersonalities, AreReferredToAndNeverCopied)
{
    TemporaryFolder folder;
    writeFile(folder.path() / "p.uv2", "Target (T)\r\n");
    writeFile(folder.path() / "m.p_s", "message");
    writeFile(folder.path() / "c.p_c", "compiler");
    fs::create_directory(folder.path() / "out");
    CapturedOutput output;
    ASSERT_EQ(runConverter({"p.uv2", "out", "-cp", "c.p_c", "-mp", "m.p_s", "-pn", "name"}), 0);
    const std::string project = readFile(folder.path() / "out" / "name.prj");
    const std::string at = folder.windowsPath();
    // Both blocks name the given files; no default of either kind is made.
    for (const std::string& line : {"SubsPers=" + at + "\\m.p_s\r\n", "CompPers=" + at + "\\c.p_c\r\n"}) {
        const std::size_t first = project.find(line);
        ASSERT_NE(first, std::string::npos) << line;
        EXPECT_NE(project.find(line, first + 1), std::string::npos) << line;
    }
    EXPECT_EQ(listTree(folder.path() / "out" / "person"), std::vector<std::string>{"name.p_a"});
    EXPECT_EQ(readFile(folder.path() / "m.p_s"), "message");
}

TEST(Extensions, FilterTheFilesOfTheProject)
{
    TemporaryFolder folder;
    writeFile(folder.path() / "p.uv2", "Target (T)\nGroup (G)\nFile 1,1,<a.c>\nFile 1,2,<b.A51>\nFile 1,5,<c.h>\n");
    fs::create_directory(folder.path() / "out");
    CapturedOutput output;
    ASSERT_EQ(runConverter({"p.uv2", "out", "-cp", "none", "-ext", "c", "-ext", "a51"}), 0);
    const std::string project = readFile(folder.path() / "out" / "p.prj");
    EXPECT_NE(project.find("\\a.c\r\n" + folder.windowsPath() + "\\b.A51\r\nEndContainedFilesMarker"), std::string::npos);
    EXPECT_EQ(project.find("c.h"), std::string::npos);
}

}  // namespace
