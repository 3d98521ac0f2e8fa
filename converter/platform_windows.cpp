// Windows side of the platform layer: the system's and the C runtime's own calls, per-drive current folders.
#ifdef _WIN32

#include "platform.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <direct.h>
#include <io.h>

#include <cerrno>
#include <vector>

namespace platform {

namespace {

// A drive-relative path starts with a drive letter and a colon ("D:src", "D:").
bool hasDriveLetter(const std::string& path)
{
    const char letter = path.empty() ? '\0' : path[0];
    const bool isLetter = (letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z');
    return isLetter && path.size() >= 2 && path[1] == ':';
}

// The system's calls stop a name at its first NUL byte: "x\0y" would name the file x, which
// may be one the run must not touch. Such a name names nothing.
bool hasNul(const std::string& path)
{
    return path.find('\0') != std::string::npos;
}

// A file on a disk: not a folder, and not a device ("con.uv2", "COM1") or a pipe, which
// could keep the reader waiting for ever.
bool isDiskFile(const std::string& path)
{
    const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION information {};
    const bool onDisk = ::GetFileType(file) == FILE_TYPE_DISK && ::GetFileInformationByHandle(file, &information)
                        && (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    ::CloseHandle(file);
    return onDisk;
}

}  // namespace

std::string hostPath(const std::string& path)
{
    return path;
}

std::string fromHostPath(const std::string& path)
{
    return path;
}

std::string currentFolder()
{
    // Asked for the size first, so a folder of any length fits; the folder may change in
    // between (another thread), hence the loop.
    std::vector<char> buffer(MAX_PATH + 1);
    for (;;) {
        const DWORD length = ::GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
        if (length == 0)
            return {};
        if (length < buffer.size())
            return std::string(buffer.data(), length);
        buffer.resize(length + 1);
    }
}

std::string driveRelativeToAbsolute(const std::string& path)
{
    // Changing to "D:" selects drive D's own current folder. The folder that was current
    // is changed back to as a whole: changing to its drive alone would land in that drive's
    // root whenever the process holds no remembered folder for it (no "=C:" entry), and every
    // later relative path would then be resolved against the wrong folder.
    if (!hasDriveLetter(path) || hasNul(path))
        return path;
    const std::string before = currentFolder();
    if (_chdir(path.substr(0, 2).c_str()) != 0) {
        // No such drive: the path stays as written, so opening it fails and names it.
        return path;
    }
    const std::string result = currentFolder() + "\\" + path.substr(2);
    if (!before.empty())
        _chdir(before.c_str());
    return result;
}

bool isRooted(const std::string& path)
{
    // "/" is an ordinary character here, as in every Windows path the converter builds.
    return !path.empty() && path[0] == '\\';
}

bool exists(const std::string& path)
{
    return !path.empty() && !hasNul(path) && _access(path.c_str(), 0) == 0;
}

bool makeFolder(const std::string& path)
{
    if (hasNul(path))
        return false;
    return _mkdir(path.c_str()) == 0 || errno == EEXIST;
}

bool openInput(const std::string& path, std::ifstream& in)
{
    if (path.empty() || hasNul(path) || !isDiskFile(path))
        return false;
    in.open(path, std::ios::in | std::ios::binary);
    return in.is_open();
}

bool openOutput(const std::string& path, std::ofstream& out)
{
    if (hasNul(path))
        return false;
    out.open(path, std::ios::out | std::ios::binary | std::ios::trunc);
    return out.is_open();
}

}  // namespace platform

#endif
