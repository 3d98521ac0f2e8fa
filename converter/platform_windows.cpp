// Windows side of the platform layer: the C runtime's own calls, per-drive current folders.
#ifdef _WIN32

#include "platform.h"

#include <direct.h>
#include <io.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <memory>

namespace platform {

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
    // _getcwd with no buffer allocates one of the right size: no length limit.
    std::unique_ptr<char, void (*)(void*)> folder(_getcwd(nullptr, 0), std::free);
    return folder ? std::string(folder.get()) : std::string();
}

std::string driveRelativeToAbsolute(const std::string& path)
{
    // Changing to "D:" selects drive D's own current folder; the drive that was current is
    // selected again afterwards. Failures of either change are not reported.
    const std::string before = currentFolder();
    _chdir(path.substr(0, 2).c_str());
    const std::string result = currentFolder() + "\\" + path.substr(2);
    if (before.size() >= 2)
        _chdir(before.substr(0, 2).c_str());
    return result;
}

bool isRooted(const std::string& path)
{
    return !path.empty() && path[0] == '\\';
}

bool exists(const std::string& path)
{
    return _access(path.c_str(), 0) == 0;
}

bool makeFolder(const std::string& path)
{
    return _mkdir(path.c_str()) == 0 || errno == EEXIST;
}

bool openInput(const std::string& path, std::ifstream& in)
{
    struct _stat64 info {};
    if (_stat64(path.c_str(), &info) == 0 && (info.st_mode & _S_IFDIR) != 0)
        return false;
    in.open(path, std::ios::in | std::ios::binary);
    return in.is_open();
}

bool openOutput(const std::string& path, std::ofstream& out)
{
    out.open(path, std::ios::out | std::ios::binary | std::ios::trunc);
    return out.is_open();
}

}  // namespace platform

#endif
