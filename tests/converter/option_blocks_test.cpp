// Tests of option blocks: target lookup, keywords, define lists, include lists, EOF.
#include <gtest/gtest.h>

#include "errors.h"
#include "reader/define_list.h"
#include "reader/path_completion.h"
#include "test_support.h"

void PrintTo(const DefineValue& value, std::ostream* out)
{
    *out << (value.assigned ? "=\"" : "\"") << value.text << "\"";
}

namespace {

using Defines = std::map<std::string, DefineValue>;
using Folders = std::set<std::string>;

DefineValue plain(std::string text = "") { return {std::move(text), false}; }
DefineValue assigned(std::string text = "") { return {std::move(text), true}; }

class Options : public ::testing::Test {
protected:
    std::string parse(const std::string& text, const std::list<std::string>& extensions = {})
    {
        setup.extensions = extensions;
        CapturedOutput output;
        parseText(setup, text);
        return output.text();
    }

    SubProject& target(std::size_t i) { return *setup.root.children.at(i); }

    ReadingSetup setup;
};

const std::string noTarget =
    "Couldnt find target for options, or options apply to a group which is currently not supported\n";

TEST_F(Options, FillTheNamedTargetTheLastOfItsName)
{
    const std::string output = parse("Target (Main)\nTarget (Main)\nTarget (Other)\n"
                                     "Options 1,0,0  // Target 'Main'\n"
                                     " ADSCDEFN (A)\n"
                                     " ADSCINCD (inc)\n"
                                     "EndOpt\n");
    EXPECT_EQ(output, "");
    EXPECT_TRUE(target(0).settings.defines.empty());
    EXPECT_EQ(target(1).settings.defines, (Defines{{"A", plain()}}));
    EXPECT_EQ(target(1).settings.includePaths, (Folders{"C:\\work\\inc"}));
    EXPECT_TRUE(target(2).settings.defines.empty());
}

TEST_F(Options, UnknownTargetsLeaveTheirLinesToTheLineLoop)
{
    const std::string output = parse("Target (Main)\nGroup (G)\n"
                                     "Options 1,0,0  // Target 'Missing'\n"
                                     " ADSCDEFN (LOST)\n"
                                     " Target (FromBlock)\n"
                                     "EndOpt\n"
                                     "Options 1,5,0  // Group 'Beyond'\n"
                                     " ADSCDEFN (GROUPDEF)\n"
                                     "EndOpt\n"
                                     "Options 1,1,x  // Group 'G'\n"
                                     "EndOpt\n"
                                     "Options 1,1,1  // File 'x.c'\n"
                                     " ADSCDEFN (FILEDEF)\n"
                                     "EndOpt\n");
    // A group block that names no group gets the message too; a file block that names no
    // file line read so far is skipped without one.
    EXPECT_EQ(output, noTarget + noTarget + noTarget);
    EXPECT_EQ(setup.root.children.size(), 2u);
    EXPECT_EQ(target(1).name, "FromBlock");
    for (const SubProject* node : {&target(0), &target(1), target(0).children[0]})
        EXPECT_TRUE(node->settings.empty()) << node->name;
}

TEST_F(Options, GroupAndFileBlocksByPosition)
{
    const std::string output = parse("Target (A)\nTarget (B)\n"
                                     "Group (Startup)\nGroup (Drivers)\n"
                                     "File 1,2,<start_a.s>\n"        // 1
                                     "File 1,2,<start_b.s>\n"        // 2
                                     "File 2,1,<uart.c>\n"           // 3
                                     "File 2,1,<spi.c>\n"            // 4
                                     "File 2,1,<readme.txt>\n"       // 5: the extension list rejects it
                                     "File 2,1,<C:\\work\\spi.c>\n"   // 6: spi.c again, written whole
                                     "File 7,1,<lost.c>\n"          // 7: a group no target has
                                     "Options 1,0,0  // Target 'A'\n ADSCDEFN (BOARD=1 SHARED=A)\n ADSCINCD (inc)\nEndOpt\n"
                                     "Options 1,1,2  // File 'start_b.s'\n IncBld=0\nEndOpt\n"
                                     "Options 2,1,1  // File 'start_a.s'\n IncBld=0\nEndOpt\n"
                                     "Options 1,2,0  // Group 'Drivers'\n IncBld=2\n ADSCDEFN (SHARED=G DRV)\n"
                                     " KCAINC (drv;inc)\nEndOpt\n"
                                     "Options 2,2,0  // Group 'Drivers'\n IncBld=0\nEndOpt\n"
                                     "Options 2,2,3  // File 'uart.c'\n IncBld=1\nEndOpt\n"
                                     "Options 2,2,3  // File 'uart.c'\n IncBld=2\nEndOpt\n"
                                     "Options 1,2,7  // File 'lost.c'\n ADSCDEFN (LOST)\nEndOpt\n"
                                     "Options 2,9,4  // File 'spi.c'\n IncBld=1\n ACDEFN (SPI_FAST)\nEndOpt\n"
                                     "Options 1,2,4  // File 'spi.c'\n ADSCINCD (spi)\nEndOpt\n"
                                     "Options 1,2,5  // File 'readme.txt'\n ADSCDEFN (DOC)\nEndOpt\n"
                                     "Options 1,2,6  // File 'spi.c'\n ADSCDEFN (AGAIN)\nEndOpt\n"
                                     "Options 1,2,3  // File 'uart.c'\n ADSCDEFN ( , =X)\n ADSCINCD ( ; )\nEndOpt\n",
                                     {"c", "s"});
    // Each target leaves the other board's start-up file out.
    EXPECT_EQ(target(0).children[0]->listedFiles(), std::vector<std::string>{"C:\\work\\start_a.s"});
    EXPECT_EQ(target(1).children[0]->listedFiles(), std::vector<std::string>{"C:\\work\\start_b.s"});
    // B leaves its Drivers group out, but keeps spi.c, whose block says so; the group number
    // of a file block is not checked. uart.c's last block gives it back to its group.
    EXPECT_EQ(target(0).children[1]->listedFiles(),
              (std::vector<std::string>{"C:\\work\\uart.c", "C:\\work\\spi.c", "C:\\work\\spi.c"}));
    EXPECT_EQ(target(1).children[1]->listedFiles(), std::vector<std::string>{"C:\\work\\spi.c"});
    // A's Drivers group: the target's settings under its own, its own define winning.
    EXPECT_EQ(target(0).children[1]->settings.allDefines(),
              (Defines{{"BOARD", assigned("1")}, {"DRV", plain()}, {"SHARED", assigned("G")}}));
    EXPECT_EQ(target(0).children[1]->settings.allIncludeFolders(), (Folders{"C:\\work\\drv", "C:\\work\\inc"}));
    EXPECT_TRUE(target(0).children[0]->settings.empty());
    EXPECT_TRUE(target(1).children[1]->settings.empty());
    // Settings of single files are named once each, however the path is written; blank ones,
    // rejected files and files no target lists are not.
    EXPECT_EQ(output, "File options not carried over: C:\\work\\spi.c\n");
}

// File blocks find their line among thousands, read long before them, and a path longer
// than the blocks the lines are kept in while the project is read.
TEST_F(Options, FileBlocksFindLinesFarBack)
{
    const std::string longName(70'000, 'l');
    std::string text = "Target (A)\nGroup (G)\n";
    for (int line = 1; line <= 3000; ++line)
        text += "File 1,1,<src" + std::to_string(line) + (line == 1500 ? longName : "") + ".c>\n";
    for (const int line : {1, 64, 65, 1500, 2999, 3000})
        text += "Options 1,1," + std::to_string(line) + "  // File 'x'\n IncBld=0\n ADSCDEFN (OWN)\nEndOpt\n";
    const std::string output = parse(text);

    std::string expected;
    std::vector<std::string> listed;
    for (int line = 1; line <= 3000; ++line) {
        const std::string path = "C:\\work\\src" + std::to_string(line) + (line == 1500 ? longName : "") + ".c";
        if (line == 1 || line == 64 || line == 65 || line == 1500 || line == 2999 || line == 3000)
            expected += "File options not carried over: " + path + "\n";
        else
            listed.push_back(path);
    }
    EXPECT_EQ(output, expected);
    EXPECT_EQ(target(0).children[0]->listedFiles(), listed);
}

TEST_F(Options, TargetNameCuts)
{
    const std::string output = parse("Target (Main)\nTarget (\xC4\xBF 1)\nTarget ()\n"
                                     "Options 2,0,0  // Target '\xC4\xBF 1'\n ADSCDEFN (GBK)\nEndOpt\n"
                                     "Options 1,0,0  // Target 'Main'x\n ADSCDEFN (SHORT)\nEndOpt\n"
                                     "Options 3,0,0  // Target ''\n ADSCDEFN (EMPTY)\nEndOpt\n");
    EXPECT_EQ(output, noTarget);  // 'Main'x names "Main'"
    EXPECT_EQ(target(1).settings.defines, (Defines{{"GBK", plain()}}));
    EXPECT_EQ(target(2).settings.defines, (Defines{{"EMPTY", plain()}}));
    EXPECT_TRUE(target(0).settings.defines.empty());
}

TEST_F(Options, FirstKeywordOfTheLineDecidesAndEndOptComesFirst)
{
    parse("Target (T)\nOptions 1,0,0  // Target 'T'\n"
          " C51DEF (A) INCC5 (inc)\n"
          " INCC5 (x) ADSCDEFN (B)\n"
          " ADSADEFN (C)\n"
          " ADSAINCD (asm)\n"
          " C51UDF (UNDEF)\n"
          " KCADEF (KC) AAINCD (no)\n"
          " ACDEFN (GNU_C)\n AADEFN (GNU_A)\n KAAINC (karm)\n ACINCD (gnu)\n AAINCD (gas)\n"
          " KCAINC (kc) INCC5 (first)\n"
          " ADSCDEFN (D) EndOpt\n"
          " ADSCDEFN (AFTER)\n");
    // A value runs from its keyword to the line's end less one character, so the first line
    // gives "A) INCC5 (inc". "INCC5 (x) ADSCDEFN (B)" holds a define keyword, tested first.
    // The CARM and GNU keys come after those six. The line after the block's end is the line
    // loop's, which skips it.
    EXPECT_EQ(target(0).settings.defines, (Defines{{"A)", plain()}, {"INCC5", plain()}, {"(inc", plain()}, {"B", plain()},
                                          {"C", plain()}, {"KC)", plain()}, {"AAINCD", plain()}, {"(no", plain()},
                                          {"GNU_C", plain()}, {"GNU_A", plain()}}));
    EXPECT_EQ(target(0).settings.includePaths, (Folders{"C:\\work\\asm", "C:\\work\\karm", "C:\\work\\gnu",
                                               "C:\\work\\gas", "C:\\work\\first"}));
}

TEST_F(Options, BlocksAddUpAndTheLastValueWins)
{
    parse("Target (T)\n"
          "Options 1,0,0  // Target 'T'\n ADSCDEFN (V=1 V=2 W)\n ADSCINCD (a;b)\nEndOpt\n"
          "Options 1,0,0  // Target 'T'\n ADSCDEFN (V=3, W=)\n ADSCINCD (b;c)\nEndOpt\n");
    EXPECT_EQ(target(0).settings.defines, (Defines{{"V", assigned("3")}, {"W", assigned()}}));
    EXPECT_EQ(target(0).settings.includePaths, (Folders{"C:\\work\\a", "C:\\work\\b", "C:\\work\\c"}));
}

TEST_F(Options, FileEndingInsideABlockKeepsWhatWasRead)
{
    try {
        parseText(setup, "Target (T)\nOptions 1,0,0  // Target 'T'\n ADSCDEFN (KEPT)\n ADSCINCD (inc)");
        FAIL() << "no error";
    } catch (const AsciiReaderError& error) {
        EXPECT_EQ(error.code, AsciiReaderError::UnexpectedEof);
    }
    EXPECT_EQ(target(0).settings.defines, (Defines{{"KEPT", plain()}}));
    EXPECT_EQ(target(0).settings.includePaths, (Folders{"C:\\work\\inc"}));
}

TEST(SplitDefineList, RealSeparatorsQuotesAndParentheses)
{
    struct Case {
        const char* value;
        std::vector<std::string> tokens;
    } cases[] = {
        {"USE_STDPERIPH_DRIVER, STM32F10X_HD,", {"USE_STDPERIPH_DRIVER", "STM32F10X_HD"}},
        {"rvmdk PART_LM3S9B96", {"rvmdk", "PART_LM3S9B96"}},
        {"WEBS, UEMF, RTT, __NO_FCNTL=1,USER_MANAGEMENT_SUPPORT",
         {"WEBS", "UEMF", "RTT", "__NO_FCNTL=1", "USER_MANAGEMENT_SUPPORT"}},
        {"RVDS_ARMCM3_LM3S102, \"PACK_STRUCT_END=\",\"ALIGN_STRUCT_END=\"",
         {"RVDS_ARMCM3_LM3S102", "PACK_STRUCT_END=", "ALIGN_STRUCT_END="}},
        {"LOADER     L_FEB64   _PCA9539_", {"LOADER", "L_FEB64", "_PCA9539_"}},
        {"SCS_2001,UART1_DEVICE", {"SCS_2001", "UART1_DEVICE"}},
        {"A\tB ,, C", {"A", "B", "C"}},
        {"MSG=\"a, b\" X", {"MSG=\"a, b\"", "X"}},
        {"MAX(a,b)=((a)>(b)?(a):(b)), Y", {"MAX(a,b)=((a)>(b)?(a):(b))", "Y"}},
        {"DEBUG_PORT = UART0", {"DEBUG_PORT=UART0"}},
        {"ARM_MATH_ROUNDING, __FPU_PRESENT = 1", {"ARM_MATH_ROUNDING", "__FPU_PRESENT=1"}},
        {"EMPTY= NEXT", {"EMPTY=", "NEXT"}},
        {"A =B", {"A=B"}},
        {"rvmdk ", {"rvmdk"}},
        {"", {}},
        {" , ", {}},
        {"\"\"", {}},
        {"\"open quote, still", {"\"open quote, still"}},
        {"unbalanced), X", {"unbalanced)", "X"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(splitDefineList(c.value), c.tokens) << c.value;
}

TEST(AddDefine, NameValueAndStringify)
{
    struct Case {
        const char* token;
        Defines expected;
    } cases[] = {
        {"DEBUG", {{"DEBUG", plain()}}},
        {"VER=2", {{"VER", assigned("2")}}},
        {"A=B=C", {{"A", assigned("B=C")}}},
        {"PACK_STRUCT_END=", {{"PACK_STRUCT_END", assigned()}}},
        {"MSG=\"hello\"", {{"MSG", assigned("HBX_STRINGIFY(hello)")}, {"HBX_STRINGIFY(x)", assigned("#x")}}},
        {"M=a\"b", {{"M", assigned("HBX_STRINGIFY(a\"b)")}, {"HBX_STRINGIFY(x)", assigned("#x")}}},
        {"Q=\"\"", {{"Q", assigned("HBX_STRINGIFY()")}, {"HBX_STRINGIFY(x)", assigned("#x")}}},
        {"=\"x\"", {{"HBX_STRINGIFY(x)", assigned("#x")}}},
        {"=1", {}},
    };
    for (const Case& c : cases) {
        SubProject node("T", nullptr);
        addDefine(node.settings, c.token);
        EXPECT_EQ(node.settings.defines, c.expected) << c.token;
    }
}

TEST(AddDefineList, OneStringifyEntryAndXDiffersFromXEquals)
{
    SubProject node("T", nullptr);
    addDefineList(node.settings, "A=\"1\" B=\"2\", X, Y=, X=");
    EXPECT_EQ(node.settings.defines, (Defines{{"A", assigned("HBX_STRINGIFY(1)")},
                                     {"B", assigned("HBX_STRINGIFY(2)")},
                                     {"HBX_STRINGIFY(x)", assigned("#x")},
                                     {"X", assigned()},
                                     {"Y", assigned()}}));
    addDefineList(node.settings, "X");
    EXPECT_EQ(node.settings.defines.at("X"), plain());
}

TEST(CompleteIncludeFolder, Forms)
{
    struct Case {
        const char* element;
        const char* folder;
        bool named;
        const char* expected;
    } cases[] = {
        {".\\inc", "C:\\work\\", true, "C:\\work\\inc"},
        {"./inc", "C:\\work\\", true, "C:\\work\\inc"},
        {"inc", "C:\\work\\", true, "C:\\work\\inc"},
        {"..\\inc", "C:\\work\\", true, "C:\\work\\..\\inc"},
        {"..", "C:\\work\\", true, "C:\\work\\.."},
        {"..\\", "C:\\work\\", true, "C:\\work\\..\\"},
        {".", "C:\\work\\", true, "C:\\work"},
        {".\\", "C:\\work\\", true, "C:\\work"},
        {"./", "C:\\work\\", true, "C:\\work"},
        {".\\.", "C:\\work\\", true, "C:\\work"},
        {"a\\.\\b", "C:\\work\\", true, "C:\\work\\a\\.\\b"},
        {"\\midas\\mscb\\embedded", "C:\\work\\", true, "C:\\midas\\mscb\\embedded"},
        {"\\midas", "\\home\\me\\", true, "\\midas"},
        {"C:\\Keil\\ARM\\INC", "D:\\work\\", true, "C:\\Keil\\ARM\\INC"},
        {"C:\\Documents and Settings\\prku\\UART Debug\\", "D:\\w\\", true, "C:\\Documents and Settings\\prku\\UART Debug\\"},
        {"C:..\\lib\\inc", "D:\\work\\", true, "C:..\\lib\\inc"},
        {"  inc\t", "C:\\work\\", true, "C:\\work\\inc"},
        {"", "C:\\work\\", false, ""},
        {" \t ", "C:\\work\\", false, ""},
    };
    for (const Case& c : cases) {
        std::string folder;
        EXPECT_EQ(completeIncludeFolder(c.element, c.folder, folder), c.named) << c.element;
        if (c.named) {
            EXPECT_EQ(folder, c.expected) << c.element;
        }
    }
}

TEST(AddIncludeList, SkipsEmptiesDuplicatesAndCompilerFolders)
{
    SubProject node("T", nullptr);
    addIncludeList(node.settings, ";inc;;C:\\Keil\\INC;.\\inc;c:\\keil\\inc;..\\x;", "C:\\work\\", {"C:\\Keil\\INC", "C:\\work\\..\\x"});
    EXPECT_EQ(node.settings.includePaths, (Folders{"C:\\work\\inc", "c:\\keil\\inc"}));
    addIncludeList(node.settings, "", "C:\\work\\", {});
    EXPECT_EQ(node.settings.includePaths.size(), 2u);
}

TEST(SubProjectSettings, ReplacedDefinesAndInheritedSettings)
{
    SubProject target("T", nullptr);
    target.setDefine("B", "1", true);
    target.setDefine("SHARED", "target", true);
    target.settings.includePaths.insert("C:\\inc");
    SubProject group("G", nullptr);
    EXPECT_TRUE(group.settings.defines.empty() && group.settings.includePaths.empty() && group.settings.empty());
    group.setDefine("SHARED", "group", true);
    group.setDefine("X", "1", true);
    group.setDefine("X", "", false);  // a name given again replaces its value and its "="
    group.settings.includePaths.insert("C:\\own");
    group.settings.overlay(target.settings);
    EXPECT_EQ(group.settings.allDefines(), (Defines{{"B", assigned("1")}, {"SHARED", assigned("group")}, {"X", plain()}}));
    EXPECT_EQ(group.settings.allIncludeFolders(), (Folders{"C:\\inc", "C:\\own"}));
    // The target's settings are shared, not copied: the group keeps only its own.
    EXPECT_EQ(group.settings.includePaths, Folders{"C:\\own"});
    // A copy is a copy: changing it leaves the original alone.
    FolderSet copy = target.settings.includePaths;
    copy.insert("C:\\more");
    EXPECT_EQ(target.settings.includePaths, Folders{"C:\\inc"});
}

TEST(SubProjectSettings, ManyDefinesKeepTheLastValueAndTheirLineBytes)
{
    // Enough entries, given again in turns and with long values, that they are sorted in
    // several times and the replaced records' room is given back.
    NodeSettings settings;
    Defines expected;
    const std::string longValue(300, 'v');
    for (int round = 0; round < 3; ++round)
        for (int i = 0; i < 5000; ++i) {
            const std::string name = "D" + std::to_string((i * 7919) % 5000);
            const DefineValue value = round == 2 && i % 3 == 0 ? plain() : assigned(std::to_string(round) + longValue);
            settings.setDefine(name, value.text, value.assigned);
            expected[name] = value;
        }
    settings.includePaths.insert(std::string(70000, 'f'));  // longer than a block
    settings.includePaths.insert("C:\\a");
    settings.includePaths.insert("C:\\a");
    EXPECT_EQ(settings.defines, expected);
    EXPECT_EQ(settings.defines.at("D42"), expected["D42"]);
    EXPECT_EQ(settings.includePaths.size(), 2u);
    std::string lines;
    settings.forEachPersonalityPiece([&](std::string_view piece) { lines += piece; });
    EXPECT_EQ(settings.personalityBytes(), lines.size());
    EXPECT_EQ(settings.personalityBytesSoFar(), lines.size());
    EXPECT_NE(lines.find("-d \"D0\"\r\n-d \"D1\"\r\n-d \"D10=2" + longValue + "\"\r\n"), std::string::npos);
    const NodeSettings copy = settings;
    EXPECT_EQ(copy.allDefines(), expected);

    // A list is counted define by define: past the output limit it stops long before its end.
    ReadingSetup limited;
    limited.budget.outputLimit = 100000;
    std::string list = "Target (T)\nOptions 1,0,0  // Target 'T'\n ADSCDEFN (";
    for (int i = 0; i < 100000; ++i)
        list += "LIMITED_" + std::to_string(i) + ",";
    EXPECT_THROW(parseText(limited, list + ")\nEndOpt\n"), LimitExceeded);
    EXPECT_LT(limited.root.children.at(0)->settings.defines.size(), 20000u);
}

}  // namespace
