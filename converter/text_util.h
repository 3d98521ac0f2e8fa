// Small string helpers shared by the run, the reader and the writer.
#pragma once

#include <istream>
#include <string>
#include <string_view>

// A copy of text without all leading, then all trailing occurrences of c.
std::string trimChar(const std::string& text, char c);

// A copy of text without any of the characters in set at either end.
std::string trimAny(const std::string& text, std::string_view set);

// Turns every "/" of text into "\" in place.
void convertSeparators(std::string& text);

// Reads one line up to a line feed as Windows text mode would: a carriage return directly
// before the line feed is not part of the line, and a last line without a line feed counts.
bool readTextLine(std::istream& in, std::string& line);

inline bool contains(std::string_view text, std::string_view piece)
{
    return text.find(piece) != std::string_view::npos;
}

inline bool isSeparator(char c) { return c == '\\' || c == '/'; }

// Position of the last "\" or "/" in text, or npos.
inline std::size_t lastSeparator(std::string_view text) { return text.find_last_of("\\/"); }
