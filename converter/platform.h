// The one layer that touches the operating system. Paths arrive and leave in Windows form
// ("\" separator) on every host; the POSIX side maps them at the call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The process's current folder in Windows form, of any length; false when the system
// cannot tell (the folder was removed, or a part of it cannot be read).
bool currentFolder(std::string& folder);

// Resolves a drive-relative path such as "D:src" or "D:" against that drive's own current
// folder; on hosts without drives the current folder stands in for every drive. A drive that
// does not exist leaves the path as written. False when a current folder cannot be learned
// or changed back to.
bool driveRelativeToAbsolute(const std::string& path, std::string& absolute);

// True for a path that starts at the root of the current drive ("\x"; "/x" as well).
bool isRooted(const std::string& path);

// True when a and b name the same file by their text: on Windows the file system ignores
// ASCII letter case, elsewhere every byte counts.
bool sameFileName(std::string_view a, std::string_view b);

// Orders names as the file system tells them apart: below 0 when a comes first, 0 for one name
// (sameFileName), above 0 when b comes first.
int compareFileNames(std::string_view a, std::string_view b);

// A path as the user wrote it, in the converter's Windows form: "/" is a separator on every
// host (Windows itself takes it, and so do the shells people type paths into).
std::string fromHostPath(const std::string& path);

// The path as the host's file system calls want it.
std::string hostPath(const std::string& path);

// Which file a path names: the device and the file's number there (the volume serial number
// and file index on Windows). Two paths with one identity name one file.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t file = 0;

    bool operator==(const FileIdentity&) const = default;
};

// Reads a whole input file. Only a regular file is read: never a folder, a device or a pipe.
// On POSIX, a name whose letter case differs from the disk is matched as Windows would.
// identity, when given, receives the file's identity. Throws FileTooLarge for a file of more than
// maximumInputBytes, or one that never ends.
bool readWholeFile(const std::string& path, std::string& content, FileIdentity* identity = nullptr);

// An input file read a block at a time, for one too large to be held whole while it is read.
// It opens only what readWholeFile reads, and keeps to the same limit.
class InputFile {
public:
    InputFile() = default;
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Opens the file at path; false when it cannot be read. identity as for readWholeFile;
    // throws FileTooLarge for a file that already holds more than maximumInputBytes.
    bool open(const std::string& path, FileIdentity* identity = nullptr);

    // Reads the file's next bytes into data, at most most of them, and got says how many:
    // More, or End when the file has no more, or Failed. Throws FileTooLarge once it has held
    // more than maximumInputBytes.
    enum class Read { More, End, Failed };
    Read readMore(char* data, std::size_t most, std::size_t& got);

    // Appends the rest of the file to content, as readWholeFile reads; false when it failed.
    bool readRest(std::string& content);

    const std::string& path() const { return filePath; }
    // What the file held when it was opened.
    std::size_t sizeWhenOpened() const { return size; }

private:
    std::string filePath;
    std::intptr_t handle = 0;
    bool opened = false;
    std::size_t size = 0;  // when it was opened
    std::size_t read = 0;
};

// The identity of the file a path names, following links; false when nothing is there.
bool fileIdentity(const std::string& path, FileIdentity& identity);

// What stands at a path, without following a link there (a link in a leading part of the
// path is followed). A Windows symbolic link or junction counts as a link. Other is anything
// that is neither missing nor a file, folder or link, a name the system refuses included.
enum class Entry { Missing, Folder, File, Link, Other };
Entry entryAt(const std::string& path, FileIdentity* identity = nullptr);

// The length of the longest part of path between "\" and "/".
std::size_t longestPart(std::string_view path);

// False for a path the system would refuse whatever stands on the disk: one holding a NUL
// byte, a part longer than a file name may be, or a whole longer than a path may be.
bool nameFits(const std::string& path);

// True when anything, file or folder, exists at path (links followed).
bool exists(const std::string& path);

// The names of the folders in a folder (links to folders included), in no set order; false
// when it cannot be listed.
bool listFolders(const std::string& path, std::vector<std::string>& names);

