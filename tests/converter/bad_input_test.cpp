// Bad input of every kind through the whole program: each case ends with its one clear line and
// the right status, never a crash or a hang, and a failed read leaves the destination empty.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <chrono>
#include <climits>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "errors.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

struct RunResult {
    int status = -1;
    std::vector<std::string> lines;
};

RunResult convert(const std::vector<std::string>& arguments)
{
    CapturedOutput output;
    RunResult result;
    result.status = runConverter(arguments);
    result.lines = output.lines();
    return result;
}

#ifndef _WIN32
// Root ignores file permissions, so permission cases run in a child that has given up root
// for the unprivileged user; everything the run needs is made reachable for it first.
RunResult convertWithoutPrivileges(const std::vector<std::string>& arguments, const fs::path& work)
{
    if (::geteuid() != 0)
        return convert(arguments);
    constexpr uid_t nobody = 65534;
    for (const auto& entry : fs::recursive_directory_iterator(work))
        if (::lchown(entry.path().c_str(), nobody, nobody) != 0)
            ADD_FAILURE() << "cannot hand " << entry.path() << " to the unprivileged user";
    if (::chown(work.c_str(), nobody, nobody) != 0)
        ADD_FAILURE() << "cannot hand " << work << " to the unprivileged user";

    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        if (::setgid(nobody) != 0 || ::setuid(nobody) != 0)
            ::_exit(99);
        CapturedOutput output;
        const int status = runConverter(arguments);
        const std::string text = output.text();
        const char code = static_cast<char>(status);
        if (::write(pipeEnds[1], &code, 1) != 1 || ::write(pipeEnds[1], text.data(), text.size()) < 0)
            ::_exit(98);
        ::_exit(0);
    }
    ::close(pipeEnds[1]);
    std::string received;
    char buffer[4096];
    for (ssize_t count; (count = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        received.append(buffer, static_cast<std::size_t>(count));
    ::close(pipeEnds[0]);
    int childStatus = 0;
    ::waitpid(child, &childStatus, 0);
    EXPECT_TRUE(WIFEXITED(childStatus) && WEXITSTATUS(childStatus) == 0) << "the unprivileged child failed";
    RunResult result;
    if (received.empty())
        return result;
    result.status = received[0];
    for (std::size_t start = 1; start < received.size();) {
        const std::size_t end = received.find('\n', start);
        result.lines.push_back(received.substr(start, end - start));
        start = end == std::string::npos ? received.size() : end + 1;
    }
    return result;
}
#endif

// The lines of a run that read one Keil project named root and wrote the groups given.
std::vector<std::string> successLines(const std::vector<std::string>& groups)
{
    std::vector<std::string> lines{message::creatingProject};
    for (const std::string& group : groups)
        lines.push_back(message::creatingGroup + group);
    lines.emplace_back(message::projectCompleted);
    return lines;
}

// A destination for the runs that write hundreds of megabytes: in memory where the machine has
// such a file system, so that the disk's speed does not decide the test's time.
class ScratchDestination {
public:
    explicit ScratchDestination(const fs::path& fallback)
    {
        std::error_code none;
        const fs::path memory = "/dev/shm";
        const fs::path parent = fs::is_directory(memory, none) ? memory : fallback;
        folder = parent / ("tamsel-many-" + fallback.filename().string());
        fs::create_directories(folder);
    }
    ~ScratchDestination()
    {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    const fs::path& path() const { return folder; }

private:
    fs::path folder;
};

// A fixture with a working folder W holding an empty compiler personality and an empty
// destination out, so that every message a case prints is its own.
class BadInput : public ::testing::Test {
protected:
    void SetUp() override
    {
        writeFile(work.path() / "c.p_c", "");
        fs::create_directory(destination());
    }

    fs::path destination() const { return work.path() / "out"; }
    std::string windows(const std::string& relative) const { return work.windowsPath() + "\\" + relative; }

    RunResult convertProject(const std::string& text, std::vector<std::string> extra = {})
    {
        writeFile(work.path() / "p.uv2", text);
        std::vector<std::string> arguments{"p.uv2", "out", "-cp", "c.p_c"};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        return convert(arguments);
    }

    void expectDestinationEmpty() const { EXPECT_TRUE(fs::is_empty(destination())) << "a failed read wrote output"; }

    TemporaryFolder work;
};

// Bytes with NULs and every other value, made so that no keyword of the reader occurs.
std::string binaryGarbage(std::size_t size)
{
    std::string bytes;
    std::uint32_t state = 12345;
    while (bytes.size() < size) {
        state = state * 1103515245u + 12345u;
        const char c = static_cast<char>(state >> 24);
        if (c != '(' && c != ' ' && c != '<')
            bytes += c;
    }
    bytes[0] = 'G';  // not an XML document either
    return bytes;
}

struct ProjectCase {
    const char* name;
    std::string text;
    int status;
    std::vector<std::string> lines;
};

TEST_F(BadInput, KeilProjectTexts)
{
    const std::string eof = message::unexpectedEof;
    const ProjectCase cases[] = {
        {"empty file", "", 1, {message::notKeilProject + windows("p.uv2")}},
        {"binary garbage with NUL bytes", binaryGarbage(64 * 1024), 1, {message::notKeilProject + windows("p.uv2")}},
        {"NUL bytes around the records", std::string("\0\0Target (T)\0\n\0Group (G)\n", 25), 0,
         successLines({"p", "T", "G"})},
        {"Target ( without )", "Target (Board A\r\nGroup (G\r\n", 0, successLines({"p", "Board A", "G"})},
        {") before Target (", "x) Target (T\nGroup (G)\n", 0, successLines({"p", "T", "G"})},
        {"ends inside an option block", "Target (T)\nGroup (G)\nOptions 1,0,0  // Target 'T'\n C51DEF (X)\n", 1,
         {eof}},
        {"ends on the option line", "Target (T)\nOptions 1,0,0  // Target 'T'", 1, {eof}},
        {"option block of an unknown target ends the file", "Target (T)\nOptions 1,0,0  // Target 'X'\n C51DEF (A)\n",
         0, [] {
             std::vector<std::string> lines{message::noTargetForOptions};
             for (const std::string& line : successLines({"p", "T"}))
                 lines.push_back(line);
             return lines;
         }()},
        {"file line before any group", "Target (T)\nFile 1,1,<a.c>\nGroup (G)\n", 0, successLines({"p", "T", "G"})},
        {"absurd group numbers", "Target (T)\nGroup (G)\nFile 99999999999999999999999,1,<a.c>\nFile -1,1,<b.c>\n",
         0, successLines({"p", "T", "G"})},
        {"XML that does not parse", "<?xml version=\"1.0\"?>\n<Project><Targets>", 1,
         {message::malformedXml + windows("p.uv2")}},
    };
    for (const ProjectCase& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(destination());
        fs::create_directory(destination());
        const RunResult result = convertProject(c.text);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.lines, c.lines);
        if (c.status == 1)
            expectDestinationEmpty();
    }
}

TEST_F(BadInput, NulByteInANameNamesNoFolder)
{
    const std::string name("A\0B", 3);
    const RunResult result = convertProject("Target (" + name + ")\nGroup (G)\n");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.lines, (std::vector<std::string>{message::couldNotCreateDirectory + windows("out\\p\\") + name}));
    EXPECT_FALSE(fs::exists(destination() / "p" / "A")) << "the name was cut at its NUL byte";
}

