// The few file calls that differ between hosts, below the shared file code of the platform
// layer. Paths here are already in the host's form; a handle is a descriptor or a HANDLE.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform::files {

enum class NewFile { Created, Exists, Failed };

// Creates a file that was not there, never opening an existing entry or a link.
NewFile createNew(const std::string& path, std::intptr_t& handle);

// Writes all of data; false when the system took less.
bool writeAll(std::intptr_t handle, const char* data, std::size_t size);

bool close(std::intptr_t handle);

// Moves from over to, replacing the entry at to, never what a link there points to.
bool replace(const std::string& from, const std::string& to);

void remove(const std::string& path);

unsigned long processId();

}  // namespace platform::files
