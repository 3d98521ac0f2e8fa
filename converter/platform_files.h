// The few file calls that differ between hosts, below the shared file code of the platform
// layer, and the name check every call makes first. Paths here are already in the host's
// form; a handle is a descriptor or a HANDLE.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform.h"

namespace platform::files {

// The system's calls stop a name at its first NUL byte: "x\0y" would name the file x, which
// may be one the run must not touch. Such a name names nothing.
inline bool hasNul(const std::string& path)
{
    return path.find('\0') != std::string::npos;
}

enum class NewFile { Created, Exists, Failed };

// Creates a file that was not there, never opening an existing entry or a link.
NewFile createNew(const std::string& path, std::intptr_t& handle);

// Writes all of data; false when the system took less.
bool writeAll(std::intptr_t handle, const char* data, std::size_t size);

bool close(std::intptr_t handle);

// Opens a file for reading, a regular file only: never a folder, a device or a pipe, which could
// keep the reader waiting for ever. size is what it holds now.
bool openInput(const std::string& path, std::intptr_t& handle, std::size_t& size, FileIdentity* identity);

// Reads up to size bytes: how many were read, 0 at the end of the file, -1 on failure.
long long readSome(std::intptr_t handle, char* data, std::size_t size);

// Reads an open file to its end, appending to content what it did not hold yet, in large blocks;
// sizeHint is what the whole file held when it was opened, a hint only, as the file may grow or
// shrink meanwhile. A file that holds more than maximumInputBytes (or never ends) is TooLarge,
// and is not read further.
enum class ReadEnd { Whole, Failed, TooLarge };
ReadEnd readToEnd(std::intptr_t handle, std::size_t sizeHint, std::string& content);

// Moves from over to, replacing the entry at to, never what a link there points to.
bool replace(const std::string& from, const std::string& to);

bool remove(const std::string& path);

unsigned long processId();

// The seam for tests: the shared file code makes each of the calls above through it, and a
// test can make the nth call of one of them from now on fail as the system would refuse it
// (a failing close still closes). n = 0 lets every call of it through again.
enum class Call { CreateNew, WriteAll, Close, ReadSome, Replace, Remove };
inline constexpr Call allCalls[] = {Call::CreateNew, Call::WriteAll, Call::Close,
                                    Call::ReadSome,  Call::Replace,  Call::Remove};
void failNthCall(Call call, unsigned n);

}  // namespace platform::files
