// Keyed byte records kept compactly.
#include "packed_entries.h"

#include <algorithm>
#include <new>

#include "length_prefix.h"

// A record is the key's length, the value's length (length_prefix.h), the key and the value.

PackedEntries::PackedEntries(const PackedEntries& other)
{
    // Only the entries in use are copied, already in order.
    other.forEach([&](std::string_view key, std::string_view value) { index.push_back(append(key, value)); });
    ordered = index.size();
    liveBytes = other.liveBytes;
}

PackedEntries& PackedEntries::operator=(const PackedEntries& other)
{
    if (this != &other)
        *this = PackedEntries(other);
    return *this;
}

std::string_view PackedEntries::keyOf(const char* record)
{
    std::size_t keySize = 0;
    std::size_t valueSize = 0;
    const char* at = getLength(getLength(record, keySize), valueSize);
    return {at, keySize};
}

std::string_view PackedEntries::valueOf(const char* record)
{
    std::size_t keySize = 0;
    std::size_t valueSize = 0;
    const char* at = getLength(getLength(record, keySize), valueSize);
    return {at + keySize, valueSize};
}

std::size_t PackedEntries::recordSize(const char* record)
{
    const std::string_view value = valueOf(record);
    return static_cast<std::size_t>(value.data() + value.size() - record);
}

PackedEntries::Ref PackedEntries::append(std::string_view key, std::string_view value) const
{
    const std::size_t size = lengthSize(key.size()) + lengthSize(value.size()) + key.size() + value.size();
    std::size_t block = 0;
    std::size_t offset = 0;
    if (size > blockSize || blocks.empty() || lastBlockSize - used < size) {
        // A record larger than a block gets one of its own, beside the block being filled.
        // Blocks grow from small ones: ten thousand targets of a few defines each must not cost
        // a large block each.
        const bool own = size > blockSize;
        const std::size_t newSize = own ? size : std::min(blockSize, std::max({std::size_t {256}, 2 * lastBlockSize, size}));
        if (blocks.size() >= (std::size_t {1} << 16))
            throw std::bad_alloc();
        blocks.push_back(std::make_unique_for_overwrite<char[]>(newSize));
        block = blocks.size() - 1;
        if (!own) {
            filling = block;
            lastBlockSize = newSize;
            used = size;
        }
    } else {
        block = filling;
        offset = used;
        used += size;
    }
    recordBytes += size;
    char* const record = blocks[block].get() + offset;
    char* const data = putLength(putLength(record, key.size()), value.size());
    // An empty view may hold a null pointer, which memcpy must not see.
    std::copy(key.begin(), key.end(), data);
    std::copy(value.begin(), value.end(), data + key.size());
    return static_cast<Ref>(block << 16 | offset);
}

void PackedEntries::put(std::string_view key, std::string_view value)
{
    index.push_back(append(key, value));
    if (index.size() - ordered > std::clamp<std::size_t>(ordered / 4, 1024, 1 << 20))
        settle();
}

std::optional<std::string_view> PackedEntries::find(std::string_view key) const
{
    settle();
    const auto found = std::lower_bound(index.begin(), index.end(), key,
                                        [&](Ref ref, std::string_view wanted) { return keyOf(at(ref)) < wanted; });
    if (found == index.end() || keyOf(at(*found)) != key)
        return std::nullopt;
    return valueOf(at(*found));
}

void PackedEntries::settle() const
{
    if (ordered == index.size())
        return;
    const auto byKey = [&](Ref a, Ref b) { return keyOf(at(a)) < keyOf(at(b)); };
    // Both steps are stable: of equal keys, the one added last ends last.
    std::stable_sort(index.begin() + static_cast<std::ptrdiff_t>(ordered), index.end(), byKey);
    std::inplace_merge(index.begin(), index.begin() + static_cast<std::ptrdiff_t>(ordered), index.end(), byKey);
    auto kept = index.begin();
    liveBytes = 0;
    for (auto ref = index.begin(); ref != index.end(); ++ref) {
        const char* const record = at(*ref);
        if (ref + 1 != index.end() && keyOf(record) == keyOf(at(ref[1]))) {
            droppedBytes += recordSize(record);
            continue;
        }
        liveBytes += keyOf(record).size() + valueOf(record).size();
        *kept++ = *ref;
    }
    index.erase(kept, index.end());
    ordered = index.size();
    if (droppedBytes > blockSize && droppedBytes > (recordBytes - droppedBytes) / 4)
        copyLiveRecords();
}

void PackedEntries::copyLiveRecords() const
{
    // In the order the records lie, each old block given back as soon as its records are
    // copied: the copy never holds the records in use twice. The keys are unique here, so the
    // index is then simply sorted by key again.
    std::sort(index.begin(), index.end());
    PackedEntries fresh;
    std::size_t copied = 0;  // the old blocks before this one are given back
    for (Ref& ref : index) {
        for (; copied < ref >> 16; ++copied)
            blocks[copied].reset();
        ref = fresh.append(keyOf(at(ref)), valueOf(at(ref)));
    }
    blocks = std::move(fresh.blocks);
    filling = fresh.filling;
    used = fresh.used;
    lastBlockSize = fresh.lastBlockSize;
    recordBytes = fresh.recordBytes;
    droppedBytes = 0;
    std::sort(index.begin(), index.end(), [&](Ref a, Ref b) { return keyOf(at(a)) < keyOf(at(b)); });
}
