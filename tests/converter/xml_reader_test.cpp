// Tests of the XML formats: recognising them by content, the project reader, workspaces,
// test copies of real projects checked by hand, and the whole XML corpus.
#include "reader/xml_project_reader.h"
#include "reader/keil_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <sstream>

#include "converter.h"
#include "errors.h"
#include "platform.h"
#include "reader/pack_index.h"
#include "reader/xml_document.h"
#include "reader/xml_workspace.h"
#include "sub_project.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

using Defines = std::map<std::string, DefineValue>;
using Folders = std::set<std::string>;

DefineValue bare() { return {"", false}; }
DefineValue is(const std::string& text) { return {text, true}; }

std::vector<std::string> childNames(const SubProject& node)
{
    std::vector<std::string> names;
    for (const SubProject* child : node.children)
        names.push_back(child->name);
    return names;
}

// Name and number of files of every group of a target, in order.
std::vector<std::pair<std::string, std::size_t>> groupSizes(const SubProject& target)
{
    std::vector<std::pair<std::string, std::size_t>> sizes;
    for (const SubProject* group : target.children)
        sizes.emplace_back(group->name, group->listedFiles().size());
    return sizes;
}

// Reads xml as a project file lying in C:\work\ and returns what the reader printed.
std::string readProject(SubProject& root, const std::string& xml, const CompilerFolders& compilerFolders = {},
                        const std::list<std::string>& extensions = {})
{
    root.path = "C:\\work\\";
    CapturedOutput output;
    std::string text = xml;
    const KeilXmlDocument document(text, "C:\\work\\p.uvprojx");
    EXPECT_EQ(document.kind(), KeilXmlDocument::Project);
    Budget budget;
    const ReadingContext context{extensions, compilerFolders, budget};
    XmlProjectReader(root, context).read(document.root());
    return output.text();
}

// A project with one target; options and groups are XML fragments placed inside it.
std::string oneTarget(const std::string& name, const std::string& options, const std::string& groups)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\" ?>\n<Project><SchemaVersion>2.1</SchemaVersion>"
           "<Targets><Target><TargetName>" + name + "</TargetName><ToolsetNumber>0x4</ToolsetNumber>"
           "<TargetOption>" + options + "</TargetOption><Groups>" + groups + "</Groups></Target></Targets></Project>";
}

std::string controls(const std::string& define, const std::string& includes)
{
    return "<VariousControls><MiscControls>--c99</MiscControls><Define>" + define + "</Define><Undefine></Undefine>"
           "<IncludePath>" + includes + "</IncludePath></VariousControls>";
}

std::string armOptions(const std::string& cDefine, const std::string& cIncludes, const std::string& aDefine = "",
                       const std::string& aIncludes = "")
{
    return "<TargetCommonOption><Device>LPC2129</Device></TargetCommonOption><TargetArmAds><Cads><Optim>1</Optim>"
           + controls(cDefine, cIncludes) + "</Cads><Aads>" + controls(aDefine, aIncludes)
           + "</Aads><LDads><Misc></Misc></LDads></TargetArmAds>";
}

std::string file(const std::string& path, const std::string& options = "")
{
    return "<File><FileName>x</FileName><FileType>1</FileType><FilePath>" + path + "</FilePath>" + options + "</File>";
}

std::string group(const std::string& name, const std::string& files, const std::string& options = "")
{
    return "<Group><GroupName>" + name + "</GroupName>" + options + "<Files>" + files + "</Files></Group>";
}

std::string inBuild(const std::string& value) { return "<CommonProperty><IncludeInBuild>" + value + "</IncludeInBuild></CommonProperty>"; }

// ---------------------------------------------------------------------------------------
// Recognising the format, and what a document may hold

TEST(XmlDocument, KnowsTheFormatByContent)
{
    struct Case {
        const char* name;
        std::string content;
        KeilXmlDocument::Kind kind;
    } cases[] = {
        {"empty file", "", KeilXmlDocument::NotXml},
        {"blanks only", " \r\n\t", KeilXmlDocument::NotXml},
        {"text project", "### uVision2 Project, (C) Keil Software\r\n<not xml>", KeilXmlDocument::NotXml},
        {"text workspace", "[WORKSPACE]\r\n  Project=\"a\\a.Uv2\"\r\n", KeilXmlDocument::NotXml},
        {"uvproj", "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\" ?>\n<Project></Project>",
         KeilXmlDocument::Project},
        {"blank lines and a byte-order mark first", "\xEF\xBB\xBF\r\n  \n<Project/>", KeilXmlDocument::Project},
        {"uvmpw", "<?xml version=\"1.0\"?><ProjectWorkspace><project/></ProjectWorkspace>",
         KeilXmlDocument::Workspace},
        {"other root", "<Projects><Project/></Projects>", KeilXmlDocument::OtherXml},
        {"root name is case-sensitive", "<project/>", KeilXmlDocument::OtherXml},
    };
    for (const Case& c : cases) {
        std::string text = c.content;
        EXPECT_EQ(KeilXmlDocument(text, "C:\\p").kind(), c.kind) << c.name;
    }
}

// A document must fit beside its own text and what the run keeps; one that does not is too
// large, and what it counted is given back.
TEST(XmlDocument, FitsBesideWhatTheRunKeeps)
{
    const std::string project = "<Project><Targets><Target><TargetName>T</TargetName></Target></Targets></Project>";
    struct Case {
        std::size_t roomLeft;  // under maximumXmlBytes, beside the text and the bytes kept
        bool fits;
    } cases[] = {{1u << 20, true}, {100, false}, {0, false}, {1u << 20, true}};
    for (const Case& c : cases) {
        std::string text = project;
        try {
            const KeilXmlDocument document(text, "C:\\work\\p.uvprojx", maximumXmlBytes - text.size() - c.roomLeft);
            EXPECT_TRUE(c.fits) << c.roomLeft;
            EXPECT_EQ(document.kind(), KeilXmlDocument::Project);
        } catch (const FileTooLarge& error) {
            EXPECT_FALSE(c.fits) << c.roomLeft;
            EXPECT_EQ(error.path, "C:\\work\\p.uvprojx");
        }
    }
}

TEST(XmlDocument, MalformedXmlNamesTheFile)
{
    const char* cases[] = {
        "<Project><Targets><Target>",                  // cut off
        "<Project></Projekt>",                         // wrong end tag
        "<?xml version=\"1.0\"?>",                     // declaration only
        "  <",                                         // a lone "<"
        "<Project a=\"x></Project>",                  // unclosed attribute value
        "<Project><!-- x </Project>",                  // unclosed comment
    };
    for (const char* content : cases) {
        try {
            std::string text = content;
            KeilXmlDocument document(text, "C:\\work\\bad.uvprojx");
            ADD_FAILURE() << "accepted: " << content;
        } catch (const AsciiReaderError& error) {
            EXPECT_EQ(error.code, AsciiReaderError::Malformed) << content;
            EXPECT_EQ(error.path, "C:\\work\\bad.uvprojx") << content;
        }
    }
}

// ---------------------------------------------------------------------------------------
// The project reader

TEST(XmlProjectReader, EachTargetGetsItsOwnGroupsAndFiles)
{
    const std::string xml =
        "<Project><Targets>"
        "<Target><TargetName>Board A</TargetName><Groups>"
        + group("Startup", file(".\\startup.s")) + group("App", file("..\\src\\main.c") + file("D:\\ext\\util.c"))
        + "</Groups></Target>"
          "<Target><TargetName>Board B</TargetName><Groups>"
        + group("App", file("src/board_b.c") + file("\\rooted\\r.c")) + "</Groups></Target>"
          "<Target><TargetName>Board A</TargetName></Target>"
          "</Targets></Project>";
    SubProject root("p", nullptr);
    EXPECT_EQ(readProject(root, xml), "");

    ASSERT_EQ(childNames(root), (std::vector<std::string>{"Board A", "Board B", "Board A"}));
    ASSERT_EQ(childNames(*root.children[0]), (std::vector<std::string>{"Startup", "App"}));
    EXPECT_EQ(root.children[0]->children[0]->listedFiles(), (std::vector<std::string>{"C:\\work\\startup.s"}));
    EXPECT_EQ(root.children[0]->children[1]->listedFiles(),
              (std::vector<std::string>{"C:\\work\\..\\src\\main.c", "D:\\ext\\util.c"}));
    ASSERT_EQ(childNames(*root.children[1]), (std::vector<std::string>{"App"}));
    EXPECT_EQ(root.children[1]->children[0]->listedFiles(),
              (std::vector<std::string>{"C:\\work\\src\\board_b.c", "C:\\rooted\\r.c"}));
    EXPECT_TRUE(root.children[2]->children.empty());
    for (const SubProject* target : root.children)
        EXPECT_TRUE(target->settings.empty()) << target->name;
}