// An environment variable's value; empty when it is not set.
std::string environmentVariable(const char* name);

// Where the host keeps installed software packs when nothing else names a pack root: on Windows
// %LOCALAPPDATA%\Arm\Packs when that folder exists; empty otherwise and elsewhere.
std::string defaultPackRoot();

// Makes one folder. True when it was made or a folder (not a link to one) already stands there.
bool makeFolder(const std::string& path);

// True when a temporary file beside path (ReplacementFile's) would have a name the system takes:
// the check pass asks it of every file it plans, as of the final name.
bool temporaryFits(const std::string& path);

// A file written under a short temporary name in its own folder and moved over path only when
// it is complete and closed without error: a failed, killed or interrupted run leaves no file
// cut short, and the file that was there stays as it was. A replaced file keeps its mode (on
// Windows its hidden, system and not-content-indexed attributes and a protected access list).
class ReplacementFile {
public:
    ReplacementFile() = default;
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    // Creates the temporary file beside path; false when it cannot.
    bool open(const std::string& path);

    // Appends bytes; false once any write failed.
    bool write(std::string_view bytes);

    // Appends line and a CR LF.
    bool writeLine(std::string_view line);

    // Writes what is buffered and closes the temporary file, which stays until it is moved or
    // discarded. False when anything failed; the temporary file is then removed.
    bool finish();

    // Moves the finished temporary file over path. False when it cannot; the temporary file is
    // then removed and path is left alone.
    bool moveIntoPlace();

    // finish, then moveIntoPlace.
    bool commit() { return finish() && moveIntoPlace(); }

    // Closes and removes the temporary file, leaving path alone; the destructor does it too,
    // but an object that outlives a failed run must be told.
    void discard();

private:
    bool flushBuffer();

    std::string finalPath;
    std::string temporaryPath;
    std::string buffer;
    std::intptr_t handle = -1;
    bool failed = false;
    bool finished = false;
};

// While it lives, folders and files below folder are made, moved and removed relative to an
// open descriptor (a handle on Windows) of folder, one part at a time and never through a link
// (a symbolic link or junction on Windows): a link swapped in for a folder after the check pass
// is refused, not followed. folder itself may be a link, as users point it where they like.
class OutputAnchor {
public:
    explicit OutputAnchor(const std::string& folder);
    ~OutputAnchor();
    OutputAnchor(const OutputAnchor&) = delete;
    OutputAnchor& operator=(const OutputAnchor&) = delete;
};

// An advisory lock on a destination folder, held while the object lives; the system releases
// it when the process ends, so a crash never leaves a stale lock.
class DestinationLock {
public:
    DestinationLock() = default;
    ~DestinationLock();
    DestinationLock(const DestinationLock&) = delete;
    DestinationLock& operator=(const DestinationLock&) = delete;

    // False when another process holds the lock. True when it is taken, and also when the
    // folder does not exist (the run then reports the missing folder itself). A folder that
    // cannot be read is locked too, by a lock file named after its identity in the system's
    // temporary folder.
    bool acquire(const std::string& folder);

private:
    std::intptr_t handle = -1;
    std::string lockFile;  // the stand-in lock file, removed again when the lock is released
};

// A reader that closes the pipe of standard output, or a limit on the size of files, must not
// end a conversion without its line: the write fails instead, and the run says which.
void ignoreQuietSignals();

// From now on an interrupt, termination or hangup (Ctrl-C, Ctrl-Break or a console closed on
// Windows) only sets interrupted(); the run stops at its next step and removes its temporary
// files. A blocked write to standard output is cut short.
void catchInterruptions();
bool interrupted();

// Opens standard input, output or error on the null device when the process was started with
// it closed: otherwise the next file opened would take its number, and progress lines would go
// into the project file.
void openClosedStandardStreams();

// Blocks of a MiB and more go back to the system as soon as they are freed: a run moves
// hundreds of MB from one form into another, and what it let go must not stay resident beside
// what it made. Windows' heap does so for such blocks by itself.
void giveBackLargeBlocks();

}  // namespace platform
