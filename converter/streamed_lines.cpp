// The lines of an input file read a block at a time.
#include "streamed_lines.h"

#include <algorithm>

#include "errors.h"

StreamedLines::StreamedLines(std::string_view start, platform::InputFile& file) : file(file)
{
    grow(start.size() + lineBlockSize);
    std::copy(start.begin(), start.end(), buffer.get());
    used = start.size();
}

bool StreamedLines::next(std::string_view& line)
{
    for (;;) {
        const std::string_view held(buffer.get(), used);
        const std::size_t feed = held.find('\n', searched);
        if (feed != std::string_view::npos) {
            line = held.substr(position, feed - position);
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            position = searched = feed + 1;
            return true;
        }
        if (ended) {
            if (position >= used)
                return false;
            // A carriage return at the very end stands before no line feed, so it stays.
            line = held.substr(position);
            position = searched = used;
            return true;
        }
        if (used - position > maximumLineBytes)
            throw FileTooLarge(file.path());
        readBlock();
    }
}

// Moves the part of a line left to the front and reads a block behind it. A long line is
// searched once, not again with every block it grows by.
void StreamedLines::readBlock()
{
    std::copy(buffer.get() + position, buffer.get() + used, buffer.get());
    used -= position;
    searched = used;
    position = 0;
    if (capacity - used < lineBlockSize)
        grow(std::min<std::size_t>(std::max(capacity * 2, used + lineBlockSize), maximumInputBytes + lineBlockSize));
    else if (capacity > 4 * lineBlockSize && used + lineBlockSize <= capacity / 4)
        grow(std::max(2 * lineBlockSize, used + lineBlockSize));  // a long line is over: its room goes back
    std::size_t got = 0;
    const platform::InputFile::Read read = file.readMore(buffer.get() + used, lineBlockSize, got);
    if (read == platform::InputFile::Read::Failed)
        throw AsciiReaderError(AsciiReaderError::CannotOpen, file.path());
    used += got;
    ended = read == platform::InputFile::Read::End;
}

void StreamedLines::grow(std::size_t size)
{
    auto larger = std::make_unique_for_overwrite<char[]>(size);
    std::copy(buffer.get(), buffer.get() + used, larger.get());
    buffer = std::move(larger);
    capacity = size;
}
