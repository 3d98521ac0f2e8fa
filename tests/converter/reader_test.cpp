// Tests of the text Keil project reader: line classification, names, files, paths, filter.
#include "reader/uv_project_reader.h"

#include <gtest/gtest.h>

#include "errors.h"
#include "reader/keil_file.h"
#include "reader/path_completion.h"
#include "text_util.h"
#include "test_support.h"

namespace {

// A tree for C:\work\demo.uv2 whose reader fills the root.
class Reader : public ::testing::Test {
protected:
    SubProject& parse(const std::string& text)
    {
        EXPECT_TRUE(parseText(setup, text) || text.find("Target (") == std::string::npos);
        return setup.root;
    }

    std::vector<std::string> targetNames() const
    {
        std::vector<std::string> names;
        for (const SubProject* target : setup.root.children)
            names.push_back(target->name);
        return names;
    }

    ReadingSetup setup;
};

TEST_F(Reader, ClassifiesLinesInOrder)
{
    SubProject& root = parse("Target (A) Group (G)\n"        // a target only
                             "Group (G1)\n"
                             "File 1,1,<x.c> Options 1\n"     // File and Options: skipped
                             "Options File 1\n"               // likewise
                             "File 1,1,<y.c>\n"
                             "Targets (none)\n"
                             "Groups (none)\n");
    ASSERT_EQ(targetNames(), std::vector<std::string>{"A"});
    ASSERT_EQ(root.children[0]->children.size(), 1u);
    EXPECT_EQ(root.children[0]->children[0]->listedFiles(), std::vector<std::string>{"C:\\work\\y.c"});
}

TEST_F(Reader, CutsNamesBetweenTheFirstParentheses)
{
    parse("Target (A (rev 2)) x\n"
          "Target (Board B), 0x0004 // Tools: 'ARM-ADS'\n"
          "Target (No close\n"
          "x) Target (Close before open\n"
          "Target ()\n"
          "Target (\xC4\xBF\xB1\xEA 1), 0x0004\n"
          "Target (Board B)\n");
    EXPECT_EQ(targetNames(), (std::vector<std::string>{"A (rev 2", "Board B", "No close", "Close before open", "",
                                                       "\xC4\xBF\xB1\xEA 1", "Board B"}));
}

TEST_F(Reader, GroupsFanOutToTheTargetsThatExist)
{
    SubProject& root = parse("Group (Early)\n"
                             "Target (Board A)\n"
                             "Target (Board B)\n"
                             "Group (Startup)\n"
                             "Group (App)\n"
                             "Target (Late)\n"
                             "File 2,1,<.\\src\\main.c><main.c>\n"
                             "File 1,2,<..\\lib\\boot.a51><boot.a51>\n"
                             "File 2,1,<D:\\ext\\util.c><util.c>\n"
                             "File 2,1,<.\\src\\main.c><main.c>\n");
    ASSERT_EQ(targetNames(), (std::vector<std::string>{"Board A", "Board B", "Late"}));
    for (int t = 0; t < 2; ++t) {
        const SubProject& target = *root.children[t];
        ASSERT_EQ(target.children.size(), 2u);
        EXPECT_EQ(target.children[0]->name, "Startup");
        EXPECT_EQ(target.children[1]->name, "App");
        EXPECT_EQ(target.children[0]->listedFiles(), std::vector<std::string>{"C:\\work\\..\\lib\\boot.a51"});
        EXPECT_EQ(target.children[1]->listedFiles(), (std::vector<std::string>{"C:\\work\\src\\main.c", "D:\\ext\\util.c",
                                                                       "C:\\work\\src\\main.c"}));
        EXPECT_NE(target.children[0], root.children[1 - t]->children[0]) << "each target has its own nodes";
    }
    // A target read after the groups has none, and file lines leave it alone.
    EXPECT_TRUE(root.children[2]->children.empty());
}

TEST_F(Reader, GroupNumbersAreReadLikeAtoi)
{
    SubProject& root = parse("Target (T)\nGroup (One)\nGroup (Two)\n"
                             "File  +2,1,<a.c>\n"
                             "File 1x,1,<b.c>\n"
                             "File 2\n"
                             "File 0,1,<zero.c>\n"
                             "File -1,1,<negative.c>\n"
                             "File 3,1,<beyond.c>\n"
                             "File x,1,<nodigits.c>\n"
                             "File 99999999999999999999999,1,<huge.c>\n"
                             "File 9223372036854775807,1,<largest.c>\n"
                             "File 9223372036854775808,1,<beyond_largest.c>\n"
                             "File -9223372036854775808,1,<smallest.c>\n"
                             "a,File 2\n");
    EXPECT_EQ(root.children[0]->children[0]->listedFiles(), std::vector<std::string>{"C:\\work\\b.c"});
    // "File 2" has no "<": its path starts at the line's beginning; so does the last line's,
    // whose "," stands before "File ", so its number runs to the end of the line.
    EXPECT_EQ(root.children[0]->children[1]->listedFiles(),
              (std::vector<std::string>{"C:\\work\\a.c", "C:\\work\\File 2", "C:\\work\\a,File 2"}));
}

TEST_F(Reader, FilePathsWithoutBrackets)
{
    SubProject& root = parse("Target (T)\nGroup (G)\n"
                             "File 1,1,<open.c\n"
                             "File 1,1,a.c>b.c\n"
                             "File 1,1,>x<y.c\n");
    EXPECT_EQ(root.children[0]->children[0]->listedFiles(),
              (std::vector<std::string>{"C:\\work\\open.c", "C:\\work\\File 1,1,a.c", "C:\\work\\y.c"}));
}

TEST(CompleteFilePath, JoinsWithOneSeparator)
{
    struct Case {
        const char* path;
        const char* folder;
        const char* expected;
    } cases[] = {
        {".\\src\\main.c", "C:\\work\\", "C:\\work\\src\\main.c"},
        {"./src/main.c", "C:\\work\\", "C:\\work\\src\\main.c"},
        {"src\\x.c", "C:\\work\\", "C:\\work\\src\\x.c"},
        {"..\\lib\\boot.a51", "C:\\work\\", "C:\\work\\..\\lib\\boot.a51"},
        {"../../Source/croutine.c", "C:\\work\\", "C:\\work\\..\\..\\Source\\croutine.c"},
        {".hidden\\x.c", "C:\\work\\", "C:\\work\\.hidden\\x.c"},
        {"D:\\ext\\util.c", "C:\\work\\", "D:\\ext\\util.c"},
        {"C:..\\rel.c", "C:\\work\\", "C:..\\rel.c"},
        {"\\midas\\x.c", "C:\\work\\", "C:\\midas\\x.c"},
        {"/midas/x.c", "C:\\work\\", "C:\\midas\\x.c"},
        {"\\midas\\x.c", "\\\\?\\D:\\work\\", "\\\\?\\D:\\midas\\x.c"},
        {"D:/ext/util.c", "C:\\work\\", "D:\\ext\\util.c"},
        {"\\midas\\x.c", "\\home\\me\\", "\\midas\\x.c"},
        {".\\a.c", "C:\\ws\\.\\a\\", "C:\\ws\\.\\a\\a.c"},
        {"scs_2001_pump .c", "C:\\work\\", "C:\\work\\scs_2001_pump .c"},
        {"", "C:\\work\\", "C:\\work\\"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(completeFilePath(c.path, c.folder), c.expected) << c.path;
}

TEST_F(Reader, FilePathsFollowTheMembersOwnFolder)
{
    SubProject* member = setup.root.addChild("m");
    member->path = "C:\\work\\sub\\";
    parseText(setup, "Target (T)\nGroup (G)\nFile 1,1,<.\\m.c>\n", member);
    EXPECT_EQ(member->children[0]->children[0]->listedFiles(), std::vector<std::string>{"C:\\work\\sub\\m.c"});
}

TEST_F(Reader, ExtensionFilterIgnoresLetterCaseOnly)
{
    struct Case {
        std::list<std::string> extensions;
        const char* path;
        bool accepted;
    } cases[] = {
        {{}, "C:\\x.anything", true},
        {{"c", "h"}, "C:\\x.C", true},
        {{"c", "h"}, "C:\\x.c", true},
        {{"c", "h"}, "C:\\x.H", true},
        {{"c", "h"}, "C:\\x.a51", false},
        {{"c", "h"}, "C:\\x.cc", false},
        {{".c"}, "C:\\x.c", false},
        {{""}, "C:\\x.", true},
        {{""}, "C:\\x.c", false},
        {{"c"}, "C:\\my.dir\\noextension", false},
        {{"dir\\noextension"}, "C:\\my.dir\\noextension", true},
        {{"CPP"}, "C:\\x.cpp", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(acceptsFile(c.path, c.extensions), c.accepted) << c.path;
    }
}

TEST_F(Reader, FilteredFilesAreLeftOut)
{
    setup.extensions = {"c"};
    SubProject& root = parse("Target (T)\nGroup (G)\nFile 1,1,<a.c>\nFile 1,2,<s.a51>\nFile 1,5,<h.H>\n");
    EXPECT_EQ(root.children[0]->children[0]->listedFiles(), std::vector<std::string>{"C:\\work\\a.c"});
}

TEST_F(Reader, EmptyOrUnknownTextMakesNoNodes)
{
    EXPECT_TRUE(parse("").children.empty());
    EXPECT_TRUE(parse("\n\r\n### uVision2 Project\nEndOpt\n\x01\x02\xff garbage\n").children.empty());
}

TEST(ToUpper, ChangesAsciiLettersOnly)
{
    EXPECT_EQ(toUpper("abz AZ 09 .c_\xe4\xb5"), "ABZ AZ 09 .C_\xe4\xb5");
}

TEST(KeilFile, ReadsOneFileAfterAnother)
{
    TemporaryFolder folder;
    writeFile(folder.path() / "a.uv2", "Target (A)\r\nGroup (G)\r\nFile 1,1,<a.c>\r\n");
    writeFile(folder.path() / "b.uv2", "Target (B)\nGroup (H)\nFile 1,1,<b.c>");  // no final line feed
    ReadingSetup setup("a");
    SubProject* a = setup.root.addChild("a");
    SubProject* b = setup.root.addChild("b");
    a->path = b->path = "C:\\p\\";
    for (SubProject* node : {a, b})
        KeilFile::load(folder.windowsPath() + "\\" + node->name + ".uv2").readProject(*node, setup.context());
    EXPECT_EQ(a->children.at(0)->children.at(0)->listedFiles(), std::vector<std::string>{"C:\\p\\a.c"});
    EXPECT_EQ(b->children.at(0)->children.at(0)->listedFiles(), std::vector<std::string>{"C:\\p\\b.c"});

    // A file larger than the first block read is parsed from the disk a block at a time: lines
    // cut by a block's end, a CR LF cut between two, a line longer than two blocks, and files
    // that must be held whole (a workspace, a first block of blank lines) read as in memory.
    std::string files = "Target (T)\r\nTarget (U)\r\nGroup (G)\r\n";
    // The first file's LF starts the second block.
    files += "File 1,1,<" + std::string(256 * 1024 - 1 - files.size() - 11, 'p') + ">\r\n";
    for (int i = 0; i < 30000; ++i)
        files += "File 1,1,<src\\f" + std::to_string(i) + ".c>\r\n";
    files += "Options 2,1,7  // File 'f5.c'\r\n IncBld=0\r\nEndOpt\r\nOptions 1,1,0\r\n IncBld=0\r\nEndOpt\r\n";
    std::string defines = "Target (T)\nOptions 1,0,0  // Target 'T'\n ADSCDEFN (";
    for (int i = 0; i < 60000; ++i)
        defines += "DEFINE_" + std::to_string(i) + "=" + std::to_string(i) + ",";
    defines += ")\nEndOpt\nGroup (G)\nFile 1,1,<last.c\r";  // no ">": the path runs to the end
    std::string workspace = "[WORKSPACE]\r\n" + std::string(300000, ';') + "\r\nProject=m\\m.uv2\r\n";
    std::string blanks = std::string(300000, '\n') + "Target (T)\nGroup (G)\nFile 1,1,<b.c>";
    for (const std::string* content : {&files, &defines, &workspace, &blanks}) {
        ASSERT_GT(content->size(), 256u * 1024);  // more than the first block
        writeFile(folder.path() / "large.uv2", *content);
        KeilFile fromDisk = KeilFile::load(folder.windowsPath() + "\\large.uv2");
        KeilFile inMemory(folder.windowsPath() + "\\large.uv2", *content);
        ASSERT_EQ(fromDisk.kind(), inMemory.kind());
        if (fromDisk.isWorkspace()) {
            EXPECT_EQ(fromDisk.members(), inMemory.members());
            EXPECT_EQ(fromDisk.members().size(), 1u);
            continue;
        }
        ReadingSetup read("r", "C:\\p\\");
        ReadingSetup parsed("r", "C:\\p\\");
        fromDisk.readProject(read.root, read.context());
        inMemory.readProject(parsed.root, parsed.context());
        ASSERT_EQ(read.root.children.size(), parsed.root.children.size());
        for (std::size_t t = 0; t < read.root.children.size(); ++t) {
            const SubProject& target = *read.root.children[t];
            EXPECT_EQ(target.settings.allDefines(), parsed.root.children[t]->settings.allDefines());
            ASSERT_EQ(target.children.size(), 1u);
            EXPECT_EQ(target.children[0]->listedFiles(), parsed.root.children[t]->children[0]->listedFiles());
        }
        const std::vector<std::string> listed = read.root.children.back()->children[0]->listedFiles();
        ASSERT_FALSE(listed.empty());
        EXPECT_EQ(listed.back(), content == &files     ? "C:\\p\\src\\f29999.c"
                                 : content == &defines ? "C:\\p\\last.c\r"
                                                       : "C:\\p\\b.c");
        if (content == &files) {
            // T leaves its group out; U leaves out the line's seventh file.
            EXPECT_TRUE(read.root.children[0]->children[0]->listedFiles().empty());
            EXPECT_EQ(listed.size(), 30000u);
            EXPECT_EQ(listed[6], "C:\\p\\src\\f6.c");
        }
    }

    try {
        KeilFile::load(folder.windowsPath() + "\\missing.uv2");
        ADD_FAILURE() << "a missing file loads";
    } catch (const AsciiReaderError& error) {
        EXPECT_EQ(error.code, AsciiReaderError::CannotOpen);
        EXPECT_EQ(error.path, folder.windowsPath() + "\\missing.uv2");
    }

    // An XML file that cannot fit beside what the run keeps is refused.
    writeFile(folder.path() / "large.uvprojx", "<Project>" + std::string(300000, ' ') + "</Project>");
    const std::string xml = folder.windowsPath() + "\\large.uvprojx";
    EXPECT_EQ(KeilFile::load(xml, maximumXmlBytes - (1u << 20)).kind(), KeilFile::XmlProject);
    try {
        KeilFile::load(xml, maximumXmlBytes - 100000);
        ADD_FAILURE() << "an XML file loads beside more than its room";
    } catch (const FileTooLarge& error) {
        EXPECT_EQ(error.path, xml);
    }
}

TEST(KeilFile, KnowsWorkspacesByNameOrFirstLineAndRefusesWhatIsNoProject)
{
    const bool refused = true;
    struct Case {
        const char* path;
        const char* content;
        KeilFile::Kind kind;
        bool refusedAsProject;
    } cases[] = {
        {"C:\\w\\p.uv2", "### uVision2 Project, (C) Keil Software\r\n", KeilFile::TextProject, false},
        {"C:\\w\\p.uv2", "\r\nTarget (T)\r\n", KeilFile::TextProject, false},
        {"C:\\w\\UPPER.MPW", "", KeilFile::TextWorkspace, refused},
        {"C:\\w\\all.Mpw", "  Project=\"a.uv2\"\n", KeilFile::TextWorkspace, refused},
        {"C:\\w\\listing.txt", "\r\n \t\r\n  [Workspace] \r\n  Project=a.uv2\r\n", KeilFile::TextWorkspace, refused},
        {"C:\\w\\listing.txt", "MPW_NAME=x\r\n[WORKSPACE]\r\n", KeilFile::TextProject, refused},
        {"C:\\old.mpw.bak\\p.uv2", "Target (T)\r\n", KeilFile::TextProject, false},
        {"C:\\w\\p.mpw2", "", KeilFile::TextProject, refused},
        {"C:\\w\\notes.txt", "Options 1,0,0  // Target 'T'\r\nFile 1,1,<a.c>\r\n", KeilFile::TextProject, refused},
        {"C:\\w\\p.uvprojx", "<?xml version=\"1.0\"?>\n<Project/>", KeilFile::XmlProject, false},
        {"C:\\w\\p.uvoptx", "<?xml version=\"1.0\"?>\n<ProjectOpt/>", KeilFile::OtherXml, refused},
        {"C:\\w\\p.uvguix.me", "<ProjectGui/>", KeilFile::OtherXml, refused},
        {"C:\\w\\w.uvmpw", "<ProjectWorkspace/>", KeilFile::XmlWorkspace, refused},
    };
    for (const Case& c : cases) {
        KeilFile file(c.path, c.content);
        EXPECT_EQ(file.kind(), c.kind) << c.path << " " << c.content;
        ReadingSetup setup("p", "");
        try {
            file.readProject(setup.root, setup.context());
            EXPECT_FALSE(c.refusedAsProject) << c.path << " " << c.content;
        } catch (const AsciiReaderError& error) {
            EXPECT_TRUE(c.refusedAsProject) << c.path << " " << c.content;
            EXPECT_EQ(error.code, AsciiReaderError::NotKeilProject);
            EXPECT_EQ(error.path, c.path);
        }
    }
}

}  // namespace