TEST_F(BadInput, TenMegabyteLines)
{
    const std::string huge(10 * 1024 * 1024, 'x');
    const RunResult skipped = convertProject(huge + "\nTarget (T)\nGroup (G)\n");
    EXPECT_EQ(skipped.status, 0);
    EXPECT_EQ(skipped.lines, successLines({"p", "T", "G"}));

    fs::remove_all(destination());
    fs::create_directory(destination());
    const RunResult named = convertProject("Target (" + huge);
    EXPECT_EQ(named.status, 1);
    ASSERT_EQ(named.lines.size(), 1u);
    EXPECT_EQ(named.lines[0], message::couldNotCreateDirectory + windows("out\\p\\") + huge);
}

TEST_F(BadInput, NamesOfFiveThousandBytes)
{
    const std::string name(5000, 'n');
    const RunResult target = convertProject("Target (" + name + ")\n");
    EXPECT_EQ(target.status, 1);
    EXPECT_EQ(target.lines, (std::vector<std::string>{message::couldNotCreateDirectory + windows("out\\p\\") + name}));

    // A project name longer than a file name may be: the project file cannot be made.
    const RunResult project = convertProject("Target (T)\n", {"-pn", name});
    EXPECT_EQ(project.status, 1);
    EXPECT_EQ(project.lines, (std::vector<std::string>{message::couldNotWrite + windows("out\\") + name + ".prj"}));
}

