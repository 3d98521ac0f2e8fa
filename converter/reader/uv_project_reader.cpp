// Reader of Keil Uv project files in the old text format: the line loop and its records.
#include "uv_project_reader.h"

#include <climits>
#include <string_view>

#include "../converter.h"
#include "../errors.h"
#include "../platform.h"
#include "../text_util.h"
#include "path_completion.h"

namespace {

// The text between the first "(" and the first ")"; to the end when no ")" follows.
std::string nameInParentheses(const std::string& line)
{
    const std::size_t open = line.find('(');
    const std::size_t close = line.find(')');
    const std::size_t start = open == std::string::npos ? 0 : open + 1;
    if (close == std::string::npos || close < start)
        return line.substr(start);
    return line.substr(start, close - start);
}

// Reads an integer as atoi would (blanks, a sign, then digits), saturating instead of
// overflowing on absurd numbers.
long long leadingInteger(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long number = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        number = number > LLONG_MAX / 10 ? LLONG_MAX : number * 10 + (text[i] - '0');
    return negative ? -number : number;
}

}  // namespace

std::string toUpper(const std::string& text)
{
    std::string upper = text;
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

void UvProjectReader::open(const std::string& path)
{
    filePath = path;
    input.close();
    input.clear();
    if (!platform::openInput(path, input))
        throw AsciiReaderError(AsciiReaderError::CannotOpen, path);
}

bool UvProjectReader::parse()
{
    parse(input);
    input.close();
    input.clear();
    return true;
}

bool UvProjectReader::parse(std::istream& in)
{
    current = &in;
    targetsByName.clear();
    for (SubProject* target : projectNode->children)
        targetsByName[target->name] = target;
    std::string line;
    while (readTextLine(in, line)) {
        if (contains(line, "Target ("))
            readTarget(line);
        else if (contains(line, "Group ("))
            readGroup(line);
        else if (contains(line, "File ")) {
            if (!contains(line, "Options "))
                readFile(line);
        } else if (contains(line, "Options "))
            readOptions(line);
    }
    current = nullptr;
    return true;
}

void UvProjectReader::readTarget(const std::string& line)
{
    SubProject* target = projectNode->addChild(nameInParentheses(line));
    targetsByName[target->name] = target;  // a later target of the same name wins
}

void UvProjectReader::readGroup(const std::string& line)
{
    const std::string name = nameInParentheses(line);
    for (SubProject* target : projectNode->children)
        target->addChild(name);
}

void UvProjectReader::readFile(const std::string& line)
{
    const std::size_t open = line.find('<');
    const std::size_t close = line.find('>');
    const std::size_t start = open == std::string::npos ? 0 : open + 1;
    const std::string written =
        close == std::string::npos || close < start ? line.substr(start) : line.substr(start, close - start);

    const std::string path = completeFilePath(written, projectNode->path);
    if (!acceptsFile(path))
        return;

    const std::size_t afterKeyword = line.find("File ") + 5;
    const std::size_t comma = line.find(',');
    const std::string_view numberText = comma == std::string::npos || comma < afterKeyword
                                            ? std::string_view(line).substr(afterKeyword)
                                            : std::string_view(line).substr(afterKeyword, comma - afterKeyword);
    const long long group = leadingInteger(numberText);

    // Every target gets the same copy of the path.
    const std::string_view kept = projectNode->owner->sourcePaths.keep(path);
    // A number that names no group of a target leaves that target alone.
    for (SubProject* target : projectNode->children)
        if (group >= 1 && static_cast<unsigned long long>(group) <= target->children.size())
            target->children[static_cast<std::size_t>(group - 1)]->files.push_back(kept);
}

bool UvProjectReader::acceptsFile(const std::string& path) const
{
    if (extensions.empty())
        return true;
    const std::size_t dot = path.rfind('.');
    const std::string_view extension =
        dot == std::string::npos ? std::string_view(path) : std::string_view(path).substr(dot + 1);
    // Compared as toUpper would compare them, without making upper-case copies per file.
    auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    for (const std::string& entry : extensions) {
        if (entry.size() != extension.size())
            continue;
        bool same = true;
        for (std::size_t i = 0; same && i < entry.size(); ++i)
            same = upper(entry[i]) == upper(extension[i]);
        if (same)
            return true;
    }
    return false;
}
