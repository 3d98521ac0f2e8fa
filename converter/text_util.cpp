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

void convertSeparators(std::string& text)
{
    for (char& c : text)
        if (c == '/')
            c = '\\';
}

bool readTextLine(std::istream& in, std::string& line)
{
    if (!std::getline(in, line))
        return false;
    // getline stops at eof without a line feed; only a CR that stood before a line feed goes.
    if (!in.eof() && !line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}
