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
// line holds), in about the file's own size. The first lookup sorts them, each once, as the file
// system compares names, and notes where every 16th starts: a folder is found by a binary search
// over those and a walk over at most 16 others.
class CompilerFolders {
public:
    CompilerFolders() = default;
    CompilerFolders(std::initializer_list<std::string_view> folders);

    // Room for folders of this many bytes in all, so that the text need not move as it grows.
    void reserve(std::size_t bytes) { text.reserve(bytes); }
    void add(std::string_view folder);

    // Sorts the folders now rather than at the first lookup: while the run holds nothing else.
    void settle() const;
    // Forgets them all and gives their memory back (assigning an empty set may keep the text's).
    void clear();

    // True when folder is one of them.
    bool contains(std::string_view folder) const;

    // Every folder, each once, sorted.
    std::vector<std::string> list() const;

    bool empty() const { return text.empty(); }
    // The memory they hold.
    std::size_t heldBytes() const { return text.capacity() + starts.capacity() * sizeof(std::uint32_t); }

private:
    static constexpr std::size_t markEvery = 16;

    std::string_view at(std::uint32_t start) const;

    mutable std::string text;
    mutable std::vector<std::uint32_t> starts;  // of every folder; once sorted, of every 16th
    mutable bool sorted = true;
};