TEST(XmlProjectReader, MissingAndEmptyElementsAddNothing)
{
    const std::string xml =
        "<Project><Targets>"
        "<Target><Groups><Group><Files><File><FilePath></FilePath></File><File><FileName>n.c</FileName></File>"
        "<File><FilePath> \r\n </FilePath></File><File><FilePath>\n  .\\kept.c\n</FilePath></File></Files></Group>"
        "</Groups><TargetOption><TargetArmAds><Cads><VariousControls/></Cads><Aads/></TargetArmAds></TargetOption>"
        "</Target>"
        "<Target><TargetName></TargetName><TargetOption/><Groups/></Target>"
        "</Targets><Targets/></Project>";
    SubProject root("p", nullptr);
    EXPECT_EQ(readProject(root, xml), "");

    ASSERT_EQ(childNames(root), (std::vector<std::string>{"", ""}));
    ASSERT_EQ(childNames(*root.children[0]), (std::vector<std::string>{""}));
    EXPECT_EQ(root.children[0]->children[0]->listedFiles(), (std::vector<std::string>{"C:\\work\\kept.c"}));
    EXPECT_TRUE(root.children[0]->settings.empty());
    EXPECT_TRUE(root.children[1]->children.empty());

    SubProject empty("p", nullptr);
    readProject(empty, "<Project/>");
    EXPECT_TRUE(empty.children.empty());
}

TEST(XmlProjectReader, DefinesAndIncludeFoldersFollowTheTextRules)
{
    struct Case {
        const char* name;
        std::string options;
        Defines defines;
        Folders folders;
    } cases[] = {
        {"blanks, commas and both mixed",
         armOptions("STM32F756xx, CORE_CM7,USE_HAL_DRIVER  DEBUG ", ""),
         {{"CORE_CM7", bare()}, {"DEBUG", bare()}, {"STM32F756xx", bare()}, {"USE_HAL_DRIVER", bare()}},
         {}},
        {"blanks around = keep one define", armOptions("DEBUG_PORT = UART0, __FPU_PRESENT = 1", ""),
         {{"DEBUG_PORT", is("UART0")}, {"__FPU_PRESENT", is("1")}}, {}},
        {"assembler defines join the target, the later value wins",
         armOptions("VER=1 MODE", "", "NO_CRP VER=2"),
         {{"MODE", bare()}, {"NO_CRP", bare()}, {"VER", is("2")}}, {}},
        {"quoted items lose their quotes", armOptions("RVDS, \"PACK_STRUCT_END=\",\"ALIGN_STRUCT_END=\"", ""),
         {{"ALIGN_STRUCT_END", is("")}, {"PACK_STRUCT_END", is("")}, {"RVDS", bare()}}, {}},
        {"a quoted value uses the stringify helper", armOptions("MSG=\"hi\"", ""),
         {{"HBX_STRINGIFY(x)", is("#x")}, {"MSG", is("HBX_STRINGIFY(hi)")}}, {}},
        {"include forms", armOptions("", ".;.\\inc;..\\lib;;sub;S:\\abs\\inc;\\rooted;C:..\\drv;", "", "..\\lib;asm"),
         {},
         {"C:\\work", "C:\\work\\inc", "C:\\work\\..\\lib", "C:\\work\\sub", "S:\\abs\\inc", "C:\\rooted",
          "C:..\\drv", "C:\\work\\asm"}},
        {"forward slashes become backslashes", armOptions("", "../../ST_Code/Core/Inc;./x;D:/y/"),
         {}, {"C:\\work\\..\\..\\ST_Code\\Core\\Inc", "C:\\work\\x", "D:\\y\\"}},
        {"the compiler's own folders are left out", armOptions("", "C:\\Keil\\ARM\\INC;inc", "", "C:\\Keil\\C51\\INC"),
         {}, {"C:\\work\\inc"}},
        {"C51 compiler and assembler",
         "<Target51><Target51Misc/><C51>" + controls("MODEL_SMALL", "\\midas\\inc;..\\inc") + "</C51><Ax51>"
             + controls("CODE_BANKING=1", "") + "</Ax51><Lx51/></Target51>",
         {{"CODE_BANKING", is("1")}, {"MODEL_SMALL", bare()}}, {"C:\\midas\\inc", "C:\\work\\..\\inc"}},
        {"GNU toolchain blocks", "<TargetArm><Carm>" + controls("GCC_DEMO", "..\\CMSIS") + "</Carm><Aarm>"
                                     + controls("", "") + "</Aarm></TargetArm>",
         {{"GCC_DEMO", bare()}}, {"C:\\work\\..\\CMSIS"}},
        {"C166 and C251 blocks, read like every other toolchain's",
         "<Target166><C166>" + controls("XC16X", "..\\c166") + "</C166></Target166><Target251><C251>"
             + controls("MX251=1", "..\\c251") + "</C251><A251>" + controls("ASM251", "") + "</A251></Target251>",
         {{"ASM251", bare()}, {"MX251", is("1")}, {"XC16X", bare()}}, {"C:\\work\\..\\c166", "C:\\work\\..\\c251"}},
        {"settings outside a tool block are not read",
         "<TargetCommonOption>" + controls("COMMON", "common") + "</TargetCommonOption>" + controls("TOP", "top"),
         {}, {}},
    };
    for (const Case& c : cases) {
        SubProject root("p", nullptr);
        readProject(root, oneTarget("T", c.options, ""), {"C:\\Keil\\ARM\\INC", "C:\\Keil\\C51\\INC"});
        ASSERT_EQ(root.children.size(), 1u) << c.name;
        EXPECT_EQ(root.children[0]->settings.defines, c.defines) << c.name;
        EXPECT_EQ(root.children[0]->settings.includePaths, c.folders) << c.name;
    }
}

TEST(XmlProjectReader, GroupOptionsGiveTheGroupCompleteSettings)
{
    const std::string groupOptions =
        "<GroupOption>" + inBuild("1") + "<GroupArmAds><Cads>" + controls("LEVEL=2 GROUP_ONLY", "..\\grp;inc")
        + "</Cads><Aads>" + controls("", "") + "</Aads></GroupArmAds></GroupOption>";
    const std::string emptyGroupOptions =
        "<GroupOption>" + inBuild("2") + "<GroupArmAds><Cads>" + controls("", " ; ") + "</Cads></GroupArmAds></GroupOption>";
    const std::string compilerOnlyOptions =
        "<GroupOption><GroupArmAds><Cads>" + controls("", "C:\\Keil\\ARM\\INC") + "</Cads></GroupArmAds></GroupOption>";
    SubProject root("p", nullptr);
    readProject(root,
                oneTarget("T", armOptions("LEVEL=1 BOARD", "inc"),
                          group("Own", file("a.c"), groupOptions) + group("Empty", file("b.c"), emptyGroupOptions)
                              + group("Compiler only", file("c.c"), compilerOnlyOptions) + group("None", file("d.c"))),
                {"C:\\Keil\\ARM\\INC"});

    const SubProject& target = *root.children.at(0);
    EXPECT_EQ(target.settings.defines, (Defines{{"BOARD", bare()}, {"LEVEL", is("1")}}));
    EXPECT_EQ(target.settings.includePaths, (Folders{"C:\\work\\inc"}));
    ASSERT_EQ(childNames(target), (std::vector<std::string>{"Own", "Empty", "Compiler only", "None"}));

    const SubProject& own = *target.children[0];
    EXPECT_EQ(own.settings.allDefines(), (Defines{{"BOARD", bare()}, {"GROUP_ONLY", bare()}, {"LEVEL", is("2")}}));
    EXPECT_EQ(own.settings.allIncludeFolders(), (Folders{"C:\\work\\inc", "C:\\work\\..\\grp"}));
    EXPECT_EQ(own.listedFiles(), (std::vector<std::string>{"C:\\work\\a.c"}));
    for (std::size_t i = 1; i < 4; ++i) {
        EXPECT_TRUE(target.children[i]->settings.empty()) << target.children[i]->name;
        EXPECT_EQ(target.children[i]->listedFiles().size(), 1u) << target.children[i]->name;
    }
}