TEST_F(BadInput, FolderPathLongerThanTheSystemTakes)
{
#ifdef _WIN32
    GTEST_SKIP() << "POSIX permissions, pipes, devices and path limits";
#else
    // A target name with slashes nests folders; each part fits a file name, the whole does not
    // fit a path. The first leading folder past PATH_MAX is the one reported.
    const std::string part(200, 'd');
    std::string name = part;
    for (int i = 1; i < 30; ++i)
        name += "/" + part;
    const std::string base = windows("out\\p\\");
    std::size_t cut = part.size();
    while (base.size() + cut < PATH_MAX)
        cut += 1 + part.size();

    const RunResult result = convertProject("Target (" + name + ")\n");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.lines, (std::vector<std::string>{message::couldNotCreateDirectory + base + name.substr(0, cut)}));

    // A personality whose own path fits, while the temporary name beside it would not: the
    // check pass refuses it, and nothing is written.
    std::string deep;
    while (base.size() + deep.size() + part.size() + 40 < PATH_MAX)
        deep += part + "/";
    // The person folder's path ends PATH_MAX - 10 bytes in: "x.p_a" fits behind it, a
    // temporary name of 28 bytes does not.
    deep += std::string(PATH_MAX - 20 - base.size() - deep.size(), 'e') + "/x";
    const std::string person = base + deep + "\\person\\";
    ASSERT_EQ(person.size(), static_cast<std::size_t>(PATH_MAX - 10));
    fs::remove_all(destination());
    fs::create_directory(destination());
    const RunResult tooDeep =
        convertProject("Target (" + deep + ")\nOptions 1,0,0  // Target '" + deep + "'\n C51DEF (X)\nEndOpt\n");
    EXPECT_EQ(tooDeep.status, 1);
    EXPECT_EQ(tooDeep.lines, (std::vector<std::string>{message::couldNotWrite + person + "x.p_a"}));
    expectDestinationEmpty();
#endif
}

std::size_t occurrences(const std::string& text, const std::string& piece)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1))
        ++count;
    return count;
}

// No time limits on the runs below: CTest's timeout stands for a hang, and a slow machine or a
// sanitizer build must not fail them.
TEST_F(BadInput, ManyTargetsTimesFewGroups)
{
    // Targets of one name each get a folder of their own (T, T (2), ...): seven folders each.
    constexpr unsigned targets = 30000;
    std::string text;
    for (unsigned i = 0; i < targets; ++i)
        text += "Target (T)\r\n";
    text += "Group (A)\r\nGroup (B)\r\nFile 2,1,<.\\b.c>\r\n";
    writeFile(work.path() / "p.uv2", text);
    const ScratchDestination scratch(work.path());
    const RunResult result = convert({"p.uv2", scratch.path().string(), "-cp", "c.p_c"});
    EXPECT_EQ(result.status, 0);
    // The root, the targets and two groups under each.
    EXPECT_EQ(result.lines.size(), 2u + 1u + targets * 3u);
    EXPECT_EQ(result.lines.at(2 + 3 * (targets - 1)), "  Creating Group - T (30000)");
    const std::string project = readFile(scratch.path() / "p.prj");
    EXPECT_EQ(occurrences(project, "StartProjectMarker"), 1u + targets * 3u);
    EXPECT_EQ(occurrences(project, "\\b.c\r\n"), targets) << "group B of every target holds the file";
}

