// The parts of the platform layer that are the same on every host.
#include "platform.h"

#include <algorithm>

namespace platform {

std::size_t longestPart(std::string_view path)
{
    std::size_t longest = 0;
    std::size_t start = 0;
    while (start < path.size()) {
        const std::size_t end = std::min(path.find_first_of("\\/", start), path.size());
        longest = std::max(longest, end - start);
        start = end + 1;
    }
    return longest;
}

bool ReplacementFile::write(std::string_view bytes)
{
    if (failed || handle < 0)
        return false;
    if (buffer.size() + bytes.size() > buffer.capacity() && !flushBuffer())
        return false;
    if (bytes.size() >= buffer.capacity()) {
        buffer.assign(bytes);
        return flushBuffer();
    }
    buffer.append(bytes);
    return true;
}

}  // namespace platform
