// Small string helpers shared by the run, the reader and the writer.
#include "text_util.h"

std::string trimChar(const std::string& text, char c)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && text[begin] == c)
        ++begin;
    while (end > begin && text[end - 1] == c)
        --end;
    return text.substr(begin, end - begin);
}

std::string trimAny(const std::string& text, std::string_view set)
{
    const std::size_t begin = text.find_first_not_of(set);
    if (begin == std::string::npos)
        return {};
    return text.substr(begin, text.find_last_not_of(set) - begin + 1);
}

std::string joinPath(const std::string& folder, const std::string& rest)
{
    if (folder.empty() || folder.back() == '\\')
        return folder + rest;
    return folder + "\\" + rest;
}

std::string_view withoutTrailingSeparators(std::string_view path)
{
    while (path.size() > 1 && isSeparator(path.back()) && !(path.size() == 3 && path[1] == ':'))
        path.remove_suffix(1);
    return path;
}

std::string asciiLowerCopy(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        c = asciiLower(c);
    return lower;
}

std::string folderKey(std::string_view path)
{
    std::string key;
    key.reserve(path.size());
    for (const char c : path) {
        if (!isSeparator(c))
            key += asciiLower(c);
        else if (!key.empty() && key.back() != '\\')
            key += '\\';
    }
    if (!key.empty() && key.back() == '\\')
        key.pop_back();
    return key;
}

std::string toUpper(const std::string& text)
{
    std::string upper = text;
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

bool equalIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return asciiLower(x) == asciiLower(y); });
}

int compareIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto x = static_cast<unsigned char>(asciiLower(a[i]));
        const auto y = static_cast<unsigned char>(asciiLower(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

bool climbsUp(std::string_view name)
{
    bool climbs = false;
    forEachPart(name, "\\/", [&](std::string_view part) { climbs = climbs || part == ".."; });
    return climbs;
}

void convertSeparators(std::string& text)
{
    // Most paths hold no "/" at all: a library search finds that quicker than a byte loop.
    for (std::size_t at = text.find('/'); at != std::string::npos; at = text.find('/', at + 1))
        text[at] = '\\';
}

bool namesWindowsDevice(std::string_view fileName)
{
    const std::string_view stem = fileName.substr(0, fileName.find('.'));
    if (stem.size() != 3 && stem.size() != 4)
        return false;
    const std::string word = asciiLowerCopy(stem);
    if (word.size() == 4)
        return (word.starts_with("com") || word.starts_with("lpt")) && word[3] >= '1' && word[3] <= '9';
    return word == "con" || word == "prn" || word == "aux" || word == "nul";
}

bool TextLines::next(std::string_view& line)
{
    if (position >= text.size())
        return false;
    const std::size_t feed = text.find('\n', position);
    if (feed == std::string_view::npos) {
        // A carriage return at the very end stands before no line feed, so it stays.
        line = text.substr(position);
        position = text.size();
        return true;
    }
    line = text.substr(position, feed - position);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    position = feed + 1;
    return true;
}

bool holdsStretchLongerThan(std::string_view text, char separator, std::size_t limit)
{
    for (std::size_t start = 0;;) {
        const std::size_t found = text.find(separator, start);
        const std::size_t end = found == std::string_view::npos ? text.size() : found;
        if (end - start > limit)
            return true;
        if (found == std::string_view::npos)
            return false;
        start = found + 1;
    }
}