TEST_F(BadInput, FewTargetsTimesManyGroups)
{
    std::string text = "Target (T1)\nTarget (T2)\n";
    for (int i = 0; i < 100000; ++i)
        text += "Group (G)\n";
    text += "File 100000,1,<last.c>\nFile 100001,1,<none.c>\n";
    writeFile(work.path() / "p.uv2", text);
    const ScratchDestination scratch(work.path());
    const RunResult result = convert({"p.uv2", scratch.path().string(), "-cp", "c.p_c"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.lines.size(), 2u + 1u + 2u * 100001u);
    const std::string project = readFile(scratch.path() / "p.prj");
    EXPECT_EQ(occurrences(project, "\\last.c\r\nEndContainedFilesMarker\r\nEndSubProjectMarker\r\n"), 2u);
    EXPECT_EQ(occurrences(project, "none.c"), 0u);
}

TEST_F(BadInput, ManyTargetsEachWithOptions)
{
    // Every option block looks its target up by name. A pass over all targets per block took
    // minutes here; the limit is far above the linear time even under the sanitizers.
    std::string text;
    for (int i = 0; i < 100000; ++i)
        text += "Target (T" + std::to_string(i) + ")\n";
    for (int i = 0; i < 100000; ++i)
        text += "Options 1,0,0  // Target 'T" + std::to_string(i) + "'\n C51DEF (X)\nEndOpt\n";
    writeFile(work.path() / "p.uv2", text);
    // A missing destination makes the run stop right after reading: only reading is timed.
    const auto start = std::chrono::steady_clock::now();
    const RunResult result = convert({"p.uv2", "missing", "-cp", "c.p_c"});
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.lines, (std::vector<std::string>{message::couldNotWrite + windows("missing\\p.prj")}));
}

TEST_F(BadInput, Destinations)
{
    writeFile(work.path() / "p.uv2", "Target (T)\n");
    writeFile(work.path() / "file", "not a folder");

    const RunResult toFile = convert({"p.uv2", "file", "-cp", "c.p_c"});
    EXPECT_EQ(toFile.status, 1);
    EXPECT_EQ(toFile.lines, (std::vector<std::string>{message::couldNotWrite + windows("file\\p.prj")}));
    EXPECT_EQ(readFile(work.path() / "file"), "not a folder");

    const RunResult toMissing = convert({"p.uv2", "missing", "-cp", "c.p_c"});
    EXPECT_EQ(toMissing.status, 1);
    EXPECT_EQ(toMissing.lines, (std::vector<std::string>{message::couldNotWrite + windows("missing\\p.prj")}));
    EXPECT_FALSE(fs::exists(work.path() / "missing")) << "the writer never makes the destination itself";
}