TEST(XmlProjectReader, FileOptionsAreNamedOnceAndNotCarried)
{
    auto fileOptions = [](const std::string& define, const std::string& includes) {
        return "<FileOption>" + inBuild("2") + "<FileArmAds><Cads>" + controls(define, includes)
               + "</Cads></FileArmAds></FileOption>";
    };
    const std::string groups = group("G", file(".\\defines.c", fileOptions("TRACE", ""))
                                              + file(".\\includes.c", fileOptions("", "..\\extra"))
                                              + file(".\\empty.c", fileOptions("", ""))
                                              + file(".\\blank.c", fileOptions("  ", ";"))
                                              + file(".\\plain.c"));
    const std::string xml = "<Project><Targets><Target><TargetName>A</TargetName><Groups>" + groups
                            + "</Groups></Target><Target><TargetName>B</TargetName><Groups>" + groups
                            + "</Groups></Target></Targets></Project>";
    SubProject root("p", nullptr);
    EXPECT_EQ(readProject(root, xml),
              "File options not carried over: C:\\work\\defines.c\n"
              "File options not carried over: C:\\work\\includes.c\n");

    for (const SubProject* target : root.children) {
        EXPECT_TRUE(target->settings.empty());
        EXPECT_TRUE(target->children.at(0)->settings.empty());
        EXPECT_EQ(target->children.at(0)->listedFiles().size(), 5u);
    }
}

// One rule in both formats: a file's options are reported when they hold a define with a name
// or an include folder the compiler personality does not name. The last two rows are where
// the two readers once disagreed.
TEST(FileOptions, OneRuleForBothReaders)
{
    const CompilerFolders compilerFolders{"C:\\Keil\\INC"};
    const struct {
        std::string defines;
        std::string includes;
        bool reported;
    } cases[] = {
        {"TRACE", "", true},
        {"A=1", "", true},
        {"", "..\\extra", true},
        {"", "C:\\Keil\\INC;.\\own", true},
        {"", "", false},
        {" , =X", " ; ", false},
        {"=\"x\"", "", false},          // no name; the XML reader reported it
        {"", "C:\\Keil\\INC", false},  // the compiler's folder; the text reader reported it
    };
    for (const auto& c : cases) {
        const std::string expected = c.reported ? "File options not carried over: C:\\work\\f.c\n" : "";
        SubProject xmlRoot("p", nullptr);
        const std::string options = "<FileOption><FileArmAds><Cads>" + controls(c.defines, c.includes)
                                    + "</Cads></FileArmAds></FileOption>";
        EXPECT_EQ(readProject(xmlRoot, oneTarget("A", "", group("G", file(".\\f.c", options))), compilerFolders),
                  expected)
            << "XML: " << c.defines << " | " << c.includes;

        ReadingSetup text;
        text.compilerIncludePaths = compilerFolders;
        CapturedOutput output;
        parseText(text, "Target (A)\nGroup (G)\nFile 1,1,<.\\f.c>\nOptions 1,1,1  // File 'f.c'\n ADSCDEFN (" + c.defines
                     + ")\n ADSCINCD (" + c.includes + ")\nEndOpt\n");
        EXPECT_EQ(output.text(), expected) << "text: " << c.defines << " | " << c.includes;
    }
}

TEST(XmlProjectReader, FilesOutOfTheTargetBuildAreLeftOut)
{
    const std::string fileIn = "<FileOption>" + inBuild("1") + "</FileOption>";
    const std::string fileOut = "<FileOption>" + inBuild("0") + "</FileOption>";
    const std::string fileInherits = "<FileOption>" + inBuild("2") + "</FileOption>";
    const std::string groupOut = "<GroupOption>" + inBuild("0") + "</GroupOption>";
    const std::string groupIn = "<GroupOption>" + inBuild("1") + "</GroupOption>";
    const std::string files = file("in.c", fileIn) + file("out.c", fileOut) + file("inherits.c", fileInherits)
                              + file("plain.c") + file("blank.c", "<FileOption>" + inBuild(" 0 ") + "</FileOption>");
    SubProject root("p", nullptr);
    readProject(root, oneTarget("T", "", group("Built", files, groupIn) + group("Not built", files, groupOut)
                                             + group("No options", files)));

    const SubProject& target = *root.children.at(0);
    const std::vector<std::string> built{"C:\\work\\in.c", "C:\\work\\inherits.c", "C:\\work\\plain.c"};
    EXPECT_EQ(target.children.at(0)->listedFiles(), built);
    EXPECT_EQ(target.children.at(1)->listedFiles(), (std::vector<std::string>{"C:\\work\\in.c"}));
    EXPECT_EQ(target.children.at(2)->listedFiles(), built);
}

TEST(XmlProjectReader, FiltersFilesByExtension)
{
    SubProject root("p", nullptr);
    readProject(root, oneTarget("T", "", group("G", file("a.C") + file("b.h") + file("s.a51") + file("lib.lib")
                                                            + file("readme.txt"))),
                {}, {"c", "H"});
    EXPECT_EQ(root.children.at(0)->children.at(0)->listedFiles(),
              (std::vector<std::string>{"C:\\work\\a.C", "C:\\work\\b.h"}));
}

// An RTE element: components and files, each for the targets its targetInfo elements name.
std::string targetInfos(const std::vector<std::string>& names)
{
    std::string infos = "<targetInfos>";
    for (const std::string& name : names)
        infos += "<targetInfo " + name + "/>";
    return infos + "</targetInfos>";
}

std::string rteComponent(const std::string& cclass, const std::vector<std::string>& targets)
{
    return "<component Cclass=\"" + cclass + "\" Cgroup=\"CORE\" Cvendor=\"ARM\">" + targetInfos(targets) + "</component>";
}

std::string rteFile(const std::string& category, const std::string& instances, const std::string& cclass,
                    const std::vector<std::string>& targets)
{
    return "<file attr=\"config\" category=\"" + category + "\" name=\"pack\\x\">" + instances
           + "<component Cclass=\"" + cclass + "\" Cgroup=\"Startup\"/>" + targetInfos(targets) + "</file>";
}

std::string rte(const std::string& components, const std::string& files)
{
    return "<RTE><apis/><components>" + components + "</components><files>" + files + "</files></RTE>";
}

std::string withRte(const std::string& targets, const std::string& rteElement)
{
    return "<Project><Targets>" + targets + "</Targets>" + rteElement + "</Project>";
}

std::string target(const std::string& name, const std::string& options, const std::string& groups)
{
    return "<Target><TargetName>" + name + "</TargetName><TargetOption>" + options + "</TargetOption><Groups>" + groups
           + "</Groups></Target>";
}

TEST(XmlProjectReader, RteComponentsFolderIsNamedAfterTheTarget)
{
    const struct {
        std::string target;
        std::string folder;
    } cases[] = {
        {"Target 1", "C:\\work\\RTE\\_Target_1"},
        {"Cortex-M0 (AC5, FVP)", "C:\\work\\RTE\\_Cortex-M0__AC5__FVP_"},
        {"V2M-MPS2-CM0+", "C:\\work\\RTE\\_V2M-MPS2-CM0_"},
        {"v1.2_x", "C:\\work\\RTE\\_v1.2_x"},
        {"a\\b/c:d", "C:\\work\\RTE\\_a_b_c_d"},
        {"\xE7\x9B\xAE 1", "C:\\work\\RTE\\_____1"},  // each byte of a UTF-8 character
    };
    for (const auto& c : cases) {
        SubProject root("p", nullptr);
        readProject(root, withRte(target(c.target, "", ""), rte(rteComponent("CMSIS", {"name=\"" + c.target + "\""}), "")));
        ASSERT_EQ(root.children.size(), 1u) << c.target;
        EXPECT_EQ(root.children[0]->settings.includePaths, (Folders{c.folder})) << c.target;
        EXPECT_EQ(root.children[0]->settings.defines, (Defines{{"_RTE_", bare()}})) << c.target;
    }
}

