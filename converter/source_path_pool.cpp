// Storage for the source file paths of one run.
#include "source_path_pool.h"

#include <algorithm>
#include <cstring>

std::string_view SourcePathPool::keep(std::string_view path)
{
    // An empty path needs no storage (and memcpy must not see a null pointer).
    if (path.empty())
        return {};
    if (path.size() > left) {
        // A path longer than a block gets a block of its own size.
        const std::size_t size = std::max(blockSize, path.size());
        blocks.push_back(std::make_unique_for_overwrite<char[]>(size));
        next = blocks.back().get();
        left = size;
    }
    std::memcpy(next, path.data(), path.size());
    const std::string_view kept(next, path.size());
    next += path.size();
    left -= path.size();
    return kept;
}