TEST_F(BadInput, ReadOnlyDestination)
{
#ifdef _WIN32
    GTEST_SKIP() << "POSIX permissions, pipes, devices and path limits";
#else
    writeFile(work.path() / "p.uv2", "Target (T)\n");
    fs::permissions(destination(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                       fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    const RunResult result = convertWithoutPrivileges({"p.uv2", "out", "-cp", "c.p_c"}, work.path());
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.lines, (std::vector<std::string>{message::couldNotWrite + windows("out\\p.prj")}));
    EXPECT_TRUE(fs::is_empty(destination()));
#endif
}

TEST_F(BadInput, UnreadableInputs)
{
#ifdef _WIN32
    GTEST_SKIP() << "POSIX permissions, pipes, devices and path limits";
#else
    writeFile(work.path() / "p.uv2", "Target (T)\n");
    writeFile(work.path() / "all.mpw", "Project=p.uv2\n");
    fs::permissions(work.path() / "p.uv2", fs::perms::none);

    const RunResult project = convertWithoutPrivileges({"p.uv2", "out", "-cp", "c.p_c"}, work.path());
    EXPECT_EQ(project.status, 1);
    EXPECT_EQ(project.lines, (std::vector<std::string>{message::couldNotOpen + windows("p.uv2")}));

    const RunResult member = convertWithoutPrivileges({"all.mpw", "out", "-cp", "c.p_c"}, work.path());
    EXPECT_EQ(member.status, 1);
    EXPECT_EQ(member.lines, (std::vector<std::string>{message::couldNotOpen + windows("p.uv2")}));

    // An unreadable compiler personality is reported and the run goes on.
    EXPECT_TRUE(fs::is_empty(destination())) << "a failed read wrote output";
    fs::permissions(work.path() / "p.uv2", fs::perms::owner_read);
    fs::permissions(work.path() / "c.p_c", fs::perms::none);
    const RunResult personality = convertWithoutPrivileges({"p.uv2", "out", "-cp", "c.p_c"}, work.path());
    EXPECT_EQ(personality.status, 0);
    std::vector<std::string> expected{message::couldNotOpen + windows("c.p_c")};
    for (const std::string& line : successLines({"p", "T"}))
        expected.push_back(line);
    EXPECT_EQ(personality.lines, expected);
#endif
}

TEST_F(BadInput, InputsThatAreNoFiles)
{
#ifdef _WIN32
    GTEST_SKIP() << "POSIX permissions, pipes, devices and path limits";
#else
    // A folder, a device and a pipe are never read: a pipe would block the run for ever and a
    // device such as /dev/zero would fill the memory.
    fs::create_directory(work.path() / "folder.uv2");
    ASSERT_EQ(::mkfifo((work.path() / "pipe.uv2").c_str(), 0600), 0);
    for (const char* source : {"folder.uv2", "pipe.uv2", "/dev/zero"}) {
        SCOPED_TRACE(source);
        const RunResult result = convert({source, "out", "-cp", "c.p_c"});
        EXPECT_EQ(result.status, 1);
        const std::string written = source[0] == '/' ? "\\dev\\zero" : windows(source);
        EXPECT_EQ(result.lines, (std::vector<std::string>{message::couldNotOpen + written}));
    }
    expectDestinationEmpty();

    // As personalities they are reported and the run goes on.
    writeFile(work.path() / "p.uv2", "Target (T)\n");
    const RunResult personalities = convert({"p.uv2", "out", "-cp", "pipe.uv2", "-ap", "/dev/zero"});
    EXPECT_EQ(personalities.status, 0);
    EXPECT_EQ(personalities.lines,
              (std::vector<std::string>{message::couldNotOpen + windows("pipe.uv2"), message::creatingProject,
                                        message::creatingGroup + std::string("p"), message::baseNotOpened,
                                        message::creatingGroup + std::string("T"), message::projectCompleted}));
#endif
}

TEST_F(BadInput, AnalyserPersonalityThatIsAFolder)
{
    fs::create_directory(work.path() / "base.p_a");
    const RunResult result = convertProject(
        "Target (T)\nGroup (G)\nOptions 1,0,0  // Target 'T'\n C51DEF (X)\nEndOpt\n", {"-ap", "base.p_a"});
    EXPECT_EQ(result.status, 0);
    // Once for the root's copy of the base, once for the target's own personality; the group
    // refers to the target's file and needs none.
    EXPECT_EQ(result.lines,
              (std::vector<std::string>{message::creatingProject, message::creatingGroup + std::string("p"),
                                        message::baseNotOpened, message::creatingGroup + std::string("T"),
                                        message::creatingAnalyser + windows("out\\p\\T\\person\\T.p_a"),
                                        message::baseNotOpened, message::creatingGroup + std::string("G"),
                                        message::projectCompleted}));
    EXPECT_EQ(readFile(destination() / "p" / "T" / "person" / "T.p_a"), "-d \"X\"\r\n");
    EXPECT_EQ(readFile(destination() / "person" / "p.p_a"), "");
}

struct WorkspaceCase {
    const char* name;
    std::string workspace;
    int status;
    std::vector<std::string> lines;
};

TEST_F(BadInput, Workspaces)
{
    writeFile(work.path() / "m1.uv2", "Target (T)\n");
    std::string up;
    for (int i = 0; i < 40; ++i)
        up += "..\\";
    const WorkspaceCase cases[] = {
        {"empty workspace", "", 0, successLines({"all"})},
        // A member is always read as a project, and a workspace is none.
        {"lists itself", "Project=all.mpw\r\n", 1, {message::notKeilProject + windows("all.mpw")}},
        {"lists itself through .\\", "Project=.\\all.mpw\r\n", 1, {message::notKeilProject + windows(".\\all.mpw")}},
        {"lists itself and a member", "Project=m1.uv2\r\nProject=all.mpw\r\n", 1,
         {message::notKeilProject + windows("all.mpw")}},
        {"missing member after a good one", "Project=m1.uv2\r\nProject=missing.uv2\r\n", 1,
         {message::couldNotOpen + windows("missing.uv2")}},
        {"member that is a device", "Project=" + up + "dev\\zero\r\n", 1,
         {message::couldNotOpen + windows(up + "dev\\zero")}},
    };
    for (const WorkspaceCase& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(destination());
        fs::create_directory(destination());
        writeFile(work.path() / "all.mpw", c.workspace);
        const RunResult result = convert({"all.mpw", "out", "-cp", "c.p_c"});
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.lines, c.lines);
        if (c.status == 1)
            expectDestinationEmpty();
    }
}