TEST(XmlProjectReader, RteFilesGoToTheirTargetsComponentGroups)
{
    const std::string targets =
        target("A", armOptions("_RTE_=1", ""),
               group("::Device", file("own.c")) + group("App", file("a.c")) + group("::Device", file("second.c"))
                   + group("Own", "", "<GroupOption><GroupArmAds><Cads>" + controls("OWN", "") + "</Cads></GroupArmAds></GroupOption>"))
        + target("B", "", group("App", file("b.c")));
    const std::string files =
        rteFile("sourceC", "<instance index=\"0\">RTE\\Device\\system.c</instance>", "Device", {"name=\"A\"", "name=\"B\""})
        + rteFile("header", "<instance index=\"0\">RTE/Device/RTE_Device.h</instance>", "Device", {"name=\"A\""})
        + rteFile("source", "<instance index=\"0\">RTE\\USB\\user_0.c</instance><instance index=\"1\">RTE\\USB\\user_1.c</instance>",
                  "USB", {"name=\"A\""})
        + rteFile("sourceC", "<instance index=\"0\" removed=\"1\">RTE\\Device\\old.c</instance>", "Device", {"name=\"A\""})
        + rteFile("header", "", "CMSIS", {"name=\"A\""})
        + rteFile("sourceC", "<instance index=\"0\">RTE\\Device\\none.c</instance>", "Device", {})
        + rteFile("sourceC", "<instance index=\"0\">RTE\\Device\\out.c</instance>", "Device", {"excluded=\"1\" name=\"B\""})
        + rteFile("sourceAsm", "<instance index=\"0\">RTE\\Device\\startup.s</instance>", "Startup", {"name=\"A\""});
    const std::string xml =
        withRte(targets, rte(rteComponent("CMSIS", {"name=\"A\"", "excluded=\"1\" name=\"B\""}), files));

    SubProject root("p", nullptr);
    readProject(root, xml, {"C:\\work\\RTE\\_A"});
    const SubProject& a = *root.children.at(0);
    // The target's own _RTE_=1 replaces the RTE's, as a later -D would; the compiler's folder is left out.
    EXPECT_EQ(a.settings.defines, (Defines{{"_RTE_", is("1")}}));
    EXPECT_EQ(a.settings.includePaths, (Folders{"C:\\work\\RTE\\Device"}));
    EXPECT_EQ(groupSizes(a), (std::vector<std::pair<std::string, std::size_t>>{
                                 {"::Device", 3}, {"App", 1}, {"::Device", 1}, {"Own", 0}, {"::USB", 2}, {"::Startup", 1}}));
    // The first group of the class keeps its own files; the RTE's follow.
    EXPECT_EQ(a.children[0]->listedFiles(),
              (std::vector<std::string>{"C:\\work\\own.c", "C:\\work\\RTE\\Device\\system.c",
                                        "C:\\work\\RTE\\Device\\RTE_Device.h"}));
    EXPECT_EQ(a.children[4]->listedFiles(),
              (std::vector<std::string>{"C:\\work\\RTE\\USB\\user_0.c", "C:\\work\\RTE\\USB\\user_1.c"}));
    // A group with settings of its own takes over the target's, the RTE's among them.
    EXPECT_EQ(a.children[3]->settings.allDefines(), (Defines{{"OWN", bare()}, {"_RTE_", is("1")}}));
    EXPECT_EQ(a.children[3]->settings.allIncludeFolders(), a.settings.includePaths.get());

    // No component is for B: no define, no folder, and only the file that lists it.
    const SubProject& b = *root.children.at(1);
    EXPECT_TRUE(b.settings.empty());
    EXPECT_EQ(groupSizes(b), (std::vector<std::pair<std::string, std::size_t>>{{"App", 1}, {"::Device", 1}}));

    // A header the extension list leaves out still gives its folder; no group is made for nothing.
    SubProject filtered("p", nullptr);
    readProject(filtered, xml, {}, {"s"});
    const SubProject& onlyAssembler = *filtered.children.at(0);
    EXPECT_EQ(onlyAssembler.settings.includePaths, (Folders{"C:\\work\\RTE\\Device", "C:\\work\\RTE\\_A"}));
    EXPECT_EQ(groupSizes(onlyAssembler), (std::vector<std::pair<std::string, std::size_t>>{
                                             {"::Device", 0}, {"App", 0}, {"::Device", 0}, {"Own", 0}, {"::Startup", 1}}));
}

TEST(XmlProjectReader, BytesPassUnchangedAndEntitiesAreDecoded)
{
    const std::string utf8Name = "\xE7\x9B\xAE\xE6\xA0\x87 1";  // a UTF-8 name
    const std::string gbkName = "\xC4\xBF\xB1\xEA 1";           // the same name in GBK, not UTF-8
    const std::string xml =
        "<Project><Targets><Target><TargetName>" + utf8Name + "</TargetName><Groups>"
        + group(gbkName, file(".\\\xD6\xD0\\a.c") + file("R&amp;D\\&lt;x&gt;.c") + file("&#x4E2D;.c"))
        + "</Groups><TargetOption><TargetArmAds><Cads>" + controls("Q=&quot;v&quot; A&amp;B", "\xC3\xA4")
        + "</Cads></TargetArmAds></TargetOption></Target></Targets></Project>";
    SubProject root("p", nullptr);
    readProject(root, xml);

    const SubProject& target = *root.children.at(0);
    EXPECT_EQ(target.name, utf8Name);
    EXPECT_EQ(target.children.at(0)->name, gbkName);
    EXPECT_EQ(target.children.at(0)->listedFiles(),
              (std::vector<std::string>{"C:\\work\\\xD6\xD0\\a.c", "C:\\work\\R&D\\<x>.c", "C:\\work\\\xE4\xB8\xAD.c"}));
    EXPECT_EQ(target.settings.defines,
              (Defines{{"A&B", bare()}, {"HBX_STRINGIFY(x)", is("#x")}, {"Q", is("HBX_STRINGIFY(v)")}}));
    EXPECT_EQ(target.settings.includePaths, (Folders{"C:\\work\\\xC3\xA4"}));
}

// ---------------------------------------------------------------------------------------
// Test copies of real projects, read as if they lay in C:\keil\ (values checked by hand)

struct RealProject {
    std::unique_ptr<ReadingSetup> setup;
    std::string output;
    const SubProject& root() const { return setup->root; }
    const SubProject& target(std::size_t i) const { return *setup->root.children.at(i); }
};

RealProject readRealProject(const std::string& relative, const CompilerFolders& compilerFolders = {},
                            const std::string& extensions = "")
{
    RealProject project{std::make_unique<ReadingSetup>("project", "C:\\keil\\"), ""};
    project.setup->compilerIncludePaths = compilerFolders;
    if (!extensions.empty())
        project.setup->extensions = {extensions};
    CapturedOutput output;
    KeilFile::load(platform::fromHostPath(testData("xml/" + relative)))
        .readProject(project.setup->root, project.setup->context());
    project.output = output.text();
    return project;
}

TEST(XmlRealProjects, C51TwoTargetsEachBuildingItsOwnConfiguration)
{
    const RealProject project = readRealProject("OS-Q__RTX51__RtxTiny2.uvproj");
    ASSERT_EQ(childNames(project.root()), (std::vector<std::string>{"Non Banking", "Code Banking"}));
    const std::vector<std::string> common{"C:\\keil\\os_create.a51",    "C:\\keil\\os_delete.a51",
                                          "C:\\keil\\os_clear_signal.a51", "C:\\keil\\os_send_signal.a51",
                                          "C:\\keil\\os_running_task.a51", "C:\\keil\\os_set_ready.a51",
                                          "C:\\keil\\os_reset_interval.a51", "C:\\keil\\os_wait.a51"};
    std::vector<std::string> nonBanking{"C:\\keil\\Version.a51", "C:\\keil\\Copyright.a51", "C:\\keil\\Conf_tny.a51"};
    nonBanking.insert(nonBanking.end(), common.begin(), common.end());
    std::vector<std::string> banking{"C:\\keil\\Version.a51", "C:\\keil\\Copyright.a51",
                                     "C:\\keil\\Conf_tny_Banking.A51"};
    banking.insert(banking.end(), common.begin(), common.end());

    ASSERT_EQ(childNames(project.target(0)), (std::vector<std::string>{"Source Files"}));
    EXPECT_EQ(project.target(0).children[0]->listedFiles(), nonBanking);
    EXPECT_TRUE(project.target(0).settings.empty());
    ASSERT_EQ(childNames(project.target(1)), (std::vector<std::string>{"Source Files"}));
    EXPECT_EQ(project.target(1).children[0]->listedFiles(), banking);
    EXPECT_EQ(project.target(1).settings.defines, (Defines{{"CODE_BANKING", is("1")}}));
    EXPECT_TRUE(project.target(1).settings.includePaths.empty());
    EXPECT_EQ(project.output, "");
}

