// Windows side of the platform layer: the system's and the C runtime's own calls, per-drive current folders.
#ifdef _WIN32

#include "errors.h"
#include "platform.h"
#include "platform_files.h"
#include "text_util.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <winternl.h>

#include <direct.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <vector>

namespace platform {

using files::hasNul;

namespace {

// A drive-relative path starts with a drive letter and a colon ("D:src", "D:").
bool hasDriveLetter(const std::string& path)
{
    const char letter = path.empty() ? '\0' : path[0];
    const bool isLetter = (letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z');
    return isLetter && path.size() >= 2 && path[1] == ':';
}

FileIdentity identityOf(const BY_HANDLE_FILE_INFORMATION& information)
{
    return {information.dwVolumeSerialNumber,
            (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow};
}

}  // namespace

std::string hostPath(const std::string& path)
{
    return path;
}

bool currentFolder(std::string& folder)
{
    // Asked for the size first, so a folder of any length fits; the folder may change in
    // between (another thread), hence the loop.
    std::vector<char> buffer(MAX_PATH + 1);
    for (;;) {
        const DWORD length = ::GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
        if (length == 0)
            return false;
        if (length < buffer.size()) {
            folder.assign(buffer.data(), length);
            return true;
        }
        buffer.resize(length + 1);
    }
}

bool driveRelativeToAbsolute(const std::string& path, std::string& absolute)
{
    // Changing to "D:" selects drive D's own current folder. The folder that was current
    // is changed back to as a whole: changing to its drive alone would land in that drive's
    // root whenever the process holds no remembered folder for it (no "=C:" entry), and every
    // later relative path would then be resolved against the wrong folder.
    if (!hasDriveLetter(path) || hasNul(path)) {
        absolute = path;
        return true;
    }
    std::string before;
    if (!currentFolder(before))
        return false;
    if (_chdir(path.substr(0, 2).c_str()) != 0) {
        // No such drive: the path stays as written, so opening it fails and names it.
        absolute = path;
        return true;
    }
    std::string drive;
    const bool known = currentFolder(drive);
    // Every later relative path is resolved against the current folder: not getting back
    // to it is a failure, not a detail.
    if (_chdir(before.c_str()) != 0 || !known)
        return false;
    absolute = joinPath(drive, path.substr(2));
    return true;
}

bool isRooted(const std::string& path)
{
    return !path.empty() && isSeparator(path[0]);
}

bool sameFileName(std::string_view a, std::string_view b)
{
    // The file system ignores ASCII letter case: D:\Keil\inc and d:\KEIL\INC are one folder.
    return equalIgnoringAsciiCase(a, b);
}

int compareFileNames(std::string_view a, std::string_view b)
{
    return compareIgnoringAsciiCase(a, b);
}

bool nameFits(const std::string& path)
{
    constexpr std::size_t longestName = 255;  // what a folder of NTFS or FAT holds
    return !hasNul(path) && longestPart(path) <= longestName;
}

bool exists(const std::string& path)
{
    return !path.empty() && !hasNul(path) && ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool listFolders(const std::string& path, std::vector<std::string>& names)
{
    names.clear();
    if (path.empty() || hasNul(path))
        return false;
    WIN32_FIND_DATAA found;
    const HANDLE search = ::FindFirstFileA(joinPath(path, "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != ".." && (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            names.push_back(name);
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return true;
}

std::string defaultPackRoot()
{
    const std::string localAppData = environmentVariable("LOCALAPPDATA");
    if (localAppData.empty())
        return {};
    const std::string root = joinPath(localAppData, "Arm\\Packs");
    const DWORD attributes = ::GetFileAttributesA(root.c_str());
    const bool isFolder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return isFolder ? root : std::string();
}

bool files::openInput(const std::string& path, std::intptr_t& handle, std::size_t& size, FileIdentity* identity)
{
    if (path.empty() || hasNul(path))
        return false;
    const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    // A file on a disk only: not a folder, and not a device ("con.uv2", "COM1") or a pipe,
    // which could keep the reader waiting for ever.
    BY_HANDLE_FILE_INFORMATION information {};
    if (::GetFileType(file) != FILE_TYPE_DISK || !::GetFileInformationByHandle(file, &information)
        || (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        ::CloseHandle(file);
        return false;
    }
    if (identity != nullptr)
        *identity = identityOf(information);
    handle = reinterpret_cast<std::intptr_t>(file);
    size = static_cast<std::size_t>(information.nFileSizeHigh) << 32 | information.nFileSizeLow;
    return true;
}

namespace {

// Only links lead elsewhere: other reparse points (files kept by a cloud drive, deduplicated
// files) are ordinary files and folders to the user.
bool isLinkTag(DWORD tag)
{
    constexpr DWORD linuxSymbolicLink = 0xA000001D;
    return tag == IO_REPARSE_TAG_SYMLINK || tag == IO_REPARSE_TAG_MOUNT_POINT || tag == linuxSymbolicLink;
}

bool isLink(const std::string& name)
{
    WIN32_FIND_DATAA found {};
    const HANDLE search = ::FindFirstFileA(name.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return true;  // a reparse point that cannot be looked into is not trusted
    ::FindClose(search);
    return isLinkTag(found.dwReserved0);
}

// Opens the entry at path itself (a link is not followed) to learn what it is.
Entry inspect(const std::string& path, FileIdentity* identity, bool followLinks)
{
    // "x\" would name what a link x points to: the entry itself is asked for.
    const std::string name(withoutTrailingSeparators(path));
    const DWORD attributes = ::GetFileAttributesA(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        // Only a name that is not there is missing: one too long, or refused, can never be
        // written either.
        const DWORD error = ::GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? Entry::Missing : Entry::Other;
    }
    if (!followLinks && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 && isLink(name))
        return Entry::Link;
    const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (followLinks ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
    const HANDLE file = ::CreateFileA(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, flags, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        BY_HANDLE_FILE_INFORMATION information {};
        if (identity != nullptr && ::GetFileInformationByHandle(file, &information))
            *identity = identityOf(information);
        ::CloseHandle(file);
    }
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? Entry::Folder : Entry::File;
}

}  // namespace

bool fileIdentity(const std::string& path, FileIdentity& identity)
{
    return !hasNul(path) && inspect(path, &identity, true) != Entry::Missing;
}

Entry entryAt(const std::string& path, FileIdentity* identity)
{
    if (path.empty())
        return Entry::Missing;
    if (hasNul(path))
        return Entry::Other;
    // A device answers for such a name in every folder: nothing can be written there.
    const std::size_t separator = lastSeparator(path);
    if (namesWindowsDevice(separator == std::string::npos ? path : path.substr(separator + 1)))
        return Entry::Other;
    return inspect(path, identity, false);
}

namespace {

constexpr ULONG shareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// The open destination of the write under way, and its path with a "\" behind.
HANDLE anchorHandle = nullptr;
std::string anchorPrefix;

// Opens or creates name in folder, never following a reparse point at name itself; disposition
// is FILE_OPEN or FILE_CREATE. Null on failure.
HANDLE openIn(HANDLE folder, const std::wstring& name, ACCESS_MASK access, ULONG share, ULONG disposition,
              ULONG options, NTSTATUS* status = nullptr)
{
    UNICODE_STRING text;
    text.Buffer = const_cast<PWSTR>(name.c_str());
    text.Length = static_cast<USHORT>(name.size() * sizeof(wchar_t));
    text.MaximumLength = text.Length;
    OBJECT_ATTRIBUTES object;
    // Letter case is ignored, as the A functions ignore it.
    InitializeObjectAttributes(&object, &text, OBJ_CASE_INSENSITIVE, folder, nullptr);
    IO_STATUS_BLOCK io {};
    HANDLE handle = nullptr;
    const NTSTATUS result =
        ::NtCreateFile(&handle, access | SYNCHRONIZE, &object, &io, nullptr, FILE_ATTRIBUTE_NORMAL, share,
                       disposition, options | FILE_OPEN_REPARSE_POINT | FILE_SYNCHRONOUS_IO_NONALERT, nullptr, 0);
    if (status != nullptr)
        *status = result;
    return NT_SUCCESS(result) ? handle : nullptr;
}

// True when the entry open at handle, opened without following a reparse point, is a link;
// also when that cannot be told.
bool isOpenLink(HANDLE handle)
{
    FILE_ATTRIBUTE_TAG_INFO opened {};
    return !::GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &opened, sizeof opened)
           || ((opened.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 && isLinkTag(opened.ReparseTag));
}

// A part the system takes as it is written. A whole path drops "." parts, climbs at "..", cuts
// trailing dots and blanks and names a device for a device's name: a path with such a part is
// still used whole, as the check pass saw it. The writer mends such names, so they do not
// arise below the destination.
bool takenAsWritten(std::string_view part)
{
    return part != "." && part != ".." && part.back() != '.' && part.back() != ' ' && !namesWindowsDevice(part);
}

// A part in the UTF-16 the system's own calls take, converted as the A functions convert it.
bool toWide(std::string_view part, std::wstring& wide)
{
    const UINT codePage = ::AreFileApisANSI() ? CP_ACP : CP_OEMCP;
    const int size = static_cast<int>(part.size());
    wide.resize(part.size());
    const int length = ::MultiByteToWideChar(codePage, 0, part.data(), size, wide.data(), size);
    wide.resize(static_cast<std::size_t>(std::max(length, 0)));
    return length > 0;
}

// A path below the anchor, as the handle of the folder that holds its last part (reached from
// the anchor a part at a time, never through a link) and that part.
class AnchoredPath {
public:
    explicit AnchoredPath(const std::string& path)
    {
        if (anchorHandle == nullptr || !path.starts_with(anchorPrefix))
            return;
        std::vector<std::string_view> parts;
        bool asWritten = true;
        forEachPart(std::string_view(path).substr(anchorPrefix.size()), "\\/", [&](std::string_view part) {
            if (!part.empty()) {
                parts.push_back(part);
                asWritten = asWritten && takenAsWritten(part);
            }
        });
        if (!asWritten)
            return;
        below = true;
        std::vector<std::wstring> wide(parts.size());
        for (std::size_t i = 0; i < parts.size(); ++i)
            if (!toWide(parts[i], wide[i]))
                return;
        if (parts.empty())
            return;
        folder = anchorHandle;
        for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
            HANDLE next =
                openIn(folder, wide[i], FILE_TRAVERSE | FILE_READ_ATTRIBUTES, shareAll, FILE_OPEN, FILE_DIRECTORY_FILE);
            if (next != nullptr && isOpenLink(next)) {
                ::CloseHandle(next);
                next = nullptr;
            }
            release();
            if (next == nullptr)
                return;
            folder = next;
        }
        name = wide.back();
    }
    ~AnchoredPath() { release(); }
    AnchoredPath(const AnchoredPath&) = delete;
    AnchoredPath& operator=(const AnchoredPath&) = delete;

    bool below = false;       // the path lies below the anchor: use folder and name
    HANDLE folder = nullptr;  // null when a folder on the way is missing, a link or no folder
    std::wstring name;

private:
    void release()
    {
        if (folder != nullptr && folder != anchorHandle)
            ::CloseHandle(folder);
        folder = nullptr;
    }
};

// What a user sets on a file, which a file that replaces it takes over: attributes, and the
// access list when the user made it the file's own. Read-only is not taken: over a read-only
// file the move fails, as the user asked. Nor is archive: the new file has changed, and a
// backup must see that.
struct Mode {
    DWORD attributes = 0;
    std::vector<char> security;  // a descriptor holding the access list; empty when not taken
};

constexpr DWORD keptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// The mode of the file open at handle; false for a folder or a link, whose mode is no file's.
// The access list is taken when the user cut it off from the folder's (made the file private):
// copied whole, it gives the new file in the same folder the access the old one had. One that
// still inherits is left to the folder, which gives the new file the same entries. Entries added
// to such a list are not taken: Wine makes every file's list up from its POSIX mode, with entries
// of its own, and that list written back would change the mode of every file replaced.
bool readMode(HANDLE file, Mode& mode)
{
    FILE_ATTRIBUTE_TAG_INFO tag {};
    if (!::GetFileInformationByHandleEx(file, FileAttributeTagInfo, &tag, sizeof tag)
        || (tag.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0
        || ((tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 && isLinkTag(tag.ReparseTag)))
        return false;
    mode.attributes = tag.FileAttributes & keptAttributes;
    DWORD size = 0;
    ::GetKernelObjectSecurity(file, DACL_SECURITY_INFORMATION, nullptr, 0, &size);
    mode.security.resize(size);
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    const bool own = size != 0
                     && ::GetKernelObjectSecurity(file, DACL_SECURITY_INFORMATION, mode.security.data(), size, &size)
                     && ::GetSecurityDescriptorControl(mode.security.data(), &control, &revision)
                     && (control & SE_DACL_PRESENT) != 0 && (control & SE_DACL_PROTECTED) != 0;
    if (!own)
        mode.security.clear();
    return true;
}

ACCESS_MASK modeReadAccess()
{
    return FILE_READ_ATTRIBUTES | READ_CONTROL;
}

ACCESS_MASK modeWriteAccess(const Mode& mode)
{
    return FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES | (mode.security.empty() ? 0 : WRITE_DAC);
}

// Gives the file open at handle the mode, as far as the system lets it: the move goes on anyway,
// as it does on POSIX hosts.
void applyMode(HANDLE file, const Mode& mode)
{
    FILE_BASIC_INFO basic {};
    if (mode.attributes != 0 && ::GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic)) {
        // Times of 0 stay as they are.
        basic.CreationTime.QuadPart = basic.LastAccessTime.QuadPart = 0;
        basic.LastWriteTime.QuadPart = basic.ChangeTime.QuadPart = 0;
        basic.FileAttributes = (basic.FileAttributes & ~FILE_ATTRIBUTE_NORMAL) | mode.attributes;
        ::SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof basic);
    }
    if (!mode.security.empty())
        ::SetKernelObjectSecurity(file, DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                                  const_cast<char*>(mode.security.data()));
}

HANDLE openPath(const std::string& path, ACCESS_MASK access)
{
    const HANDLE file =
        ::CreateFileA(path.c_str(), access, shareAll, nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    return file == INVALID_HANDLE_VALUE ? nullptr : file;
}

}  // namespace

OutputAnchor::OutputAnchor(const std::string& folder)
{
    if (folder.empty() || hasNul(folder))
        return;
    // The destination itself may be a link: users point it where they like.
    const HANDLE handle = ::CreateFileA(folder.c_str(), FILE_TRAVERSE | FILE_READ_ATTRIBUTES, shareAll, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return;
    BY_HANDLE_FILE_INFORMATION information {};
    if (!::GetFileInformationByHandle(handle, &information)
        || (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        ::CloseHandle(handle);
        return;
    }
    anchorHandle = handle;
    anchorPrefix = std::string(withoutTrailingSeparators(folder));
    if (!isSeparator(anchorPrefix.back()))
        anchorPrefix += '\\';
}

OutputAnchor::~OutputAnchor()
{
    if (anchorHandle != nullptr)
        ::CloseHandle(anchorHandle);
    anchorHandle = nullptr;
    anchorPrefix.clear();
}

bool makeFolder(const std::string& path)
{
    if (hasNul(path))
        return false;
    const AnchoredPath anchored(path);
    if (anchored.below) {
        if (anchored.folder == nullptr)
            return false;
        HANDLE made =
            openIn(anchored.folder, anchored.name, FILE_READ_ATTRIBUTES, shareAll, FILE_CREATE, FILE_DIRECTORY_FILE);
        if (made == nullptr) {
            // Something stands there: a folder counts, a link to one does not.
            made = openIn(anchored.folder, anchored.name, FILE_READ_ATTRIBUTES, shareAll, FILE_OPEN, FILE_DIRECTORY_FILE);
            if (made != nullptr && isOpenLink(made)) {
                ::CloseHandle(made);
                made = nullptr;
            }
        }
        return made != nullptr && ::CloseHandle(made);
    }
    if (_mkdir(path.c_str()) == 0)
        return true;
    // A drive's root refuses to be made but is a folder; a junction there is no folder of ours.
    return entryAt(path) == Entry::Folder;
}

namespace files {

NewFile createNew(const std::string& path, std::intptr_t& handle)
{
    const AnchoredPath anchored(path);
    if (anchored.below) {
        if (anchored.folder == nullptr)
            return NewFile::Failed;
        // FILE_CREATE never opens an existing entry, a link included.
        NTSTATUS status = 0;
        const HANDLE file = openIn(anchored.folder, anchored.name, GENERIC_WRITE | FILE_READ_ATTRIBUTES, 0,
                                   FILE_CREATE, FILE_NON_DIRECTORY_FILE, &status);
        if (file != nullptr) {
            handle = reinterpret_cast<std::intptr_t>(file);
            return NewFile::Created;
        }
        constexpr NTSTATUS nameCollision = static_cast<NTSTATUS>(0xC0000035L);
        return status == nameCollision ? NewFile::Exists : NewFile::Failed;
    }
    // CREATE_NEW never opens an existing entry, a link included.
    const HANDLE file =
        ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        handle = reinterpret_cast<std::intptr_t>(file);
        return NewFile::Created;
    }
    return ::GetLastError() == ERROR_FILE_EXISTS ? NewFile::Exists : NewFile::Failed;
}

bool writeAll(std::intptr_t handle, const char* data, std::size_t size)
{
    std::size_t written = 0;
    while (written < size) {
        DWORD put = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size - written, 1u << 30));
        if (!::WriteFile(reinterpret_cast<HANDLE>(handle), data + written, want, &put, nullptr) || put == 0)
            return false;
        written += put;
    }
    return true;
}

bool close(std::intptr_t handle)
{
    return ::CloseHandle(reinterpret_cast<HANDLE>(handle)) != 0;
}

long long readSome(std::intptr_t handle, char* data, std::size_t size)
{
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    if (!::ReadFile(reinterpret_cast<HANDLE>(handle), data, want, &got, nullptr))
        return -1;
    return got;
}

bool replace(const std::string& from, const std::string& to)
{
    const AnchoredPath source(from);
    const AnchoredPath target(to);
    if (source.below != target.below || (source.below && (source.folder == nullptr || target.folder == nullptr)))
        return false;
    // A file the user hid or made private stays so: the new one takes the old one's mode.
    Mode mode;
    const HANDLE old = target.below ? openIn(target.folder, target.name, modeReadAccess(), shareAll, FILE_OPEN, 0)
                                    : openPath(to, modeReadAccess());
    const bool kept = old != nullptr && readMode(old, mode);
    if (old != nullptr)
        ::CloseHandle(old);
    if (!source.below) {
        const HANDLE file = kept ? openPath(from, modeWriteAccess(mode)) : nullptr;
        if (file != nullptr) {
            applyMode(file, mode);
            ::CloseHandle(file);
        }
        // Replacing moves the new entry over the old one; a link there is replaced, not followed.
        return ::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
    }
    HANDLE file = openIn(source.folder, source.name, DELETE | (kept ? modeWriteAccess(mode) : 0), shareAll, FILE_OPEN,
                         FILE_NON_DIRECTORY_FILE);
    if (file == nullptr && kept)
        file = openIn(source.folder, source.name, DELETE, shareAll, FILE_OPEN, FILE_NON_DIRECTORY_FILE);
    if (file == nullptr)
        return false;
    if (kept)
        applyMode(file, mode);
    // The new name is given relative to the open folder that is to hold it.
    const std::size_t nameBytes = target.name.size() * sizeof(wchar_t);
    std::vector<char> buffer(sizeof(FILE_RENAME_INFORMATION) + nameBytes);
    auto* const rename = reinterpret_cast<FILE_RENAME_INFORMATION*>(buffer.data());
    rename->ReplaceIfExists = TRUE;
    rename->RootDirectory = target.folder;
    rename->FileNameLength = static_cast<ULONG>(nameBytes);
    std::copy_n(target.name.data(), target.name.size(), rename->FileName);
    IO_STATUS_BLOCK io {};
    const bool moved =
        NT_SUCCESS(::NtSetInformationFile(file, &io, rename, static_cast<ULONG>(buffer.size()), FileRenameInformation));
    ::CloseHandle(file);
    return moved;
}

bool remove(const std::string& path)
{
    const AnchoredPath anchored(path);
    if (!anchored.below)
        return ::DeleteFileA(path.c_str()) != 0;
    const HANDLE file = anchored.folder == nullptr ? nullptr
                                                   : openIn(anchored.folder, anchored.name, DELETE, shareAll, FILE_OPEN,
                                                            FILE_NON_DIRECTORY_FILE);
    if (file == nullptr)
        return false;
    FILE_DISPOSITION_INFORMATION disposition {TRUE};
    IO_STATUS_BLOCK io {};
    const bool removed =
        NT_SUCCESS(::NtSetInformationFile(file, &io, &disposition, sizeof disposition, FileDispositionInformation));
    ::CloseHandle(file);
    return removed;
}

unsigned long processId()
{
    return ::GetCurrentProcessId();
}

}  // namespace files

DestinationLock::~DestinationLock()
{
    if (handle >= 0) {
        ::ReleaseMutex(reinterpret_cast<HANDLE>(handle));
        ::CloseHandle(reinterpret_cast<HANDLE>(handle));
    }
}

bool DestinationLock::acquire(const std::string& folder)
{
    // A named mutex keyed by the folder's identity, so every spelling of the folder (letter
    // case, a drive mapped twice) meets the same lock. The system releases it with the process.
    FileIdentity identity;
    if (hasNul(folder) || inspect(folder, &identity, true) != Entry::Folder)
        return true;
    const std::string name =
        "Global\\Tamsel-destination-" + std::to_string(identity.device) + "-" + std::to_string(identity.file);
    const HANDLE mutex = ::CreateMutexA(nullptr, FALSE, name.c_str());
    if (mutex == nullptr)
        return true;
    const DWORD waited = ::WaitForSingleObject(mutex, 0);
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
        ::CloseHandle(mutex);
        return false;
    }
    handle = reinterpret_cast<std::intptr_t>(mutex);
    return true;
}

void ignoreQuietSignals()
{
    // Windows raises no signal for a closed pipe or a full disk: the write fails and the run
    // goes on.
}

namespace {

volatile std::sig_atomic_t interruptedFlag = 0;

extern "C" void noteInterruption(int signal)
{
    interruptedFlag = 1;
    // The C runtime puts the default back before each call: the next one is noted as well.
    std::signal(signal, noteInterruption);
}

}  // namespace

void catchInterruptions()
{
    // The C runtime turns Ctrl-C into SIGINT and Ctrl-Break or a closed console into SIGBREAK.
    for (const int signal : {SIGINT, SIGTERM, SIGBREAK})
        std::signal(signal, noteInterruption);
}

bool interrupted()
{
    return interruptedFlag != 0;
}

void openClosedStandardStreams()
{
    // A process started without a standard handle has none to reuse: the C runtime's streams
    // then write nowhere, and nothing else can take their place.
    const struct {
        DWORD which;
        FILE* stream;
        const char* mode;
    } streams[] = {{STD_INPUT_HANDLE, stdin, "r"}, {STD_OUTPUT_HANDLE, stdout, "w"}, {STD_ERROR_HANDLE, stderr, "w"}};
    for (const auto& standard : streams) {
        const HANDLE handle = ::GetStdHandle(standard.which);
        if (handle == nullptr || handle == INVALID_HANDLE_VALUE)
            std::freopen("NUL", standard.mode, standard.stream);
    }
}

void giveBackLargeBlocks() {}

}  // namespace platform

#endif
