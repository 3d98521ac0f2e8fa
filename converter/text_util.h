// Small string helpers shared by the run, the reader and the writer.
#pragma once

#include <string>
#include <string_view>

// A copy of text without all leading, then all trailing occurrences of c.
std::string trimChar(const std::string& text, char c);

// A copy of text without any of the characters in set at either end.
std::string trimAny(const std::string& text, std::string_view set);

// folder + "\" + rest, without a second "\" when folder already ends in one (a drive's root).
std::string joinPath(const std::string& folder, const std::string& rest);

// Turns every "/" of text into "\" in place.
void convertSeparators(std::string& text);

// True for a file name that Windows opens as a device in any folder and with any extension:
// CON, PRN, AUX, NUL, COM1 to COM9 and LPT1 to LPT9, in any letter case.
bool namesWindowsDevice(std::string_view fileName);

// The lines of a text held in memory, cut as Windows text mode reads them: up to each line
// feed, a carriage return directly before the line feed is not part of the line, and a last
// line without a line feed counts.
class TextLines {
public:
    explicit TextLines(std::string_view text) : text(text) {}

    // The next line, or false at the end of the text.
    bool next(std::string_view& line);

private:
    std::string_view text;
    std::size_t position = 0;
};

inline bool contains(std::string_view text, std::string_view piece)
{
    return text.find(piece) != std::string_view::npos;
}

inline bool isSeparator(char c) { return c == '\\' || c == '/'; }

// Position of the last "\" or "/" in text, or npos.
inline std::size_t lastSeparator(std::string_view text) { return text.find_last_of("\\/"); }