TEST(XmlRealProjects, C51RootedIncludeFoldersTakeTheProjectDrive)
{
    const RealProject project = readRealProject("cjpl__midas__scs_2001_pump.uvproj");
    ASSERT_EQ(childNames(project.root()), (std::vector<std::string>{"ICE", "Simulator"}));
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(groupSizes(project.target(i)),
                  (std::vector<std::pair<std::string, std::size_t>>{{"Source Files", 8}, {"Include Files", 4}}));
    }
    EXPECT_TRUE(project.target(0).settings.defines.empty());
    EXPECT_EQ(project.target(0).settings.includePaths,
              (Folders{"C:\\midas\\mscb\\embedded\\include", "C:\\midas\\mscb\\embedded\\scs_2001"}));
    EXPECT_EQ(project.target(1).settings.defines, (Defines{{"SCS_2000", bare()}}));
    EXPECT_TRUE(project.target(1).settings.includePaths.empty());
}

TEST(XmlRealProjects, ArmTwoTargetsWithCompilerAndAssemblerFolders)
{
    const RealProject project = readRealProject("FreeRTOS__FreeRTOS__ARM7_LPC2129_Keil_RVDS_RTOSDemo.uvproj");
    ASSERT_EQ(childNames(project.root()), (std::vector<std::string>{"RTOSDemo_ARM", "RTOSDemo_THUMB"}));
    const Folders folders{"C:\\keil", "C:\\keil\\..\\..\\Source\\portable\\RVDS\\ARM7_LPC21xx",
                          "C:\\keil\\..\\Common\\include", "C:\\keil\\..\\..\\Source\\include"};
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(groupSizes(project.target(i)),
                  (std::vector<std::pair<std::string, std::size_t>>{{"Other", 5}, {"FreeRTOS", 6}, {"Stadard Demo", 6}}));
        EXPECT_EQ(project.target(i).settings.includePaths, folders);
    }
    EXPECT_EQ(project.target(0).settings.defines, (Defines{{"ARM7_LPC21xx_KEIL_RVDS", bare()}}));
    EXPECT_EQ(project.target(1).settings.defines,
              (Defines{{"ARM7_LPC21xx_KEIL_RVDS", bare()}, {"KEIL_THUMB_INTERWORK", bare()}}));
    EXPECT_EQ(project.target(0).children[0]->listedFiles().at(1), "C:\\keil\\ParTest\\ParTest.c");
    EXPECT_EQ(project.target(1).children[1]->listedFiles().at(4), "C:\\keil\\..\\..\\Source\\portable\\MemMang\\heap_2.c");
}

TEST(XmlRealProjects, ArmAssemblerDefinesAndCompilerFoldersLeftOut)
{
    const RealProject project =
        readRealProject("embstd__RT-Thread__m4_project.uvproj", {"C:\\keil\\..\\drivers", "C:\\keil"});
    ASSERT_EQ(childNames(project.root()), (std::vector<std::string>{"project"}));
    EXPECT_EQ(groupSizes(project.target(0)),
              (std::vector<std::pair<std::string, std::size_t>>{{"applications", 2}, {"drivers", 2}, {"lpc_board", 2},
                                                                {"lpc_chip", 21}, {"lpc_ip", 18}, {"startup", 1},
                                                                {"Kernel", 13}, {"CORTEX-M4", 5},
                                                                {"DeviceDrivers", 5}, {"finsh", 13},
                                                                {"Components", 1}}));
    EXPECT_EQ(project.target(0).settings.defines, (Defines{{"CORE_M4", bare()}, {"NO_CRP", bare()}}));
    // Sixteen folders are listed; the two the compiler names are left out.
    EXPECT_EQ(project.target(0).settings.includePaths.size(), 14u);
    EXPECT_EQ(project.target(0).settings.includePaths.count("C:\\keil\\..\\drivers"), 0u);
    EXPECT_EQ(project.target(0).settings.includePaths.count("C:\\keil\\..\\..\\..\\components\\CMSIS\\Include"), 1u);
    EXPECT_EQ(project.target(0).settings.includePaths.count(
                  "C:\\keil\\..\\libraries\\lpc_board\\boards_18xx_43xx\\ngx_xplorer_18304330\\ngx_xplorer_4330"),
              1u);
}

TEST(XmlRealProjects, QuotedDefineItems)
{
    const RealProject project = readRealProject("FreeRTOS__FreeRTOS__CORTEX_LM3Sxxxx_IAR_Keil_RTOSDemo.uvproj");
    ASSERT_EQ(childNames(project.root()), (std::vector<std::string>{"FreeRTOS_Demo"}));
    EXPECT_EQ(groupSizes(project.target(0)),
              (std::vector<std::pair<std::string, std::size_t>>{
                  {"Demo_Source", 18}, {"Libraries", 5}, {"RTOS_Source", 8}, {"uIP_Source", 10}}));
    EXPECT_EQ(project.target(0).settings.defines, (Defines{{"ALIGN_STRUCT_END", is("")},
                                                  {"PACK_STRUCT_END", is("")},
                                                  {"RVDS_ARMCM3_LM3S102", bare()}}));
    EXPECT_EQ(project.target(0).settings.includePaths,
              (Folders{"C:\\keil", "C:\\keil\\..\\Common\\drivers\\LuminaryMicro",
                       "C:\\keil\\..\\..\\Source\\portable\\RVDS\\ARM_CM3", "C:\\keil\\..\\..\\Source\\include",
                       "C:\\keil\\..\\Common\\include", "C:\\keil\\..\\Common\\ethernet\\uIP\\uip-1.0\\uip",
                       "C:\\keil\\webserver"}));
}

TEST(XmlRealProjects, ArmGroupAndFileOptions)
{
    // A test copy of a real project with group and file options added by hand.
    const RealProject project = readRealProject("simpliciti_cascade_options.uvproj");
    EXPECT_EQ(project.output, "File options not carried over: C:\\keil\\simpliciti_cascade.c\n");
    ASSERT_EQ(childNames(project.root()), (std::vector<std::string>{"simpliciti_cascade"}));
    const SubProject& target = project.target(0);
    // The documentation group is left out of the build.
    EXPECT_EQ(groupSizes(target), (std::vector<std::pair<std::string, std::size_t>>{
                                      {"Source", 8}, {"Libraries", 2}, {"Documentation", 0}}));
    const Defines targetDefines{{"PART_LM3S9B96", bare()}, {"SIMPLICITI_CONFIG_HEADER", bare()},
                                {"TARGET_IS_TEMPEST_RB1", bare()}, {"rvmdk", bare()}};
    EXPECT_EQ(target.settings.defines, targetDefines);
    EXPECT_EQ(target.settings.includePaths.size(), 10u);

    const SubProject& source = *target.children[0];
    EXPECT_EQ(source.settings.allDefines(), (Defines{{"PART_LM3S9B96", is("1")}, {"SIMPLICITI_CONFIG_HEADER", bare()},
                                       {"SIMPLICITI_DEBUG", bare()}, {"TARGET_IS_TEMPEST_RB1", bare()},
                                       {"rvmdk", bare()}}));
    Folders sourceFolders = target.settings.includePaths.get();
    sourceFolders.insert("C:\\keil\\..\\..\\..\\SimpliciTI-1.1.1\\Components\\debug");
    EXPECT_EQ(source.settings.allIncludeFolders(), sourceFolders);
    EXPECT_EQ(source.listedFiles().at(2), "C:\\keil\\simpliciti_cascade.c");
    EXPECT_TRUE(target.children[1]->settings.empty());
    EXPECT_TRUE(target.children[2]->settings.empty());

    const RealProject cOnly = readRealProject("simpliciti_cascade_options.uvproj", {}, "c");
    EXPECT_EQ(groupSizes(cOnly.target(0)), (std::vector<std::pair<std::string, std::size_t>>{
                                               {"Source", 7}, {"Libraries", 0}, {"Documentation", 0}}));
}

