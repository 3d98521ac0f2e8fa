// POSIX side of the platform layer.
#ifndef _WIN32

#include "errors.h"
#include "platform.h"
#include "platform_files.h"
#include "text_util.h"

#include <dirent.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <memory>
#include <vector>

namespace platform {

using files::hasNul;

namespace {

FileIdentity identityOf(const struct stat& info)
{
    return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

bool entryExists(const std::string& hostName)
{
    struct stat info {};
    return ::stat(hostName.c_str(), &info) == 0;
}

// Projects written on Windows name files in any letter case. Each component that does not
// exist as written is looked up case-insensitively in its folder; exactly one match counts.
bool matchLetterCase(const std::string& hostName, std::string& resolved)
{
    std::string result = hostName.starts_with('/') ? "/" : "";
    bool found = true;
    forEachPart(hostName, "/", [&](std::string_view part) {
        if (!found || part.empty())
            return;
        const std::string folder = result.empty() ? "." : result;
        const std::string joint = result.empty() || result.back() == '/' ? "" : "/";
        std::string candidate = result + joint + std::string(part);
        if (!entryExists(candidate)) {
            std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
            std::string match;
            int matches = 0;
            while (dir && matches < 2) {
                const dirent* entry = ::readdir(dir.get());
                if (entry == nullptr)
                    break;
                if (equalIgnoringAsciiCase(part, entry->d_name) && ++matches == 1)
                    match = entry->d_name;
            }
            found = matches == 1;
            candidate = result + joint + match;
        }
        result = candidate;
    });
    if (!found || result.empty())
        return false;
    resolved = result;
    return true;
}

}  // namespace

std::string hostPath(const std::string& path)
{
    std::string host = path;
    for (char& c : host)
        if (c == '\\')
            c = '/';
    return host;
}

bool currentFolder(std::string& folder)
{
    std::vector<char> buffer(256);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE)
            return false;
        buffer.resize(buffer.size() * 2);
    }
    folder = buffer.data();
    convertSeparators(folder);
    return true;
}

bool driveRelativeToAbsolute(const std::string& path, std::string& absolute)
{
    // No drives here: every drive's current folder is the process's own, which never changes.
    std::string folder;
    if (!currentFolder(folder))
        return false;
    absolute = joinPath(folder, path.substr(2));
    return true;
}

bool isRooted(const std::string& path)
{
    return !path.empty() && (path[0] == '\\' || path[0] == '/');
}

bool sameFileName(std::string_view a, std::string_view b)
{
    return a == b;
}

int compareFileNames(std::string_view a, std::string_view b)
{
    return a.compare(b);
}

bool nameFits(const std::string& path)
{
    return !hasNul(path) && path.size() < PATH_MAX && longestPart(path) <= NAME_MAX;
}

bool exists(const std::string& path)
{
    if (hasNul(path))
        return false;
    return entryExists(hostPath(path));
}

bool listFolders(const std::string& path, std::vector<std::string>& names)
{
    names.clear();
    if (hasNul(path))
        return false;
    std::string host = hostPath(path);
    if (!entryExists(host) && !matchLetterCase(host, host))
        return false;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(host.c_str()), ::closedir);
    if (!dir)
        return false;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string name = entry->d_name;
        struct stat info {};
        if (name != "." && name != ".." && ::stat((host + "/" + name).c_str(), &info) == 0 && S_ISDIR(info.st_mode))
            names.push_back(name);
    }
    return true;
}

std::string defaultPackRoot()
{
    return {};
}

bool files::openInput(const std::string& path, std::intptr_t& handle, std::size_t& size, FileIdentity* identity)
{
    if (path.empty() || hasNul(path))
        return false;
    std::string host = hostPath(path);
    if (!entryExists(host) && !matchLetterCase(host, host))
        return false;
    // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused below anyway.
    const int descriptor = ::open(host.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0)
        return false;
    struct stat info {};
    // A folder never reads, nor does a device or a pipe: a workspace naming /dev/zero or a
    // FIFO would otherwise never finish reading.
    if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(descriptor);
        return false;
    }
    if (identity != nullptr)
        *identity = identityOf(info);
    handle = descriptor;
    size = static_cast<std::size_t>(info.st_size);
    return true;
}

bool fileIdentity(const std::string& path, FileIdentity& identity)
{
    struct stat info {};
    if (hasNul(path) || ::stat(hostPath(path).c_str(), &info) != 0)
        return false;
    identity = identityOf(info);
    return true;
}

