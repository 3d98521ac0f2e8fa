// Nothing is lost: checksums of the destination before and after a run show that a failed run
// writes nothing, and files the run does not own stay as they were.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "errors.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

// Every entry below root: folders as "folder", files as a 64-bit FNV-1a checksum of their bytes.
std::map<std::string, std::string> checksums(const fs::path& root)
{
    std::map<std::string, std::string> sums;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string relative = entry.path().lexically_relative(root).generic_string();
        if (entry.is_directory()) {
            sums[relative] = "folder";
            continue;
        }
        std::uint64_t hash = 14695981039346656037ull;
        for (const char c : readFile(entry.path())) {
            hash ^= static_cast<unsigned char>(c);
            hash *= 1099511628211ull;
        }
        sums[relative] = std::to_string(hash);
    }
    return sums;
}

class NothingLost : public ::testing::Test {
protected:
    void SetUp() override
    {
        writeFile(work.path() / "c.p_c", "-i C:\\Keil\\INC\n");
        writeFile(work.path() / "base.p_a", "-w2\n");
        // A destination that already holds a former run's output and files of the user's own.
        fs::create_directory(destination());
        writeFile(destination() / "notes.txt", "the user's notes\r\n");
        writeFile(destination() / "p.prj", "an older project file\r\n");
        writeFile(destination() / "person" / "p.p_a", "the fallback as the first run made it\r\n");
        writeFile(destination() / "person" / "mine.p_a", "-d \"MINE\"\r\n");
        writeFile(destination() / "p" / "readme.txt", "read me\n");
        writeFile(destination() / "p" / "T" / "person" / "custom.p_a", "custom\n");
        writeFile(destination() / "p" / "T" / "person" / "T.p_a", "an older generated personality\r\n");
    }

    fs::path destination() const { return work.path() / "out"; }
    std::string windows(const std::string& relative) const { return work.windowsPath() + "\\" + relative; }

    // Runs on p.uv2 holding text; the caller captures the output.
    int convertProject(const std::string& text)
    {
        writeFile(work.path() / "p.uv2", text);
        return runConverter({"p.uv2", "out", "-cp", "c.p_c", "-ap", "base.p_a"});
    }

    TemporaryFolder work;
};

TEST_F(NothingLost, FailedReadWritesNothing)
{
    const std::string goodTarget = "Target (T)\nGroup (G)\nFile 1,1,<a.c>\n";
    const struct {
        const char* name;
        std::string source;  // relative to the working folder
        std::string text;
    } cases[] = {
        {"end of file inside an option block", "p.uv2",
         goodTarget + "Options 1,0,0  // Target 'T'\n ADSCDEFN (X=1)\n ADSCINCD (.\\inc)\n"},
        {"XML that does not parse", "p.uv2", "<?xml version=\"1.0\"?><Project><Targets><Target>"},
        {"workspace with a missing member", "all.mpw", "Project=p.uv2\r\nProject=gone.uv2\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(work.path() / "p.uv2", goodTarget);
        writeFile(work.path() / c.source, c.text);
        const auto before = checksums(destination());
        CapturedOutput output;
        EXPECT_EQ(runConverter({c.source, "out", "-cp", "c.p_c", "-ap", "base.p_a"}), 1);
        EXPECT_EQ(output.lines().size(), 1u) << output.text();
        EXPECT_EQ(checksums(destination()), before);
    }
}

TEST_F(NothingLost, FailedWriteLeavesTheEarlierProject)
{
    // The second target's name is too long for a folder: the run finds it before it writes,
    // and the project of the earlier run stays whole.
    const std::string longName(300, 'x');
    const auto before = checksums(destination());
    CapturedOutput output;
    EXPECT_EQ(convertProject("Target (A)\nTarget (" + longName + ")\n"), 1);
    EXPECT_EQ(output.lines(), std::vector<std::string>{message::couldNotCreateDirectory + windows("out\\p\\") + longName});
    EXPECT_EQ(checksums(destination()), before);
}

TEST_F(NothingLost, FilesTheRunDoesNotOwnStayByteIdentical)
{
    const std::string project = "Target (T)\nGroup (G)\nFile 1,1,<a.c>\n"
                                "Options 1,0,0  // Target 'T'\n ADSCDEFN (X=1)\nEndOpt\n";
    // What the run owns here: the project file, the empty message personality and T's own
    // generated personality. The compiler personality was given, and the fallback exists.
    const std::set<std::string> owned{"p.prj", "person/p.p_s", "p/T/person/T.p_a"};
    for (int run = 1; run <= 2; ++run) {
        SCOPED_TRACE(run);
        const auto before = checksums(destination());
        CapturedOutput output;
        EXPECT_EQ(convertProject(project), 0) << output.text();
        const auto after = checksums(destination());
        for (const auto& [entry, sum] : before) {
            if (!owned.contains(entry)) {
                EXPECT_EQ(after.at(entry), sum) << entry;
            }
        }
        EXPECT_EQ(readFile(destination() / "p" / "T" / "person" / "T.p_a"),
                  run == 1 ? "-d \"X=1\"\r\n-w2\r\n" : "-d \"X=1\"\r\n-w3\r\n");
        // A second base would not change the fallback either.
        writeFile(work.path() / "base.p_a", "-w3\n");
    }
}

TEST_F(NothingLost, NamesWithNulBytesTouchNoOtherFile)
{
    // The system would read "readme.txt\0" as readme.txt, the user's file in the root's folder.
    const auto before = checksums(destination());
    CapturedOutput output;
    const std::string name("readme.txt\0", 11);
    const std::string project = "Target (" + name + ")\nOptions 1,0,0  // Target '" + name + "'\n ADSCDEFN (X)\nEndOpt\n";
    EXPECT_EQ(convertProject(project), 1);
    EXPECT_EQ(output.lines().back(), message::couldNotCreateDirectory + windows("out\\p\\") + name);
    const auto after = checksums(destination());
    EXPECT_EQ(after.at("p/readme.txt"), before.at("p/readme.txt"));
    EXPECT_EQ(after.at("notes.txt"), before.at("notes.txt"));
}

TEST_F(NothingLost, NamesThatClimbOutOfTheDestinationAreRefused)
{
    // A target named ..\..\victim would put its folder and its generated personality beside the
    // destination, over a file of that name. The tree is refused before anything is written.
    writeFile(work.path() / "victim" / "person" / "victim.p_a", "someone else's file\n");
    const auto before = checksums(work.path());
    for (const std::string name : {"..\\..\\victim", "../../victim", "T\\..", "..", "G/../../x"}) {
        SCOPED_TRACE(name);
        CapturedOutput output;
        const std::string project = "Target (" + name + ")\nOptions 1,0,0  // Target '" + name + "'\n ADSCDEFN (X)\nEndOpt\n";
        EXPECT_EQ(convertProject(project), 1);
        EXPECT_EQ(output.lines(), (std::vector<std::string>{message::nameLeavesDestination + name}));
        auto after = checksums(work.path());
        after.erase("p.uv2");  // the input of this case
        auto expected = before;
        expected.erase("p.uv2");
        EXPECT_EQ(after, expected);
    }

    // A group's name is checked as well, below its target's folder.
    CapturedOutput output;
    EXPECT_EQ(convertProject("Target (T)\nGroup (..\\..\\..\\victim)\n"), 1);
    EXPECT_EQ(output.lines(),
              (std::vector<std::string>{message::nameLeavesDestination + std::string("..\\..\\..\\victim")}));
    EXPECT_EQ(readFile(work.path() / "victim" / "person" / "victim.p_a"), "someone else's file\n");
}

}  // namespace
