// POSIX side of the platform layer.
#ifndef _WIN32

#include "platform.h"
#include "text_util.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <vector>

namespace platform {

namespace {

bool asciiEqualIgnoringCase(const std::string& a, const char* b)
{
    std::size_t i = 0;
    for (; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (y == '\0')
            return false;
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return b[i] == '\0';
}

bool isRegularFile(const std::string& hostName)
{
    struct stat info {};
    return ::stat(hostName.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The system's calls stop a name at its first NUL byte: "x\0y" would name the file x,
// which may be one the run must not touch. Such a name names nothing.
bool hasNul(const std::string& path)
{
    return path.find('\0') != std::string::npos;
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
    std::size_t pos = result.size();
    while (pos <= hostName.size()) {
        std::size_t next = hostName.find('/', pos);
        if (next == std::string::npos)
            next = hostName.size();
        std::string part = hostName.substr(pos, next - pos);
        pos = next + 1;
        if (part.empty())
            continue;
        std::string folder = result.empty() ? "." : result;
        std::string candidate = result.empty() || result.back() == '/' ? result + part : result + "/" + part;
        if (!entryExists(candidate)) {
            std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
            if (!dir)
                return false;
            std::string match;
            int matches = 0;
            while (const dirent* entry = ::readdir(dir.get())) {
                if (asciiEqualIgnoringCase(part, entry->d_name)) {
                    match = entry->d_name;
                    ++matches;
                }
            }
            if (matches != 1)
                return false;
            candidate = result.empty() || result.back() == '/' ? result + match : result + "/" + match;
        }
        result = candidate;
    }
    if (result.empty())
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

std::string fromHostPath(const std::string& path)
{
    std::string converted = path;
    convertSeparators(converted);
    return converted;
}

std::string currentFolder()
{
    std::vector<char> buffer(256);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE)
            return {};
        buffer.resize(buffer.size() * 2);
    }
    std::string folder = buffer.data();
    convertSeparators(folder);
    return folder;
}

std::string driveRelativeToAbsolute(const std::string& path)
{
    // No drives here: every drive's current folder is the process's own, which never changes.
    return currentFolder() + "\\" + path.substr(2);
}

bool isRooted(const std::string& path)
{
    // "/home/me/p.uv2" is how an absolute path is written on this host.
    return !path.empty() && (path[0] == '\\' || path[0] == '/');
}

bool exists(const std::string& path)
{
    if (hasNul(path))
        return false;
    return entryExists(hostPath(path));
}

bool makeFolder(const std::string& path)
{
    if (hasNul(path))
        return false;
    return ::mkdir(hostPath(path).c_str(), 0777) == 0 || errno == EEXIST;
}

bool openInput(const std::string& path, std::ifstream& in)
{
    if (path.empty() || hasNul(path))
        return false;
    std::string host = hostPath(path);
    if (!entryExists(host) && !matchLetterCase(host, host))
        return false;
    // A folder never opens, nor does a device or a pipe: a workspace naming /dev/zero or a
    // FIFO would otherwise never finish reading.
    if (!isRegularFile(host))
        return false;
    in.open(host, std::ios::in | std::ios::binary);
    return in.is_open();
}

bool openOutput(const std::string& path, std::ofstream& out)
{
    if (hasNul(path))
        return false;
    out.open(hostPath(path), std::ios::out | std::ios::binary | std::ios::trunc);
    return out.is_open();
}

}  // namespace platform

#endif