TEST(XmlRealProjects, ArmMemberWithBlanksAroundEquals)
{
    const RealProject project = readRealProject("m2351/Secure/FreeRTOSDemo_s.uvprojx");
    ASSERT_EQ(childNames(project.root()), (std::vector<std::string>{"FreeRTOSDemo_s"}));
    EXPECT_EQ(groupSizes(project.target(0)),
              (std::vector<std::pair<std::string, std::size_t>>{{"Device", 4}, {"Drivers", 3}, {"NSCFunctions", 4},
                                                                {"SecureContext", 4}, {"SecureHeap", 2},
                                                                {"SecureInit", 2}, {"User", 1}}));
    EXPECT_EQ(project.target(0).settings.defines, (Defines{{"DEBUG_PORT", is("UART0")}}));
    EXPECT_EQ(project.target(0).settings.includePaths,
              (Folders{"C:\\keil\\..\\Config", "C:\\keil\\..\\..\\Keil",
                       "C:\\keil\\..\\..\\..\\..\\Common\\ARMv8M\\tz_demo",
                       "C:\\keil\\..\\..\\..\\..\\..\\Source\\portable\\GCC\\ARM_CM23\\secure",
                       "C:\\keil\\..\\..\\..\\Nuvoton_Code\\StdDriver\\inc",
                       "C:\\keil\\..\\..\\..\\Nuvoton_Code\\CMSIS\\Include",
                       "C:\\keil\\..\\..\\..\\Nuvoton_Code\\Device\\Nuvoton\\M2351\\Include"}));
}

TEST(XmlRealProjects, ArmRteStartupFilesAndConfigurationHeader)
{
    const RealProject project = readRealProject("m33f/FreeRTOSDemo_s.uvprojx");
    ASSERT_EQ(childNames(project.root()), (std::vector<std::string>{"FVP Simulation Model"}));
    const SubProject& target = project.target(0);
    // uVision lists ::CMSIS and ::Device without files; the project's copies fill ::Device.
    EXPECT_EQ(groupSizes(target),
              (std::vector<std::pair<std::string, std::size_t>>{{"SecureContext", 4}, {"SecureInit", 2},
                                                                {"SecureHeap", 2}, {"NSCFunctions", 4}, {"User", 1},
                                                                {"::CMSIS", 0}, {"::Device", 4}}));
    const std::string device = "C:\\keil\\RTE\\Device\\ARMCM33_DSP_FP_TZ";
    EXPECT_EQ(target.children[6]->listedFiles(),
              (std::vector<std::string>{device + "\\ARMCM33_ac6_s.sct", device + "\\partition_ARMCM33.h",
                                             device + "\\startup_ARMCM33.c", device + "\\system_ARMCM33.c"}));
    EXPECT_EQ(target.settings.defines, (Defines{{"_RTE_", bare()}}));
    EXPECT_EQ(target.settings.includePaths,
              (Folders{"C:\\keil\\..\\Config", "C:\\keil\\..\\..\\..\\Source\\include",
                       "C:\\keil\\..\\..\\..\\Source\\portable\\GCC\\ARM_CM33\\secure", device,
                       "C:\\keil\\RTE\\_FVP_Simulation_Model"}));
}

// ---------------------------------------------------------------------------------------
// Workspaces and whole runs

// The FolderName values of a project file, in order, and the number of file lines.
struct ProjectOutline {
    std::vector<std::string> folders;
    std::size_t files = 0;
};

ProjectOutline outline(const std::string& prj)
{
    ProjectOutline result;
    std::istringstream in(prj);
    bool inFiles = false;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.starts_with("FolderName="))
            result.folders.push_back(line.substr(11));
        else if (line.starts_with("CompPers="))
            inFiles = true;
        else if (line == "EndContainedFilesMarker")
            inFiles = false;
        else if (inFiles)
            ++result.files;
    }
    return result;
}

TEST(XmlWorkspace, MembersAreListedLikeTextWorkspaceMembers)
{
    const std::string workspace = platform::fromHostPath(testData("xml/m2351/FreeRTOSDemo.uvmpw"));
    Converter converter(workspace, "C:\\out");
    const std::string folder = workspace.substr(0, workspace.rfind('\\'));
    EXPECT_EQ(converter.listKeilProjects(KeilFile::load(workspace)),
              (std::list<std::string>{folder + "\\.\\Secure\\FreeRTOSDemo_s.uvprojx",
                                      folder + "\\.\\Nonsecure\\FreeRTOSDemo_ns.uvprojx"}));
}

TEST(XmlWorkspace, MemberPathsAsWritten)
{
    std::string text =
        "<ProjectWorkspace><WorkspaceName>W</WorkspaceName>"
        "<project><PathAndName>.\\a\\a.uvprojx</PathAndName></project>"
        "<project><PathAndName>\n  ..\\lib\\lib.uvproj\n</PathAndName><NodeIsActive>1</NodeIsActive></project>"
        "<project><PathAndName> </PathAndName></project><project/>"
        "<project><PathAndName>D:\\other\\o.uvprojx</PathAndName></project>"
        "<project><PathAndName>sub/s.Uv2</PathAndName></project>"
        "<Project><PathAndName>not\\a\\member.uvproj</PathAndName></Project>"
        "</ProjectWorkspace>";
    const KeilXmlDocument document(text, "C:\\ws\\all.uvmpw");
    ASSERT_EQ(document.kind(), KeilXmlDocument::Workspace);
    EXPECT_EQ(xmlWorkspaceMembers(document.root(), "C:\\ws"),
              (std::list<std::string>{"C:\\ws\\.\\a\\a.uvprojx", "C:\\ws\\..\\lib\\lib.uvproj",
                                      "D:\\other\\o.uvprojx", "C:\\ws\\sub/s.Uv2"}));
}

TEST(XmlWorkspace, ConvertsMembersInSubfolders)
{
    TemporaryFolder folder;
    fs::create_directory(folder.path() / "out");
    CapturedOutput output;
    // The second member is listed as Nonsecure while its folder is NonSecure.
    ASSERT_EQ(runConverter({testData("xml/m2351/FreeRTOSDemo.uvmpw"), "out", "-cp", "none", "-pn", "demo"}), 0)
        << output.text();
    const ProjectOutline prj = outline(readFile(folder.path() / "out" / "demo.prj"));
    ASSERT_EQ(prj.folders.size(), 18u);
    EXPECT_EQ(std::vector<std::string>(prj.folders.begin() + 1, prj.folders.end()),
              (std::vector<std::string>{"FreeRTOSDemo_s", "FreeRTOSDemo_s", "Device", "Drivers", "NSCFunctions",
                                        "SecureContext", "SecureHeap", "SecureInit", "User", "FreeRTOSDemo_ns",
                                        "FreeRTOSDemo_ns", "Config", "Device", "Drivers", "FreeRTOS", "Demos",
                                        "User"}));
    EXPECT_EQ(prj.files, 20u + 30u);
    const std::string nonSecure = readFile(folder.path() / "out" / prj.folders[0] / "FreeRTOSDemo_ns" / "FreeRTOSDemo_ns"
                                           / "person" / "FreeRTOSDemo_ns.p_a");
    EXPECT_NE(nonSecure.find("DEBUG_PORT=UART0_NS"), std::string::npos);
}

