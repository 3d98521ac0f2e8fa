// The one layer that touches the operating system. Paths arrive and leave in Windows form
// ("\" separator) on every host; the POSIX side maps them at the call.
#pragma once

#include <fstream>
#include <string>

namespace platform {

// The process's current folder in Windows form, of any length.
std::string currentFolder();

// Resolves a drive-relative path such as "D:src" or "D:" against that drive's own current
// folder; on hosts without drives the current folder stands in for every drive.
std::string driveRelativeToAbsolute(const std::string& path);

// True for a path that starts at the root of the current drive ("\x"; on POSIX also "/x").
bool isRooted(const std::string& path);

// True when anything, file or folder, exists at path.
bool exists(const std::string& path);

// Makes one folder; an entry that exists already counts as success.
bool makeFolder(const std::string& path);

// Opens an input file for reading (binary; callers strip CRs themselves). Only a regular
// file opens: never a folder, a device or a pipe. On POSIX, a name whose letter case differs
// from the disk is matched as Windows would.
bool openInput(const std::string& path, std::ifstream& in);

// Opens an output file for writing, truncating it. Binary: callers write CR LF themselves.
bool openOutput(const std::string& path, std::ofstream& out);

// A path as the user wrote it, in the converter's Windows form. On POSIX "/" is the
// separator people type (examples/p.uv2, /home/me/p.uv2); on Windows it stays as written.
std::string fromHostPath(const std::string& path);

// The path as the host's file system calls want it.
std::string hostPath(const std::string& path);

}  // namespace platform
