// Standard output of the converter: whole lines, each flushed at once for a reader of the pipe.
#pragma once

#include <string_view>

// Writes text and a line feed to standard output and flushes.
void printLine(std::string_view text);

// Same, for a line made of two pieces (a fixed text and a path), without building a temporary.
void printLine(std::string_view head, std::string_view tail);
