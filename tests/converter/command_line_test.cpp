// Tests of the command line: usage, absolute paths, default names and the option scan.
#include "command_line.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "converter.h"
#include "platform.h"
#include "test_support.h"

namespace {

TEST(MakeAbsolutePath, FollowsTheCurrentFolder)
{
    std::string cwd;
    ASSERT_TRUE(platform::currentFolder(cwd));
    struct Case {
        const char* input;
        std::string expected;
    } cases[] = {
        {"blinky.uv2", cwd + "\\blinky.uv2"},
        {"out", cwd + "\\out"},
        {".", cwd},
        {"..\\x", cwd + "\\..\\x"},
        {"", cwd + "\\"},
        {"x\\", cwd + "\\x\\"},
        {"C:\\abs", "C:\\abs"},
        {"C:\\", "C:\\"},
        {"\\rooted", "\\rooted"},
        {"\\\\server\\share", "\\\\server\\share"},
        // Drive-relative: every drive's current folder is the process's own on POSIX.
        {"D:src", cwd + "\\src"},
        {"D:", cwd + "\\"},
        // On POSIX "/" is how people type separators; an absolute path stays absolute.
        {"/tmp/x", "\\tmp\\x"},
        {"examples/p.uv2", cwd + "\\examples\\p.uv2"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(makeAbsolutePath(c.input), c.expected) << c.input;
}

TEST(MakeAbsolutePath, CurrentFolderOfAnyLength)
{
    TemporaryFolder temporary;
    std::filesystem::path deep = temporary.path();
    for (int i = 0; i < 12; ++i)
        deep /= std::string(30, static_cast<char>('a' + i));
    std::filesystem::create_directories(deep);
    std::filesystem::current_path(deep);
    const std::string expected = windowsForm(deep);
    ASSERT_GT(expected.size(), 300u);
    EXPECT_EQ(makeAbsolutePath("p.uv2"), expected + "\\p.uv2");
}

TEST(MakeAbsolutePath, RemovedCurrentFolderIsReportedNotGuessed)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows does not remove a folder that is some process's current folder";
#else
    TemporaryFolder temporary;
    const std::filesystem::path gone = temporary.path() / "gone";
    std::filesystem::create_directory(gone);
    std::filesystem::current_path(gone);
    std::filesystem::remove(gone);
    CapturedOutput output;
    EXPECT_EQ(runConverter({"p.uv2", "out", "-cp", "c.p_c"}), 1);
    EXPECT_EQ(output.lines(), std::vector<std::string>{"Could not determine the current folder"});
    EXPECT_EQ(runConverter({"\\abs\\p.uv2", "D:", "-cp", "c.p_c"}), 1);
#endif
}

TEST(DefaultProjectName, CutsExtensionAndInnerSuffix)
{
    struct Case {
        const char* source;
        const char* expected;
    } cases[] = {
        {"C:\\work\\blinky.uv2", "blinky"},
        {"C:\\work\\blinky.rev.uv2", "blinky"},
        {"C:\\my.dir\\blinky.uv2", "blinky"},
        {"C:\\work\\blinky", "blinky"},
        {"C:\\my.dir\\blinky", "my"},
        {"C:\\work\\all.mpw", "all"},
        {"C:\\work\\.uv2", ""},
        {"noseparator.uv2", "noseparator"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(defaultProjectName(c.source), c.expected) << c.source;
}

TEST(RootName, IsTheFileNameLessFourCharacters)
{
    struct Case {
        const char* source;
        const char* expected;
    } cases[] = {
        {"C:\\work\\blinky.uv2", "blinky"},
        {"C:\\work\\all.mpw", "all"},
        {"C:\\work\\blinky.uvproj", "blinky.uv"},
        {"C:\\work\\abc", "abc"},
        {"C:\\work\\abcd", ""},
        {"blinky.uv2", "blinky"},
        {"C:\\work\\", ""},
    };
    for (const Case& c : cases) {
        Converter converter(c.source, "C:\\out");
        EXPECT_EQ(converter.root->name, c.expected) << c.source;
        EXPECT_EQ(converter.root->owner, &converter);
    }
}

TEST(AddExtensions, KeepsEveryPieceAsWritten)
{
    struct Case {
        std::vector<std::string> values;
        std::list<std::string> expected;
    } cases[] = {
        {{"c,cpp"}, {"c", "cpp"}},
        {{"c,cpp", "h"}, {"c", "cpp", "h"}},
        {{"c,,h"}, {"c", "", "h"}},
        {{"c,"}, {"c", ""}},
        {{""}, {""}},
        {{",c"}, {"", "c"}},
        {{" c , .h"}, {" c ", " .h"}},
    };
    for (const Case& c : cases) {
        RunSettings settings;
        for (const std::string& value : c.values)
            settings.addExtensions(value);
        EXPECT_EQ(settings.extensions, c.expected) << c.values.front();
    }
}

struct Scanned {
    std::string projectName;
    std::string messagePersonality;
    std::string analyserPersonality;
    std::string compilerPersonality;
    std::list<std::string> extensions;
    std::string packRoot;  // the one the run would use
};

Scanned scan(std::vector<std::string> arguments)
{
    arguments.insert(arguments.begin(), "Tamsel");
    RunSettings settings;
    settings.sourcePath = makeAbsolutePath(arguments[1]);
    settings.destinationFolder = makeAbsolutePath(arguments[2]);
    settings.projectName = "default";
    applyOptions(settings, arguments);
    // The run object takes the settings over as they are.
    const Converter converter(settings);
    return {converter.projectName, converter.messagePersonality, converter.analyserPersonality,
            converter.compilerPersonality, converter.extensions, converter.effectivePackRoot()};
}

TEST(ApplyOptions, ScansOneStepAtATime)
{
    std::string cwd;
    ASSERT_TRUE(platform::currentFolder(cwd));

    Scanned all = scan({"p.uv2", "out", "-cp", "c.p_c", "-pn", "name", "-mp", "m.p_s", "-ap", "a.p_a", "-ext", "c,h"});
    EXPECT_EQ(all.projectName, "name");
    EXPECT_EQ(all.compilerPersonality, cwd + "\\c.p_c");
    EXPECT_EQ(all.messagePersonality, cwd + "\\m.p_s");
    EXPECT_EQ(all.analyserPersonality, cwd + "\\a.p_a");
    EXPECT_EQ(all.extensions, (std::list<std::string>{"c", "h"}));

    // The value an option took is an argument of the next step.
    Scanned chained = scan({"p.uv2", "out", "-pn", "-cp", "comp.p_c"});
    EXPECT_EQ(chained.projectName, "-cp");
    EXPECT_EQ(chained.compilerPersonality, cwd + "\\comp.p_c");

    EXPECT_EQ(scan({"p.uv2", "out", "x", "-pn", ""}).projectName, "");
    EXPECT_EQ(scan({"p.uv2", "out", "-pn", "a", "-pn", "b"}).projectName, "b");
    EXPECT_EQ(scan({"p.uv2", "out", "-ext", "c,cpp", "-ext", "h"}).extensions,
              (std::list<std::string>{"c", "cpp", "h"}));

    // Only whole, case-exact option names count; a trailing option has no value.
    EXPECT_EQ(scan({"p.uv2", "out", "-pnx", "a", "-PN", "b"}).projectName, "default");
    EXPECT_EQ(scan({"p.uv2", "out", "x", "-pn"}).projectName, "default");
    EXPECT_EQ(scan({"p.uv2", "out", "x", "-cp"}).compilerPersonality, "");

    // Positional arguments take part in the scan.
    EXPECT_EQ(scan({"-pn", "out", "x"}).projectName, "out");
}

TEST(ApplyOptions, PackRootFromTheOptionElseTheEnvironment)
{
    std::string cwd;
    ASSERT_TRUE(platform::currentFolder(cwd));
    const std::string hostDefault = platform::defaultPackRoot();
    struct Case {
        std::optional<std::string> environment;
        std::vector<std::string> arguments;
        std::string expected;
    };
    const Case cases[] = {
        {std::nullopt, {"p.uvprojx", "out"}, hostDefault},
        {"", {"p.uvprojx", "out"}, hostDefault},
        {"env", {"p.uvprojx", "out"}, cwd + "\\env"},
        {"env", {"p.uvprojx", "out", "-pack", "packs"}, cwd + "\\packs"},
        {std::nullopt, {"p.uvprojx", "out", "-pack", "a", "-pack", "b"}, cwd + "\\b"},
        {std::nullopt, {"p.uvprojx", "out", "-pack", "D:\\Packs"}, "D:\\Packs"},
        {std::nullopt, {"p.uvprojx", "out", "-pack"}, hostDefault},
    };
    for (const Case& c : cases) {
        const ScopedVariable variable("CMSIS_PACK_ROOT", c.environment);
        EXPECT_EQ(scan(c.arguments).packRoot, c.expected) << c.environment.value_or("(unset)") << " " << c.arguments.back();
    }
}

TEST(RunTamsel, FewerThanThreeArgumentsPrintsUsageAndFails)
{
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{}, {"a"}, {"a", "b"}}) {
        CapturedOutput output;
        EXPECT_EQ(runConverter(arguments), 1);
        EXPECT_EQ(output.text(),
                  "Usage: Tamsel <source_proj> <dest_folder> -cp <compiler_personality> [-pn dest_proj_name]\n"
                  "[-mp message_personality] [-ap analyser_personality] [-ext file_extension]\n");
    }
}

TEST(RunTamsel, ThreeArgumentsWithoutCompilerPersonalityRun)
{
    TemporaryFolder folder;
    writeFile(folder.path() / "blinky.uv2", "Target (T)\r\n");
    std::filesystem::create_directory(folder.path() / "out");
    CapturedOutput output;
    EXPECT_EQ(runConverter({"blinky.uv2", "out", "x"}), 0);
    const std::vector<std::string> lines = output.lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "Could not open file: ");
    EXPECT_EQ(lines.back(), "Ostra/Ostra++ Project Completed!");
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "out" / "blinky.prj"));
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "out" / "person" / "blinky.p_c"));
}

}  // namespace
