// The lines of an input file read a block at a time.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

#include "platform.h"
#include "text_util.h"

// How much of a file is read at a time; a Keil file is recognised by its first block.
inline constexpr std::size_t lineBlockSize = 256 * 1024;

// The lines of a file still being read: each block read on is appended to the part of a line
// that the last one left. The buffer grows only for a line longer than a block, never past the
// input limit and a block, and shrinks again once such a line is over. A read that fails throws
// AsciiReaderError CannotOpen; a line longer than maximumLineBytes throws FileTooLarge.
class StreamedLines : public LineSource {
public:
    // start is what was read of file already.
    StreamedLines(std::string_view start, platform::InputFile& file);

    bool next(std::string_view& line) override;

private:
    void readBlock();
    void grow(std::size_t size);

    platform::InputFile& file;
    std::unique_ptr<char[]> buffer;
    std::size_t capacity = 0;
    std::size_t used = 0;
    std::size_t position = 0;  // where the next line starts
    std::size_t searched = 0;  // no line feed before this
    bool ended = false;
};
