// The include folders the compiler personality names, which no generated personality repeats.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// Looked up for every include folder a project names, and read from a file that may hold
// millions of lines: so the folders are kept as one text, each ended by a line feed (which no
// line holds), in about the file's own size, and found by a binary search over where each starts.
// Names are compared as the file system compares them.
class CompilerFolders {
public:
    CompilerFolders() = default;
    CompilerFolders(std::initializer_list<std::string_view> folders);

    // Room for folders of this many bytes in all, so that the text need not move as it grows.
    void reserve(std::size_t bytes) { text.reserve(bytes); }
    void add(std::string_view folder);

    // True when folder is one of them.
    bool contains(std::string_view folder) const;

    // Every folder, in the order added, duplicates kept.
    std::vector<std::string> list() const;

    bool empty() const { return starts.empty(); }
    // The memory they hold.
    std::size_t heldBytes() const { return text.capacity() + starts.capacity() * sizeof(std::uint32_t); }

private:
    std::string_view at(std::uint32_t start) const;

    std::string text;
    mutable std::vector<std::uint32_t> starts;  // sorted by name once a lookup asks
    mutable bool sorted = true;
};