TEST(XmlWorkspace, MembersOfEitherFormatInEitherWorkspace)
{
    TemporaryFolder folder;
    const std::string textProject = "### uVision2 Project, (C) Keil Software\r\n### Do not modify !\r\n\r\n"
                                    "Target (Old)\r\n\r\nGroup (Src)\r\n\r\nFile 1,1,<.\\old.c><old.c>\r\n";
    const std::string xmlProject =
        oneTarget("New", armOptions("NEW", ""), group("Src", file(".\\new1.c") + file("..\\new2.c")));
    writeFile(folder.path() / "ws" / "old" / "old.Uv2", textProject);
    writeFile(folder.path() / "ws" / "new" / "new.uvprojx", xmlProject);
    writeFile(folder.path() / "ws" / "all.mpw", "[WORKSPACE]\r\n  Project=\".\\old\\old.Uv2\"\r\n"
                                                "  Project=\"new\\new.uvprojx\",A\r\n");
    writeFile(folder.path() / "ws" / "all.uvmpw",
              "<?xml version=\"1.0\"?>\n<ProjectWorkspace><WorkspaceName>W</WorkspaceName>"
              "<project><PathAndName>.\\old\\old.Uv2</PathAndName></project><project><PathAndName></PathAndName>"
              "</project><project><PathAndName>new\\new.uvprojx</PathAndName><NodeIsActive>1</NodeIsActive>"
              "</project></ProjectWorkspace>\n");
    for (const char* workspace : {"ws/all.mpw", "ws/all.uvmpw"}) {
        const fs::path out = folder.path() / (std::string("out-") + fs::path(workspace).extension().string().substr(1));
        fs::create_directory(out);
        CapturedOutput output;
        ASSERT_EQ(runConverter({workspace, out.string(), "-cp", "none", "-pn", "all"}), 0) << output.text();
        const ProjectOutline prj = outline(readFile(out / "all.prj"));
        EXPECT_EQ(std::vector<std::string>(prj.folders.begin() + 1, prj.folders.end()),
                  (std::vector<std::string>{"old", "Old", "Src", "new", "New", "Src"}))
            << workspace;
        EXPECT_EQ(prj.files, 3u) << workspace;
    }
}

TEST(XmlRun, MalformedXmlStopsTheRunAndNamesTheFile)
{
    TemporaryFolder folder;
    writeFile(folder.path() / "cut.uvprojx", "<?xml version=\"1.0\"?>\n<Project><Targets><Target><TargetName>A");
    writeFile(folder.path() / "ws.uvmpw", "<ProjectWorkspace><project><PathAndName>m\\bad.uvproj</PathAndName>"
                                          "</project></ProjectWorkspace>");
    writeFile(folder.path() / "m" / "bad.uvproj", "\n\n<Project><Targets></Project>");
    writeFile(folder.path() / "badws.uvmpw", "<ProjectWorkspace><project>");
    fs::create_directory(folder.path() / "out");
    const std::vector<std::string> before = listTree(folder.path());

    struct Case {
        const char* source;
        std::string named;
    } cases[] = {
        {"cut.uvprojx", folder.windowsPath() + "\\cut.uvprojx"},
        {"ws.uvmpw", folder.windowsPath() + "\\m\\bad.uvproj"},
        {"badws.uvmpw", folder.windowsPath() + "\\badws.uvmpw"},
    };
    for (const Case& c : cases) {
        CapturedOutput output;
        EXPECT_EQ(runConverter({c.source, "out", "-cp", "none"}), 1) << c.source;
        ASSERT_FALSE(output.lines().empty());
        EXPECT_EQ(output.lines().back(), "Malformed Keil project file: " + c.named);
        EXPECT_EQ(listTree(folder.path()), before) << c.source;
    }
}

TEST(XmlRun, EmptyUvprojIsNoKeilProject)
{
    TemporaryFolder folder;
    writeFile(folder.path() / "empty.uvproj", "");
    fs::create_directory(folder.path() / "out");
    CapturedOutput output;
    ASSERT_EQ(runConverter({"empty.uvproj", "out", "-cp", "none", "-pn", "e"}), 1);
    EXPECT_EQ(output.lines().back(), "Not a Keil project file: " + folder.windowsPath() + "\\empty.uvproj");
    EXPECT_TRUE(fs::is_empty(folder.path() / "out"));
}

