// A length written before the bytes it counts, in 7-bit groups, low first: one byte for most.
#pragma once

#include <cstddef>

// Writes length at at and returns the place after it.
inline char* putLength(char* at, std::size_t length)
{
    while (length >= 0x80) {
        *at++ = static_cast<char>(0x80 | (length & 0x7f));
        length >>= 7;
    }
    *at++ = static_cast<char>(length);
    return at;
}

// Reads a length at at into length and returns the place after it.
inline const char* getLength(const char* at, std::size_t& length)
{
    length = 0;
    for (unsigned shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(*at++);
        length |= static_cast<std::size_t>(byte & 0x7f) << shift;
        if (byte < 0x80)
            return at;
    }
}

// The bytes putLength writes for length.
inline std::size_t lengthSize(std::size_t length)
{
    std::size_t size = 1;
    for (; length >= 0x80; length >>= 7)
        ++size;
    return size;
}
