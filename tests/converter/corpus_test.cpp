// Real Keil files: five pinned by hand, and the whole corpus converted end to end.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "converter.h"
#include "platform.h"
#include "reader/keil_file.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

struct Pinned {
    const char* file;
    std::vector<std::string> targets;
    std::vector<std::string> groups;        // the same under every target
    std::vector<std::size_t> fileCounts;    // per group
    std::vector<std::map<std::string, DefineValue>> defines;  // per target
    std::vector<std::set<std::string>> includes;              // per target
    std::vector<std::pair<std::size_t, std::string>> someFiles;  // group index, a file it holds
    int noTargetMessages;
    // Groups with option blocks of their own: index, and their complete settings.
    std::vector<std::tuple<std::size_t, std::map<std::string, DefineValue>, std::set<std::string>>> groupSettings = {};
};

void PrintTo(const Pinned& pinned, std::ostream* out)
{
    *out << pinned.file;
}

DefineValue plain() { return {"", false}; }
DefineValue empty() { return {"", true}; }

const std::set<std::string> freeRtosIncludes{
    "C:\\work",
    "C:\\work\\..\\Common\\drivers\\LuminaryMicro",
    "C:\\work\\..\\..\\Source\\portable\\RVDS\\ARM_CM3",
    "C:\\work\\..\\..\\Source\\include",
    "C:\\work\\..\\Common\\include",
    "C:\\work\\..\\Common\\ethernet\\uIP\\uip-1.0\\uip",
    "C:\\work\\webserver",
};

const std::set<std::string> rttIncludes{
    "C:\\work\\library\\inc",
    "C:\\work\\library\\src",
    "C:\\work\\..\\stm32",
    "C:\\work\\..\\..\\include",
    "C:\\work\\..\\..\\libcpu\\arm\\stm32",
    "C:\\work\\..\\..\\finsh",
    "C:\\work\\..\\..\\rtgui\\include",
    "C:\\work\\..\\..\\filesystem\\dfs",
    "C:\\work\\..\\..\\filesystem\\dfs\\include",
    "C:\\work\\..\\..\\net\\lwip\\src",
    "C:\\work\\..\\..\\net\\lwip\\src\\include",
    "C:\\work\\..\\..\\net\\lwip\\src\\arch\\include",
    "C:\\work\\..\\..\\net\\lwip\\src\\include\\ipv4",
    "C:\\work\\..\\..\\filesystem\\dfs\\filesystems\\efsl\\src\\include",
    "C:\\work\\..\\..\\filesystem\\dfs\\filesystems\\efsl\\src\\base\\include",
    "C:\\work\\..\\..\\filesystem\\dfs\\filesystems\\efsl\\src\\fs\\vfat\\include",
};

const Pinned pinned[] = {
    {"stm32-periph__stm32f10__project_RVMDK_Project.Uv2",
     {"BOOT_FLASH", "BOOT_RAM"},
     {"User", "FWLib", "RVMDK", "Doc"},
     {2, 20, 2, 1},
     {{{"VECT_TAB_FLASH", plain()}}, {{"VECT_TAB_RAM", plain()}}},
     {{"C:\\work\\..\\..\\project", "C:\\work\\..\\..\\library\\inc"},
      {"C:\\work\\..\\..\\project", "C:\\work\\..\\..\\library\\inc"}},
     {{0, "C:\\work\\..\\main.c"}, {3, "C:\\work\\readme.txt"}},
     0},
    {"cjpl__midas__subm_260.Uv2",
     {"Download", "Simulation"},
     {"Source Files", "Header Files", "Libraries"},
     {2, 2, 1},
     {{{"SUBM_260", plain()}}, {{"SUBM_260", plain()}}},
     {{"C:\\midas\\mscb\\embedded"}, {"C:\\midas\\mscb\\embedded"}},
     {{0, "C:\\work\\..\\embedded\\mscbutil.c"}, {2, "C:\\work\\netlib.LIB"}},
     0},
    {"swiftgeek__t2k-c8051__loader.Uv2",
     {"Target 1"},
     {"Source Group 1"},
     {8},
     {{{"LOADER", plain()}, {"L_FEB64", plain()}, {"_PCA9539_", plain()}}},
     {{}},
     {{0, "C:\\work\\Protocols\\SMBus_handler.c"}},
     0},
    {"FreeRTOS__FreeRTOS__CORTEX_LM3Sxxxx_IAR_Keil_RTOSDemo.Uv2",
     {"FreeRTOS_Demo"},
     {"Demo_Source", "Libraries", "RTOS_Source", "uIP_Source"},
     {13, 3, 5, 10},
     {{{"RVDS_ARMCM3_LM3S102", plain()}, {"PACK_STRUCT_END", empty()}, {"ALIGN_STRUCT_END", empty()}}},
     {freeRtosIncludes},
     {{3, "C:\\work\\webserver\\emac.c"}},
     0},
    {"wizardxbl__rtt-stm32f10x__stm32_project.Uv2",
     {"RT-Thread/STM32"},
     {"Startup", "Library", "Kernel", "STM32", "finsh", "Filesystem", "LwIP", "GoAhead"},
     {11, 24, 13, 8, 13, 17, 36, 27},
     {{}},  // the only defines stand in a group block
     {rttIncludes},
     {{7, "C:\\work\\..\\..\\net\\webserver\\RTT\\main.c"}},
     0,
     {{7,
       {{"WEBS", plain()}, {"UEMF", plain()}, {"RTT", plain()}, {"__NO_FCNTL", {"1", true}},
        {"USER_MANAGEMENT_SUPPORT", plain()}},
       [] {
           std::set<std::string> folders = rttIncludes;
           folders.insert("C:\\work\\..\\..\\net\\webserver");
           return folders;
       }()}}},
};

