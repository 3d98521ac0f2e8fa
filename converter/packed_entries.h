// Keyed byte records kept compactly: the include folders or the defines of one node.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

// An ordered map of byte strings to byte strings. A std::map of std::string costs some hundred
// bytes an entry; here an entry costs its own bytes and about six more, so a target of ten
// million defines fits the memory its personality's text would take.
//
// Entries are appended to blocks that never move (up to 64 KiB), and an index of them (four
// bytes each: a block and a place in it) is kept ordered by key. New entries wait unordered
// behind the index's ordered part until they are as many as a quarter of it (a million at
// most, so that what waits is soon counted), or until somebody reads: they are then sorted and
// merged in, so n entries cost O(n log n) however they arrive. A key added again replaces the
// earlier entry (the last one wins); the bytes replaced entries leave behind are given back once
// they outweigh a quarter of those in use.
class PackedEntries {
public:
    PackedEntries() = default;
    PackedEntries(const PackedEntries& other);
    PackedEntries& operator=(const PackedEntries& other);
    PackedEntries(PackedEntries&&) = default;
    PackedEntries& operator=(PackedEntries&&) = default;

    // Adds the entry; one of an equal key, byte for byte, is replaced.
    void put(std::string_view key, std::string_view value);

    bool empty() const { return index.empty(); }

    std::size_t size() const
    {
        settle();
        return index.size();
    }

    // The value of key, when there is an entry of that key.
    std::optional<std::string_view> find(std::string_view key) const;

    // Calls visit(key, value) for every entry, in byte order of keys.
    template <class Visit>
    void forEach(Visit&& visit) const
    {
        settle();
        for (const Ref ref : index)
            visit(keyOf(at(ref)), valueOf(at(ref)));
    }

    // The key and the value of the entry at position i in byte order of keys, i < size().
    std::string_view keyAt(std::size_t i) const
    {
        settle();
        return keyOf(at(index[i]));
    }
    std::string_view valueAt(std::size_t i) const
    {
        settle();
        return valueOf(at(index[i]));
    }

    // The entries sorted in so far, and their keys' and values' bytes: without the entries
    // still waiting, but at no cost.
    std::size_t sizeSoFar() const { return ordered; }
    unsigned long long bytesSoFar() const { return liveBytes; }

    // Sorts the waiting entries in.
    void settle() const;

private:
    // A record's block, times 65536, and its place in the block.
    using Ref = std::uint32_t;
    const char* at(Ref ref) const { return blocks[ref >> 16].get() + (ref & 0xffff); }

    static std::string_view keyOf(const char* record);
    static std::string_view valueOf(const char* record);
    static std::size_t recordSize(const char* record);

    void copyLiveRecords() const;
    Ref append(std::string_view key, std::string_view value) const;

    // Reading settles the waiting entries first, so all of this changes under const; the tree
    // is read by one thread.
    mutable std::vector<Ref> index;  // ordered part, then the waiting entries
    mutable std::size_t ordered = 0;
    mutable unsigned long long liveBytes = 0;     // keys and values of the ordered part
    mutable unsigned long long droppedBytes = 0;  // of replaced records still in the blocks

    static constexpr std::size_t blockSize = 64 * 1024;  // the largest
    mutable std::vector<std::unique_ptr<char[]>> blocks;  // at most 65536
    mutable std::size_t filling = 0;              // the block being filled, when there are blocks
    mutable std::size_t lastBlockSize = 0;        // its size
    mutable std::size_t used = 0;                 // of it
    mutable unsigned long long recordBytes = 0;  // of all records in the blocks
};