// A one-target XML project whose device lies in the pack packId.
std::string projectNamingPack(const std::string& packId)
{
    return "<?xml version=\"1.0\"?>\n<Project><Targets><Target><TargetName>T</TargetName><TargetOption>"
           "<TargetCommonOption><Device>D</Device><PackID>" + packId + "</PackID></TargetCommonOption>"
           "</TargetOption></Target></Targets></Project>\n";
}

std::string description(const std::string& beforeDevices, const std::string& define, const std::string& inside = "")
{
    return "<?xml version=\"1.0\"?>\n" + beforeDevices + "<package>" + inside
           + "<devices><family Dfamily=\"F\"><device Dname=\"D\"><compile define=\"" + define
           + "\"/></device></family></devices></package>\n";
}

struct PackRootCase {
    const char* name;
    std::string packId;
    std::string personality;  // of the target; empty when it gets none
    std::vector<std::string> before;  // lines before the writer's
};

TEST_F(BadInput, PackRoots)
{
    const fs::path packs = work.path() / "packs" / "Acme";
    auto install = [&](const std::string& name, const std::string& text) {
        fs::create_directories(packs / name / "1.0.0");
        writeFile(packs / name / "1.0.0" / ("Acme." + name + ".pdsc"), text);
    };
    // An external entity is never read: the define keeps the reference as written.
    writeFile(work.path() / "secret.txt", "SECRET");
    install("Entity", description("<!DOCTYPE package [<!ENTITY secret SYSTEM \"" + (work.path() / "secret.txt").string()
                                      + "\">]>\n",
                                  "&secret;"));
    std::string deep;
    for (int i = 0; i < 100000; ++i)
        deep += "<n>";
    for (int i = 0; i < 100000; ++i)
        deep += "</n>";
    install("Deep", description("", "DEEP", deep));
    // 100 MB, the device last: a hundred comments of 1 MiB.
    std::string comment = "<!--";
    comment.resize(1u << 20, 'x');
    comment += "-->";
    std::string filler;
    for (int i = 0; i < 100; ++i)
        filler += comment;
    install("Large", description("", "LARGE", filler));
    std::vector<PackRootCase> cases = {
        {"external entity", "Acme.Entity.1.0.0", "-d \"&secret;\"\r\n", {}},
        {"deep nesting", "Acme.Deep.1.0.0", "-d \"DEEP\"\r\n", {}},
        {"100 MB description", "Acme.Large.1.0.0", "-d \"LARGE\"\r\n", {}},
        {"climbs out of the root", "..\\Acme.Deep.1.0.0", "", {message::packNotInstalled + std::string("..\\Acme.Deep.1.0.0")}},
    };
#ifndef _WIN32
    // Links are followed for reading, never into anything that is no file.
    fs::create_directories(work.path() / "elsewhere" / "1.0.0");
    writeFile(work.path() / "elsewhere" / "1.0.0" / "Acme.Linked.pdsc", description("", "LINKED"));
    fs::create_directory_symlink(work.path() / "elsewhere", packs / "Linked");
    fs::create_directory_symlink(packs / "Loop", packs / "Loop");
    fs::create_directories(packs / "Device" / "1.0.0");
    fs::create_symlink("/dev/zero", packs / "Device" / "1.0.0" / "Acme.Device.pdsc");
    cases.push_back({"linked pack folder", "Acme.Linked.1.0.0", "-d \"LINKED\"\r\n", {}});
    cases.push_back({"link to itself", "Acme.Loop.1.0.0", "", {message::packNotInstalled + std::string("Acme.Loop.1.0.0")}});
    cases.push_back({"description that is a device", "Acme.Device.1.0.0", "",
                     {message::malformedPack + windows("packs\\Acme\\Device\\1.0.0\\Acme.Device.pdsc")}});
#endif
    for (const PackRootCase& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(destination());
        fs::create_directory(destination());
        const RunResult result = convertProject(projectNamingPack(c.packId), {"-pack", "packs"});
        EXPECT_EQ(result.status, 0);
        std::vector<std::string> expected = c.before;
        for (const std::string& line : successLines({"p", "T"}))
            expected.push_back(line);
        if (!c.personality.empty())
            expected.insert(expected.end() - 1, message::creatingAnalyser + windows("out\\p\\T\\person\\T.p_a"));
        EXPECT_EQ(result.lines, expected);
        const fs::path personality = destination() / "p" / "T" / "person" / "T.p_a";
        EXPECT_EQ(fs::exists(personality) ? readFile(personality) : "", c.personality);
    }
}

}  // namespace
