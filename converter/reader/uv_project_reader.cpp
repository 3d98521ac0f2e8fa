// Reader of Keil Uv project files in the old text format: the line loop and its records.
#include "uv_project_reader.h"

#include <algorithm>
#include <climits>

#include "../sub_project.h"
#include "../text_util.h"
#include "path_completion.h"
#include "text_file_lines.h"

namespace {

// The text between the first "(" and the first ")"; to the end when no ")" follows.
std::string nameInParentheses(std::string_view line)
{
    const std::size_t open = line.find('(');
    const std::size_t close = line.find(')');
    const std::size_t start = open == std::string_view::npos ? 0 : open + 1;
    if (close == std::string_view::npos || close < start)
        return std::string(line.substr(start));
    return std::string(line.substr(start, close - start));
}

// Reads an integer as atoi would (blanks, a sign, then digits), saturating instead of
// overflowing on absurd numbers: the smallest negative number reads as -LLONG_MAX.
long long leadingInteger(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long number = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const int digit = text[i] - '0';
        number = number > (LLONG_MAX - digit) / 10 ? LLONG_MAX : number * 10 + digit;
    }
    return negative ? -number : number;
}

}  // namespace

bool UvProjectReader::parse(std::string_view text)
{
    TextLines reading(text);
    return parse(reading);
}

bool UvProjectReader::parse(LineSource& reading)
{
    lines = &reading;
    fileLines = std::make_shared<TextFileLines>(projectNode->path);
    targetsByName.clear();
    for (SubProject* target : projectNode->children)
        targetsByName[target->name] = target;

    std::string_view line;
    bool first = true;
    bool headed = false;
    while (reading.next(line)) {
        if (first)
            headed = line.starts_with("### uVision");
        first = false;
        if (contains(line, "Target ("))
            readTarget(line);
        else if (contains(line, "Group ("))
            readGroup(line);
        else if (contains(line, "File ") && !contains(line, "Options "))
            readFile(line);
        else if (contains(line, "Options "))
            readOptions(line);
    }
    lines = nullptr;
    fileLines->finish();
    applyGroupSettings();
    return sawTarget || headed;
}

void UvProjectReader::readTarget(std::string_view line)
{
    SubProject* target = context.addChild(*projectNode, nameInParentheses(line));
    targetsByName[target->name] = target;  // a later target of the same name wins
    targets.push_back(target);
    groupLinesAtTarget.push_back(groupLinesRead);
    sawTarget = true;
}

void UvProjectReader::readGroup(std::string_view line)
{
    const std::string name = nameInParentheses(line);
    for (std::size_t position = 0; position < targets.size(); ++position) {
        SubProject* group = context.addChild(*targets[position], name);
        const auto number = static_cast<std::uint32_t>(targets[position]->children.size());
        group->files = fileLines->groupFiles(number, position);
    }
    ++groupLinesRead;
}

void UvProjectReader::readFile(std::string_view line)
{
    const std::size_t open = line.find('<');
    const std::size_t close = line.find('>');
    const std::size_t start = open == std::string_view::npos ? 0 : open + 1;
    const std::string_view written = close == std::string_view::npos || close < start ? line.substr(start)
                                                                                     : line.substr(start, close - start);

    // Every File line counts for the positions that file option blocks name, kept or not.
    const SplitFilePath file = splitFilePath(written);
    if (!fileLines->keptPaths().accepts(file, context.extensions)) {
        fileLines->addUnlisted();
        return;
    }

    const std::size_t afterKeyword = line.find("File ") + 5;
    const std::size_t comma = line.find(',');
    const std::string_view numberText = comma == std::string_view::npos || comma < afterKeyword
                                            ? line.substr(afterKeyword)
                                            : line.substr(afterKeyword, comma - afterKeyword);
    const long long number = leadingInteger(numberText);

    // Each target has the groups read after it was made, so the targets that have this number
    // come first; one it names no group of is left alone. Each of them lists the line once.
    std::uint32_t group = 0;
    std::size_t listing = 0;
    if (number >= 1 && number <= groupLinesRead) {
        group = static_cast<std::uint32_t>(number);
        listing = static_cast<std::size_t>(
            std::upper_bound(groupLinesAtTarget.begin(), groupLinesAtTarget.end(), groupLinesRead - group)
            - groupLinesAtTarget.begin());
    }
    // A line no target lists is in no output: only its position is kept.
    if (listing == 0) {
        fileLines->addUnlisted();
        return;
    }
    // The line's text and its CR LF, in each target's project block: counted before the path
    // is kept.
    context.budget.countListedLine((fileLines->keptPaths().completedSize(file) + 2) * listing);
    fileLines->add(file, group);
}

void UvProjectReader::applyGroupSettings()
{
    // A group with settings of its own gets a complete personality: the target's settings
    // with the group's on top, as its target has them once the whole file is read.
    for (const auto& [target, group] : groupSettings)
        context.overlay(group->settings, target->settings);
}