TEST(Packs, VersionsOrderAsNumbersWithSuffixesFirst)
{
    struct Case {
        const char* a;
        const char* b;
        int expected;
    };
    const Case cases[] = {
        {"1.2.0", "1.10.0", -1},
        {"1.10.0-rc1", "1.10.0", -1},
        {"1.10.0-rc1", "1.9.0", 1},
        {"2.0.0-alpha", "2.0.0-beta", -1},
        {"1.0.0-rc.2", "1.0.0-rc.10", -1},
        {"1.2", "1.2.0", -1},
        {"01.2.0", "1.2.0", 0},
        {"1.a", "1.b", -1},
        {"99999999999999999999.0", "100000000000000000000.0", -1},
        {"", "0", -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(compareVersions(c.a, c.b), c.expected) << c.a << " " << c.b;
        EXPECT_EQ(compareVersions(c.b, c.a), -c.expected) << c.b << " " << c.a;
    }
}

TEST(Packs, IdsSplitAtTheFirstTwoDotsAndStayBelowTheRoot)
{
    struct Case {
        const char* text;
        PackId expected;
        bool usable;
    };
    const Case cases[] = {
        {"ARM.CMSIS.5.9.0", {"ARM", "CMSIS", "5.9.0"}, true},
        {"Keil.STM32F1xx_DFP.2.4.1-rc.1", {"Keil", "STM32F1xx_DFP", "2.4.1-rc.1"}, true},
        {"ARM.CMSIS", {"ARM", "CMSIS", ""}, true},
        {"ARM", {"ARM", "", ""}, false},
        {"..\\x.y.1", {"", "", "\\x.y.1"}, false},
        {"a\\b.c.1", {"a\\b", "c", "1"}, false},
        {"a.b.C:\\x", {"a", "b", "C:\\x"}, false},
    };
    for (const Case& c : cases) {
        const PackId id = PackId::fromText(c.text);
        EXPECT_EQ(std::tie(id.vendor, id.name, id.version), std::tie(c.expected.vendor, c.expected.name, c.expected.version)) << c.text;
        EXPECT_EQ(id.usable(), c.usable) << c.text;
    }
}

TEST(Packs, EachDescriptionIsReadOnceAndWhatIsMissingSaidOnce)
{
    const std::string root = windowsForm(fs::path(testData("golden/packs/input/C/packs")));
    PackIndex packs(root);
    CapturedOutput output;
    const PackDescription* first = nullptr;
    for (int member = 0; member < 50; ++member) {
        // The version asked for is not there: both fall back to the same description.
        const PackDescription* fallback = packs.find(PackId::fromText("Acme.Fallback.1.0.0"));
        ASSERT_NE(fallback, nullptr);
        EXPECT_EQ(packs.find(PackId::fromText("Acme.Fallback.1.10.0-rc1")), fallback);
        EXPECT_EQ(packs.find(PackId::fromText("Acme.Fallback")), fallback);
        first = first == nullptr ? fallback : first;
        EXPECT_EQ(fallback, first);
        EXPECT_EQ(packs.find(PackId::fromText("Acme.Missing.1.0.0")), nullptr);
        EXPECT_EQ(packs.find(PackId::fromText("..\\Acme.Chips.1.0.0")), nullptr);
        EXPECT_EQ(packs.find(PackId::fromText("Acme.Broken.1.0.0")), nullptr);
    }
    EXPECT_EQ(first->folder, root + "\\Acme\\Fallback\\1.10.0-rc1");
    EXPECT_EQ(packs.descriptionsRead(), 2u);
    EXPECT_EQ(output.lines(), (std::vector<std::string>{
                                  "Pack not installed: Acme.Missing.1.0.0",
                                  "Pack not installed: ..\\Acme.Chips.1.0.0",
                                  "Malformed pack description: " + root + "\\Acme\\Broken\\1.0.0\\Acme.Broken.pdsc",
                              }));
    EXPECT_EQ(PackIndex("").find(PackId::fromText("Acme.Fallback.1.2.0")), nullptr);
}

// The quoted includes of a converted target that its folders cannot resolve, following every
// header found: listed files look in their own folder first, then in the target's folders.
std::set<std::string> unresolvedIncludes(const fs::path& destination, const std::string& personality)
{
    std::vector<fs::path> folders;
    EXPECT_TRUE(fs::exists(destination / personality)) << personality;
    std::istringstream settings(readFile(destination / personality));
    for (std::string line; std::getline(settings, line);)
        if (line.starts_with("-i \""))
            folders.push_back(platform::hostPath(line.substr(4, line.find('"', 4) - 4)));
    std::vector<fs::path> pending;
    std::istringstream project(readFile(destination / "p.prj"));
    for (std::string line; std::getline(project, line);) {
        line = line.substr(0, line.find('\r'));
        if (!line.empty() && line.find('=') == std::string::npos && !line.ends_with("Marker") && line != "VersionTag45")
            pending.push_back(platform::hostPath(line));
    }
    std::set<fs::path> seen(pending.begin(), pending.end());
    std::set<std::string> unresolved;
    while (!pending.empty()) {
        const fs::path file = pending.back();
        pending.pop_back();
        std::istringstream text(readFile(file));
        for (std::string line; std::getline(text, line);) {
            if (!line.starts_with("#include \""))
                continue;
            const std::string name = line.substr(10, line.find('"', 10) - 10);
            std::vector<fs::path> candidates{file.parent_path() / name};
            for (const fs::path& folder : folders)
                candidates.push_back(folder / name);
            const auto found = std::find_if(candidates.begin(), candidates.end(), [](const fs::path& c) { return fs::exists(c); });
            if (found == candidates.end())
                unresolved.insert(name);
            else if (seen.insert(*found).second)
                pending.push_back(*found);
        }
    }
    return unresolved;
}

TEST(Packs, EveryIncludeOfABlinkyResolvesWithTheTargetsFolders)
{
    // A kernel example as a pack ships it, its RTE copies, and stand-ins for the headers that the
    // real ARM.CMSIS description of the corpus names; the pack root joins the two.
    const fs::path description = corpusFolder() / "packs" / "ARM" / "CMSIS" / "5.9.1" / "ARM.CMSIS.pdsc";
    if (!fs::exists(description))
        GTEST_SKIP() << "no corpus pack at " << description;
    const fs::path example = testData("blinky_rtx5");
    TemporaryFolder folder;
    const fs::path packs = folder.path() / "packs";
    fs::copy(example / "packs", packs, fs::copy_options::recursive);
    fs::copy_file(description, packs / "ARM" / "CMSIS" / "5.9.1" / "ARM.CMSIS.pdsc");
    for (const bool withPacks : {false, true}) {
        const fs::path out = folder.path() / (withPacks ? "with" : "without");
        fs::create_directory(out);
        std::vector<std::string> arguments{(example / "Blinky.uvprojx").string(), out.string(), "-cp", "none", "-pn", "p"};
        if (withPacks)
            arguments.insert(arguments.end(), {"-pack", packs.string()});
        CapturedOutput output;
        ASSERT_EQ(runConverter(arguments), 0) << output.text();
        const std::set<std::string> unresolved = unresolvedIncludes(out, "Blinky.uvp/Simulation/person/Simulation.p_a");
        // uVision generates RTE_Components.h when it builds.
        if (withPacks)
            EXPECT_EQ(unresolved, (std::set<std::string>{"RTE_Components.h"}));
        else
            EXPECT_EQ(unresolved, (std::set<std::string>{"RTE_Components.h", "cmsis_os2.h", "ARMCM3.h", "cmsis_compiler.h", "rtx_os.h"}));
    }
}

TEST(XmlCorpus, EveryXmlProjectAndWorkspaceConverts)
{
    const fs::path corpus = corpusFolder() / "xml";
    if (!fs::is_directory(corpus))
        GTEST_SKIP() << "no corpus at " << corpus;
    std::vector<fs::path> sources;
    for (const auto& entry : fs::recursive_directory_iterator(corpus)) {
        const std::string extension = entry.path().extension().string();
        if (entry.is_regular_file() && (extension == ".uvproj" || extension == ".uvprojx" || extension == ".uvmpw"))
            sources.push_back(entry.path());
    }
    std::sort(sources.begin(), sources.end());
    EXPECT_GE(sources.size(), 47u);

    // With the corpus's pack root, what the installed ARM.CMSIS gives is added and nothing else
    // changes; the other packs are named as not installed.
    const std::string packs = windowsForm(corpusFolder() / "packs");
    const std::string cmsis = packs + "\\ARM\\CMSIS\\5.9.1\\";
    const std::set<std::string> armv8m{"-i \"" + cmsis + "CMSIS\\Core\\Include\"",
                                       "-i \"" + cmsis + "Device\\ARM\\ARMCM33\\Include\"", "-d \"ARMCM33_DSP_FP_TZ\""};
    const std::map<std::string, std::set<std::string>> packLines{
        {"FreeRTOS__FreeRTOS__RTOSDemo.uvprojx",
         {"-i \"" + cmsis + "Device\\ARM\\ARMCM4\\Include\"", "-d \"ARMCM4_FP\""}},
        // Its two members, each read on its own and as the workspace lists them.
        {"FreeRTOSDemo_ns.uvprojx", armv8m},
        {"FreeRTOSDemo_s.uvprojx", armv8m},
        {"FreeRTOSDemo.uvmpw", armv8m},
        {"FreeRTOS__FreeRTOS__Keil_V5_FreeRTOSDemo.uvprojx", {"-i \"" + cmsis + "CMSIS\\Core\\Include\""}},
        {"FreeRTOS__FreeRTOS__Keil_FreeRTOSDemo.uvprojx", {"-i \"" + cmsis + "CMSIS\\Core\\Include\""}},
        {"FreeRTOS__FreeRTOS__MPUDemo.uvprojx", {"-i \"" + cmsis + "CMSIS\\Core\\Include\""}},
    };
    auto lineSet = [](const std::string& text) {
        std::set<std::string> lines;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);)
            lines.insert(line.substr(0, line.find('\r')));
        return lines;
    };

    TemporaryFolder folder;
    std::size_t index = 0;
    std::set<std::string> gained;
    for (const fs::path& source : sources) {
        const fs::path out = folder.path() / ("out" + std::to_string(index));
        const fs::path withPacks = folder.path() / ("packs" + std::to_string(index++));
        fs::create_directory(out);
        fs::create_directory(withPacks);
        CapturedOutput output;
        // Empty files committed under a project's name are named as no Keil project.
        const bool empty = fs::file_size(source) == 0;
        EXPECT_EQ(runConverter({source.string(), out.string(), "-cp", "none", "-pn", "p"}), empty ? 1 : 0)
            << source << "\n" << output.text();
        ASSERT_FALSE(output.lines().empty());
        EXPECT_EQ(output.lines().back(), empty ? "Not a Keil project file: " + windowsForm(source)
                                               : "Ostra/Ostra++ Project Completed!")
            << source;
        // A non-empty project yields at least one target below its root.
        if (source.extension() != ".uvmpw" && !empty) {
            EXPECT_GE(outline(readFile(out / "p.prj")).folders.size(), 2u) << source;
        }

        CapturedOutput packOutput;
        runConverter({source.string(), withPacks.string(), "-cp", "none", "-pn", "p", "-pack", packs});
        std::vector<std::string> linesWithPacks = packOutput.lines();
        std::erase_if(linesWithPacks, [](const std::string& line) { return line.starts_with("Pack not installed: "); });
        std::vector<std::string> expectedLines = output.lines();
        for (std::string& line : expectedLines)
            if (const std::size_t at = line.find(windowsForm(out)); at != std::string::npos)
                line.replace(at, windowsForm(out).size(), windowsForm(withPacks));
        EXPECT_EQ(linesWithPacks, expectedLines) << source;
        const std::vector<std::string> tree = listTree(out);
        ASSERT_EQ(listTree(withPacks), tree) << source;
        const auto pinned = packLines.find(source.filename().string());
        for (const std::string& entry : tree) {
            if (entry.ends_with('/'))
                continue;
            std::string before = readFile(out / entry);
            const std::string after = readFile(withPacks / entry);
            if (!entry.ends_with(".p_a") || pinned == packLines.end()) {
                for (std::size_t at = before.find(windowsForm(out)); at != std::string::npos; at = before.find(windowsForm(out), at))
                    before.replace(at, windowsForm(out).size(), windowsForm(withPacks));
                EXPECT_EQ(after, before) << source << " " << entry;
                continue;
            }
            std::set<std::string> added;
            const std::set<std::string> beforeLines = lineSet(before);
            for (const std::string& line : lineSet(after))
                if (!beforeLines.contains(line))
                    added.insert(line);
            EXPECT_TRUE(std::includes(pinned->second.begin(), pinned->second.end(), added.begin(), added.end())) << source << " " << entry;
            gained.insert(added.begin(), added.end());
        }
    }
    std::set<std::string> expectedGain;
    for (const auto& [file, lines] : packLines)
        expectedGain.insert(lines.begin(), lines.end());
    EXPECT_EQ(gained, expectedGain);
}

}  // namespace
