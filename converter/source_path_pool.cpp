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
    if (size > left) {
        // A path longer than a block gets a block of its own size.
        const std::size_t blockBytes = std::max(blockSize, size);
        blocks.push_back(std::make_unique_for_overwrite<char[]>(blockBytes));
        next = blocks.back().get();
        left = blockBytes;
    }
    char* const room = next;
    next += size;
    left -= size;
    return room;
}
