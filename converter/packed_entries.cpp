// Keyed byte records kept compactly.
#include "packed_entries.h"

#include <algorithm>

namespace {

// A record is the key's length, the value's length (each in 7-bit groups, low first), the key
// and the value.
char* putLength(char* at, std::size_t length)
{
    while (length >= 0x80) {
        *at++ = static_cast<char>(0x80 | (length & 0x7f));
        length >>= 7;
    }
    *at++ = static_cast<char>(length);
    return at;
}

const char* getLength(const char* at, std::size_t& length)
{
    length = 0;
    for (unsigned shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(*at++);
        length |= static_cast<std::size_t>(byte & 0x7f) << shift;
        if (byte < 0x80)
            return at;
    }
}

std::size_t lengthSize(std::size_t length)
{
    std::size_t size = 1;
    for (; length >= 0x80; length >>= 7)
        ++size;
    return size;
}

}  // namespace

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

const char* PackedEntries::append(std::string_view key, std::string_view value) const
{
    const std::size_t size = lengthSize(key.size()) + lengthSize(value.size()) + key.size() + value.size();
    char* at = nullptr;
    if (size > blockSize) {
        // A record larger than a block gets one of its own, kept before the block being filled.
        auto own = std::make_unique_for_overwrite<char[]>(size);
        at = own.get();
        blocks.insert(blocks.empty() ? blocks.end() : blocks.end() - 1, std::move(own));
    } else {
        if (lastBlockSize - used < size) {
            // Blocks grow from small ones: ten thousand targets of a few defines each must not
            // cost a large block each.
            lastBlockSize = std::min(blockSize, std::max({std::size_t {256}, 2 * lastBlockSize, size}));
            blocks.push_back(std::make_unique_for_overwrite<char[]>(lastBlockSize));
            used = 0;
        }
        at = blocks.back().get() + used;
        used += size;
    }
    recordBytes += size;
    char* const record = at;
    at = putLength(putLength(at, key.size()), value.size());
    // An empty view may hold a null pointer, which memcpy must not see.
    std::copy(key.begin(), key.end(), at);
    std::copy(value.begin(), value.end(), at + key.size());
    return record;
}

void PackedEntries::put(std::string_view key, std::string_view value)
{
    index.push_back(append(key, value));
    if (index.size() - ordered > std::max<std::size_t>(ordered / 4, 1024))
        settle();
}

std::optional<std::string_view> PackedEntries::find(std::string_view key) const
{
    settle();
    const auto found = std::lower_bound(index.begin(), index.end(), key,
                                        [](const char* record, std::string_view wanted) { return keyOf(record) < wanted; });
    if (found == index.end() || keyOf(*found) != key)
        return std::nullopt;
    return valueOf(*found);
}

void PackedEntries::settle() const
{
    if (ordered == index.size())
        return;
    const auto byKey = [](const char* a, const char* b) { return keyOf(a) < keyOf(b); };
    // Both steps are stable: of equal keys, the one added last ends last.
    std::stable_sort(index.begin() + static_cast<std::ptrdiff_t>(ordered), index.end(), byKey);
    std::inplace_merge(index.begin(), index.begin() + static_cast<std::ptrdiff_t>(ordered), index.end(), byKey);
    auto kept = index.begin();
    liveBytes = 0;
    for (auto at = index.begin(); at != index.end(); ++at) {
        if (at + 1 != index.end() && keyOf(*at) == keyOf(at[1])) {
            droppedBytes += recordSize(*at);
            continue;
        }
        liveBytes += keyOf(*at).size() + valueOf(*at).size();
        *kept++ = *at;
    }
    index.erase(kept, index.end());
    ordered = index.size();
    if (droppedBytes > blockSize && droppedBytes > (recordBytes - droppedBytes) / 2)
        copyLiveRecords();
}

void PackedEntries::copyLiveRecords() const
{
    PackedEntries fresh;
    for (const char*& record : index)
        record = fresh.append(keyOf(record), valueOf(record));
    blocks = std::move(fresh.blocks);
    used = fresh.used;
    lastBlockSize = fresh.lastBlockSize;
    recordBytes = fresh.recordBytes;
    droppedBytes = 0;
}
