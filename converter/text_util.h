// Small string helpers shared by the run, the reader, the writer and the platform layer.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

// A copy of text without all leading, then all trailing occurrences of c.
std::string trimChar(const std::string& text, char c);

// A copy of text without any of the characters in set at either end.
std::string trimAny(const std::string& text, std::string_view set);

// folder + "\" + rest, without a second "\" when folder already ends in one (a drive's root);
// rest alone when folder is empty.
std::string joinPath(const std::string& folder, const std::string& rest);

// path without the "\" and "/" that end it. The first character stays, and so does the
// separator of a drive's root ("C:\"): those name a folder of their own.
std::string_view withoutTrailingSeparators(std::string_view path);

// The ASCII letters A to Z as a to z; every other byte stays.
inline char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// text with asciiLower applied to every byte.
std::string asciiLowerCopy(std::string_view text);

// path as a key that two names of one folder share: "/" read as "\", runs of separators as one,
// none at either end, ASCII letter case ignored (as Windows compares folder names).
std::string folderKey(std::string_view path);

// Upper-cases the ASCII letters a to z; every other byte stays.
std::string toUpper(const std::string& text);

// True when a and b differ at most in the letter case of ASCII letters.
bool equalIgnoringAsciiCase(std::string_view a, std::string_view b);
// The order of a and b, bytes compared unsigned, ASCII letter case ignored: below 0, 0 or above 0.
int compareIgnoringAsciiCase(std::string_view a, std::string_view b);

// Calls visit with every part of text between the characters of separators, in order, empty
// parts included: "a\\b\" has the parts "a", "", "b" and "". A part views into text.
template <class Visit>
void forEachPart(std::string_view text, std::string_view separators, Visit&& visit)
{
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = std::min(text.find_first_of(separators, start), text.size());
        visit(text.substr(start, end - start));
        if (end == text.size())
            return;
        start = end + 1;
    }
}

// True when a part of name between "\" and "/" is "..".
bool climbsUp(std::string_view name);

// Turns every "/" of text into "\" in place.
void convertSeparators(std::string& text);

// True for a file name that Windows opens as a device in any folder and with any extension:
// CON, PRN, AUX, NUL, COM1 to COM9 and LPT1 to LPT9, in any letter case.
bool namesWindowsDevice(std::string_view fileName);

// True when text holds more than limit bytes in a row without separator.
bool holdsStretchLongerThan(std::string_view text, char separator, std::size_t limit);

// Lines cut as Windows text mode reads them: up to each line feed, a carriage return directly
// before the line feed is not part of the line, and a last line without a line feed counts.
class LineSource {
public:
    virtual ~LineSource() = default;

    // The next line, or false at the end; the line lives until the next call.
    virtual bool next(std::string_view& line) = 0;
};

// The lines of a text held in memory.
class TextLines : public LineSource {
public:
    explicit TextLines(std::string_view text) : text(text) {}

    // The next line, or false at the end of the text.
    bool next(std::string_view& line) override;

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