Entry entryAt(const std::string& path, FileIdentity* identity)
{
    if (hasNul(path))
        return Entry::Other;
    // "x/" would name what a link x points to: the entry itself is asked for.
    const std::string host = hostPath(std::string(withoutTrailingSeparators(path)));
    struct stat info {};
    // Only a name that is not there is missing: one too long, or behind a folder that
    // cannot be searched, can never be written either.
    if (::lstat(host.c_str(), &info) != 0)
        return errno == ENOENT ? Entry::Missing : Entry::Other;
    if (identity != nullptr)
        *identity = identityOf(info);
    if (S_ISLNK(info.st_mode))
        return Entry::Link;
    if (S_ISDIR(info.st_mode))
        return Entry::Folder;
    return S_ISREG(info.st_mode) ? Entry::File : Entry::Other;
}

namespace {

#ifndef O_PATH
#define O_PATH O_RDONLY
#endif

// The open destination of the write under way, and its host path with a "/" behind.
int anchorDescriptor = -1;
std::string anchorPrefix;

// A host path below the anchor, as the descriptor of the folder that holds its last part (reached
// from the anchor a part at a time, never through a link) and that part.
class AnchoredPath {
public:
    explicit AnchoredPath(const std::string& host)
    {
        if (anchorDescriptor < 0 || !host.starts_with(anchorPrefix))
            return;
        below = true;
        const std::string_view rest = std::string_view(host).substr(anchorPrefix.size());
        std::vector<std::string_view> parts;
        forEachPart(rest, "/", [&](std::string_view part) {
            if (!part.empty())
                parts.push_back(part);
        });
        if (parts.empty())
            return;
        folder = anchorDescriptor;
        for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
            const int next = ::openat(folder, std::string(parts[i]).c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            release();
            if (next < 0)
                return;
            folder = next;
        }
        name = parts.back();
    }
    ~AnchoredPath() { release(); }
    AnchoredPath(const AnchoredPath&) = delete;
    AnchoredPath& operator=(const AnchoredPath&) = delete;

    bool below = false;  // the path lies below the anchor: use folder and name
    int folder = -1;     // -1 when a folder on the way is missing, a link or no folder
    std::string name;

private:
    void release()
    {
        if (folder >= 0 && folder != anchorDescriptor)
            ::close(folder);
        folder = -1;
    }
};

}  // namespace

OutputAnchor::OutputAnchor(const std::string& folder)
{
    const std::string host = hostPath(folder);
    const int descriptor = hasNul(host) ? -1 : ::open(host.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return;
    anchorDescriptor = descriptor;
    anchorPrefix = std::string(withoutTrailingSeparators(host)) + "/";
}

OutputAnchor::~OutputAnchor()
{
    if (anchorDescriptor >= 0)
        ::close(anchorDescriptor);
    anchorDescriptor = -1;
    anchorPrefix.clear();
}

bool makeFolder(const std::string& path)
{
    if (hasNul(path))
        return false;
    const std::string host = hostPath(path);
    const AnchoredPath anchored(host);
    if (anchored.below) {
        if (anchored.folder < 0)
            return false;
        if (::mkdirat(anchored.folder, anchored.name.c_str(), 0777) == 0)
            return true;
        struct stat info {};
        return errno == EEXIST && ::fstatat(anchored.folder, anchored.name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0
               && S_ISDIR(info.st_mode);
    }
    // mkdir never follows a link at the name it makes; one already there is no folder of ours.
    if (::mkdir(host.c_str(), 0777) == 0)
        return true;
    return errno == EEXIST && entryAt(path) == Entry::Folder;
}

namespace files {

NewFile createNew(const std::string& path, std::intptr_t& handle)
{
    constexpr int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
    const AnchoredPath anchored(path);
    if (anchored.below && anchored.folder < 0)
        return NewFile::Failed;
    const int descriptor = anchored.below ? ::openat(anchored.folder, anchored.name.c_str(), flags, 0666)
                                          : ::open(path.c_str(), flags, 0666);
    if (descriptor >= 0) {
        handle = descriptor;
        return NewFile::Created;
    }
    return errno == EEXIST ? NewFile::Exists : NewFile::Failed;
}

bool writeAll(std::intptr_t handle, const char* data, std::size_t size)
{
    std::size_t written = 0;
    while (written < size) {
        const ssize_t put = ::write(static_cast<int>(handle), data + written, size - written);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        written += static_cast<std::size_t>(put);
    }
    return true;
}

bool close(std::intptr_t handle)
{
    return ::close(static_cast<int>(handle)) == 0;
}

long long readSome(std::intptr_t handle, char* data, std::size_t size)
{
    for (;;) {
        const ssize_t got = ::read(static_cast<int>(handle), data, size);
        if (got >= 0 || errno != EINTR)
            return got;
    }
}

bool replace(const std::string& from, const std::string& to)
{
    const AnchoredPath source(from);
    const AnchoredPath target(to);
    if (source.below != target.below || (source.below && (source.folder < 0 || target.folder < 0)))
        return false;
    const int fromFolder = source.below ? source.folder : AT_FDCWD;
    const int toFolder = target.below ? target.folder : AT_FDCWD;
    const char* const fromName = source.below ? source.name.c_str() : from.c_str();
    const char* const toName = target.below ? target.name.c_str() : to.c_str();
    // A file the user made private stays private: the new one takes the old one's mode.
    struct stat info {};
    if (::fstatat(toFolder, toName, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode))
        ::fchmodat(fromFolder, fromName, info.st_mode & 07777, 0);
    // rename replaces the entry at the final name, never what a link there points to.
    return ::renameat(fromFolder, fromName, toFolder, toName) == 0;
}

bool remove(const std::string& path)
{
    const AnchoredPath anchored(path);
    if (anchored.below)
        return anchored.folder >= 0 && ::unlinkat(anchored.folder, anchored.name.c_str(), 0) == 0;
    return ::unlink(path.c_str()) == 0;
}

unsigned long processId()
{
    return static_cast<unsigned long>(::getpid());
}

}  // namespace files

DestinationLock::~DestinationLock()
{
    // Removed while still locked: a run that opened it meanwhile finds it gone and tries anew.
    if (!lockFile.empty())
        ::unlink(lockFile.c_str());
    if (handle >= 0)
        ::close(static_cast<int>(handle));
}

namespace {

// Locks the stand-in lock file at path: -1 when another run holds it, -2 when it cannot be
// made, else the locked descriptor of the file that stands at path.
int lockStandIn(const std::string& path)
{
    // The holder removes the file when it is done; a lock on a file no longer there counts
    // for nothing, so it is opened again.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const int descriptor = ::open(path.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (descriptor < 0)
            return -2;
        if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
            ::close(descriptor);
            return -1;
        }
        struct stat locked {};
        struct stat standing {};
        if (::fstat(descriptor, &locked) == 0 && ::stat(path.c_str(), &standing) == 0
            && locked.st_dev == standing.st_dev && locked.st_ino == standing.st_ino)
            return descriptor;
        ::close(descriptor);
    }
    return -2;
}

}  // namespace

