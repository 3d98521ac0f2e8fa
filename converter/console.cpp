// Standard output of the converter.
#include "console.h"

#include <iostream>

void printLine(std::string_view text)
{
    std::cout.write(text.data(), static_cast<std::streamsize>(text.size()));
    std::cout.put('\n');
    std::cout.flush();
}

void printLine(std::string_view head, std::string_view tail)
{
    std::cout.write(head.data(), static_cast<std::streamsize>(head.size()));
    std::cout.write(tail.data(), static_cast<std::streamsize>(tail.size()));
    std::cout.put('\n');
    std::cout.flush();
}