class PinnedCorpusFile : public ::testing::TestWithParam<Pinned> {};

TEST_P(PinnedCorpusFile, ReadsAsCheckedByHand)
{
    const Pinned& p = GetParam();
    ReadingSetup setup("p");

    CapturedOutput output;
    const std::string text = readFile(testData("text/") + p.file);
    ASSERT_FALSE(text.empty());
    parseText(setup, text);

    const std::string noTarget =
        "Couldnt find target for options, or options apply to a group which is currently not supported\n";
    std::string expectedOutput;
    for (int i = 0; i < p.noTargetMessages; ++i)
        expectedOutput += noTarget;
    EXPECT_EQ(output.text(), expectedOutput);

    const auto& targets = setup.root.children;
    ASSERT_EQ(targets.size(), p.targets.size());
    for (std::size_t t = 0; t < targets.size(); ++t) {
        const SubProject& target = *targets[t];
        EXPECT_EQ(target.name, p.targets[t]);
        ASSERT_EQ(target.children.size(), p.groups.size());
        for (std::size_t g = 0; g < p.groups.size(); ++g) {
            EXPECT_EQ(target.children[g]->name, p.groups[g]);
            EXPECT_EQ(target.children[g]->listedFiles().size(), p.fileCounts[g]) << p.groups[g];
        }
        for (const auto& [group, file] : p.someFiles) {
            const std::vector<std::string> files = target.children[group]->listedFiles();
            EXPECT_NE(std::find(files.begin(), files.end(), file), files.end()) << file;
        }
        EXPECT_EQ(target.settings.defines, p.defines[t]) << target.name;
        EXPECT_EQ(target.settings.includePaths, p.includes[t]) << target.name;
        std::size_t withSettings = 0;
        for (const SubProject* group : target.children)
            withSettings += group->settings.empty() ? 0 : 1;
        EXPECT_EQ(withSettings, p.groupSettings.size());
        for (const auto& [group, defines, includes] : p.groupSettings) {
            EXPECT_EQ(target.children[group]->settings.allDefines(), defines);
            EXPECT_EQ(target.children[group]->settings.allIncludeFolders(), includes);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Text, PinnedCorpusFile, ::testing::ValuesIn(pinned),
                         [](const ::testing::TestParamInfo<Pinned>& info) {
                             std::string name = info.param.file;
                             std::replace_if(name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
                             return name;
                         });

// Converts one corpus file into a fresh destination; returns status and the output lines.
std::pair<int, std::vector<std::string>> convert(const fs::path& source)
{
    TemporaryFolder destination;
    CapturedOutput output;
    const int status = runConverter({source.string(), destination.path().string(), "-cp", "none.p_c", "-pn", "p"});
    return {status, output.lines()};
}

TEST(Corpus, EveryTextProjectConverts)
{
    const fs::path folder = corpusFolder() / "text";
    if (!fs::is_directory(folder))
        GTEST_SKIP() << "corpus not found at " << folder;
    int converted = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const auto [status, lines] = convert(entry.path());
        EXPECT_EQ(status, 0) << entry.path();
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.back(), "Ostra/Ostra++ Project Completed!") << entry.path();
        ++converted;
    }
    EXPECT_EQ(converted, 52);
}

TEST(Corpus, EveryWorkspaceConvertsOrNamesItsMissingMember)
{
    const fs::path folder = corpusFolder() / "workspace";
    if (!fs::is_directory(folder))
        GTEST_SKIP() << "corpus not found at " << folder;
    int workspaces = 0;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.path().extension() != ".mpw")
            continue;
        ++workspaces;
        const auto [status, lines] = convert(entry.path());
        ASSERT_FALSE(lines.empty());
        if (entry.path().filename() == "dk-lm3s9b96.mpw") {
            // It lists ..\..\IQmath\IQmath.Uv2, which its repository does not hold.
            EXPECT_EQ(status, 1);
            EXPECT_EQ(lines.back(), "Could not open file: " + windowsForm(entry.path().parent_path()) +
                                        "\\..\\..\\IQmath\\IQmath.Uv2");
        } else {
            EXPECT_EQ(status, 0) << entry.path();
            EXPECT_EQ(lines.back(), "Ostra/Ostra++ Project Completed!") << entry.path();
        }
    }
    EXPECT_EQ(workspaces, 5);
}

TEST(Corpus, WorkspacesExpandToTheirMembers)
{
    const fs::path workspace = corpusFolder() / "workspace" / "ShifengHuGit__CanBusPower" / "boards" / "ek-lm3s8962" / "ek-lm3s8962.mpw";
    if (!fs::exists(workspace))
        GTEST_SKIP() << "corpus not found at " << workspace;
    Converter converter(windowsForm(workspace), "C:\\out");
    const std::list<std::string> members = converter.listKeilProjects(KeilFile::load(converter.sourcePath));
    const std::string folder = windowsForm(workspace.parent_path());
    ASSERT_EQ(members.size(), 29u);
    EXPECT_EQ(members.front(), folder + "\\..\\..\\driverlib\\driverlib.Uv2");
    EXPECT_EQ(*std::next(members.begin()), folder + "\\.\\aes_expanded_key\\aes_expanded_key.Uv2");
    for (const std::string& member : members) {
        std::string content;
        EXPECT_TRUE(platform::readWholeFile(member, content)) << member;
    }
}

}  // namespace
