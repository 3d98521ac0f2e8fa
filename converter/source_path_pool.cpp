// Storage for the source file paths of one run.
#include "source_path_pool.h"

#include <algorithm>
#include <cstring>

std::string_view SourcePathPool::keep(std::string_view path)
{
    // An empty path needs no storage (and memcpy must not see a null pointer).
    if (path.empty())
        return {};
    char* const kept = allocate(path.size());
    std::memcpy(kept, path.data(), path.size());
    return {kept, path.size()};
}

char* SourcePathPool::allocate(std::size_t size)
{
    size = std::max<std::size_t>(size, 1);
    // A path of more than a quarter block gets a block of its own size, and the current block
    // stays current: what a block leaves unused is less than a quarter of it.
    if (size > blockSize / 4) {
        blocks.push_back(std::make_unique_for_overwrite<char[]>(size));
        return blocks.back().get();
    }
    if (size > left) {
        blocks.push_back(std::make_unique_for_overwrite<char[]>(blockSize));
        next = blocks.back().get();
        left = blockSize;
    }
    char* const room = next;
    next += size;
    left -= size;
    return room;
}