bool DestinationLock::acquire(const std::string& folder)
{
    if (hasNul(folder))
        return true;
    const std::string host = hostPath(folder);
    int descriptor = ::open(host.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    struct stat info {};
    if (descriptor < 0 && errno == EACCES && ::stat(host.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        // A folder that may be written but not read (mode 0333) cannot be opened to lock: a
        // file named after its identity stands in, which every run into it meets.
        const std::string standIn = "/tmp/tamsel-" + std::to_string(info.st_dev) + "-" + std::to_string(info.st_ino) + ".lock";
        descriptor = lockStandIn(standIn);
        if (descriptor == -1)
            return false;
        if (descriptor >= 0) {
            handle = descriptor;
            lockFile = standIn;
        }
        return true;
    }
    if (descriptor < 0)
        return true;
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        ::close(descriptor);
        return false;
    }
    handle = descriptor;
    return true;
}

void ignoreQuietSignals()
{
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
}

namespace {

volatile std::sig_atomic_t interruptedFlag = 0;

extern "C" void noteInterruption(int)
{
    interruptedFlag = 1;
}

}  // namespace

void catchInterruptions()
{
    struct sigaction action {};
    action.sa_handler = noteInterruption;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a write to a standard output nobody reads returns instead of blocking.
    action.sa_flags = 0;
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}

bool interrupted()
{
    return interruptedFlag != 0;
}

void openClosedStandardStreams()
{
    for (int descriptor = 0; descriptor <= 2; ++descriptor) {
        if (::fcntl(descriptor, F_GETFD) != -1 || errno != EBADF)
            continue;
        // The lowest free number is the one just found closed.
        const int opened = ::open("/dev/null", descriptor == 0 ? O_RDONLY : O_WRONLY);
        if (opened >= 0 && opened != descriptor) {
            ::dup2(opened, descriptor);
            ::close(opened);
        }
    }
}

void giveBackLargeBlocks()
{
#ifdef __GLIBC__
    // A fixed threshold also keeps glibc from raising it after a large block is freed, which
    // would serve the next ones from its heap, and keep them when they are freed. The heap then
    // keeps up to 32 MiB free at its top, as it did: giving back and taking again the room of
    // each small member's first block made a workspace of 95,000 members ten times slower.
    ::mallopt(M_MMAP_THRESHOLD, 1024 * 1024);
    ::mallopt(M_TRIM_THRESHOLD, 32 * 1024 * 1024);
#endif
}

}  // namespace platform

#endif
