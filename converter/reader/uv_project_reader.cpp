// Reader of Keil Uv project files in the old text format: the line loop and its records.
#include "uv_project_reader.h"

#include <climits>

#include "../source_path_pool.h"
#include "../sub_project.h"
#include "../text_util.h"
#include "path_completion.h"

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
    lines = &reading;
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
    applyExclusions();
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
    for (SubProject* target : projectNode->children)
        context.addChild(*target, name);
    ++groupLinesRead;
}

void UvProjectReader::readFile(std::string_view line)
{
    const std::size_t open = line.find('<');
    const std::size_t close = line.find('>');
    const std::size_t start = open == std::string_view::npos ? 0 : open + 1;
    const std::string written(close == std::string_view::npos || close < start ? line.substr(start)
                                                                                : line.substr(start, close - start));

    // Every File line counts for the positions that file option blocks name, kept or not.
    FileLine& record = fileLines.emplace_back();
    record.targets = static_cast<std::uint32_t>(targets.size());
    record.groupLines = groupLinesRead;

    const std::string path = completeFilePath(written, projectNode->path);
    if (!acceptsFile(path, context.extensions))
        return;

    const std::size_t afterKeyword = line.find("File ") + 5;
    const std::size_t comma = line.find(',');
    const std::string_view numberText = comma == std::string_view::npos || comma < afterKeyword
                                            ? line.substr(afterKeyword)
                                            : line.substr(afterKeyword, comma - afterKeyword);
    record.group = leadingInteger(numberText);

    // Every target gets the same copy of the path.
    record.path = context.sourcePaths.keep(path);
    // A number that names no group of a target leaves that target alone.
    for (SubProject* target : projectNode->children)
        if (record.group >= 1 && static_cast<unsigned long long>(record.group) <= target->children.size())
            context.addFile(*target->children[static_cast<std::size_t>(record.group - 1)], record.path);
}

void UvProjectReader::applyExclusions()
{
    // A target with exclusions lists its files anew, as the lines put them there, less what
    // its option blocks leave out.
    for (const auto& [position, excluded] : exclusions) {
        SubProject& target = *targets[position];
        for (SubProject* group : target.children)
            group->files.clear();
        for (std::size_t i = 0; i < fileLines.size(); ++i) {
            const FileLine& file = fileLines[i];
            if (file.path.empty() || position >= file.targets)
                continue;
            const long long groups = static_cast<long long>(file.groupLines - groupLinesAtTarget[position]);
            if (file.group < 1 || file.group > groups)
                continue;
            const std::size_t group = static_cast<std::size_t>(file.group - 1);
            const auto rule = excluded.filesInBuild.find(i);
            const bool inBuild = rule != excluded.filesInBuild.end() ? rule->second : !excluded.groupsLeftOut.contains(group);
            if (inBuild)
                target.children[group]->files.push_back(file.path);
        }
    }
}

void UvProjectReader::applyGroupSettings()
{
    // A group with settings of its own gets a complete personality: the target's settings
    // with the group's on top, as its target has them once the whole file is read.
    for (const auto& [target, group] : groupSettings)
        context.overlay(group->settings, target->settings);
}
