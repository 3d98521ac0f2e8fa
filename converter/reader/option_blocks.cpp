// Option blocks of a Keil Uv project file: the settings of targets and groups, and which
// groups and files a target leaves out of its build.
#include <algorithm>
#include <cstring>

#include "../console.h"
#include "../errors.h"
#include "../sub_project.h"
#include "../text_util.h"
#include "define_list.h"
#include "file_options.h"
#include "path_completion.h"
#include "text_file_lines.h"
#include "uv_project_reader.h"

namespace {

// The keywords of a block's value lines, in the order they are tested: the first that a line
// holds decides. The CARM and ARM-GNU keys follow the six of the older toolchains.
struct Keyword {
    const char* text;
    bool defines;  // a define list; otherwise an include list
};
constexpr Keyword keywords[] = {
    {"C51DEF (", true},   {"ADSCDEFN (", true}, {"ADSADEFN (", true}, {"INCC5 (", false},  {"ADSCINCD (", false},
    {"ADSAINCD (", false}, {"KCADEF (", true},   {"ACDEFN (", true},   {"AADEFN (", true},  {"KCAINC (", false},
    {"KAAINC (", false},  {"ACINCD (", false},  {"AAINCD (", false},
};

// The text after the keyword up to the end of the line, less the line's last character
// (the closing parenthesis).
std::string_view valueAfter(const char* keyword, std::string_view line)
{
    const std::size_t start = line.find(keyword) + std::strlen(keyword);
    if (start + 1 >= line.size())
        return {};
    return line.substr(start, line.size() - 1 - start);
}

// "Options 1,0,0  // Target 'Main'" names Main: one character after "Target " and the
// line's last character are dropped.
std::string optionsTargetName(std::string_view line)
{
    const std::size_t keyword = line.find("Target ");
    const std::size_t start = keyword == std::string_view::npos ? 7 : keyword + 7 + 1;
    if (start + 1 >= line.size())
        return {};
    return std::string(line.substr(start, line.size() - 1 - start));
}

// The three numbers "t,g,f" right after the first "Options ": target, group and file, by
// position. False when they are not three decimal numbers separated by commas.
bool optionsPositions(std::string_view line, std::size_t (&numbers)[3])
{
    std::size_t i = line.find("Options ") + 8;
    for (int n = 0; n < 3; ++n) {
        if (n > 0) {
            if (i >= line.size() || line[i] != ',')
                return false;
            ++i;
        }
        const std::size_t start = i;
        std::size_t value = 0;
        for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i)
            value = value > 100'000'000 ? value : value * 10 + static_cast<std::size_t>(line[i] - '0');
        if (i == start)
            return false;
        numbers[n] = value;
    }
    return true;
}

}  // namespace

void UvProjectReader::readOptions(std::string_view line)
{
    std::size_t position[3] = {};
    const bool numbered = optionsPositions(line, position);
    const auto [t, g, f] = position;
    if (contains(line, "File ")) {
        // A file block names its file by position among the File lines read so far; one that
        // names nothing is skipped, its lines left to the line loop.
        if (numbered && t >= 1 && t <= targets.size() && f >= 1 && f <= fileLines->size())
            readFileOptions(t - 1, f - 1);
    } else if (contains(line, "Target ")) {
        readTargetOptions(line);
    } else if (numbered && g >= 1 && f == 0 && t >= 1 && t <= targets.size() && g <= targets[t - 1]->children.size()) {
        readGroupOptions(t - 1, g - 1);
    } else {
        printLine(message::noTargetForOptions);
    }
}

void UvProjectReader::readFileOptions(std::size_t target, std::size_t file)
{
    bool carries = false;
    const std::string inBuild = readBlock(nullptr, &carries);
    if (inBuild == "0" || inBuild == "1")
        fileLines->setFileInBuild(target, file, inBuild == "1" ? TextFileLines::InBuild::In : TextFileLines::InBuild::Out);
    else if (!inBuild.empty())
        fileLines->setFileInBuild(target, file, TextFileLines::InBuild::AsGroup);
    // The project has no place for settings of a single file: say so rather than drop them.
    if (carries && fileLines->entryOf(file, reportedEntry)) {
        const auto* const entry = reinterpret_cast<const unsigned char*>(reportedEntry.data());
        if (reportedFiles.first(fileLines->keptPaths(), entry)) {
            const auto [base, rest] = fileLines->keptPaths().parts(entry);
            printLine(std::string(message::fileOptionsNotCarried).append(base), rest);
        }
    }
}

void UvProjectReader::readTargetOptions(std::string_view line)
{
    const auto found = targetsByName.find(optionsTargetName(line));
    if (found == targetsByName.end()) {
        // The block's lines go back to the line loop.
        printLine(message::noTargetForOptions);
        return;
    }
    readBlock(&found->second->settings, nullptr);
}

void UvProjectReader::readGroupOptions(std::size_t target, std::size_t groupIndex)
{
    SubProject* group = targets[target]->children[groupIndex];
    const std::string inBuild = readBlock(&group->settings, nullptr);
    if (!group->settings.empty()) {
        const std::pair<SubProject*, SubProject*> entry(targets[target], group);
        if (std::find(groupSettings.begin(), groupSettings.end(), entry) == groupSettings.end())
            groupSettings.push_back(entry);
    }
    if (inBuild == "0")
        fileLines->setGroupLeftOut(target, static_cast<std::uint32_t>(groupIndex), true);
    else if (!inBuild.empty())
        fileLines->setGroupLeftOut(target, static_cast<std::uint32_t>(groupIndex), false);
}

std::string UvProjectReader::readBlock(NodeSettings* settings, bool* carriesSettings)
{
    std::string inBuild;
    std::string_view line;
    while (true) {
        if (!lines->next(line))
            throw AsciiReaderError(AsciiReaderError::UnexpectedEof);
        if (contains(line, "EndOpt"))
            return inBuild;
        const Keyword* keyword = nullptr;
        for (const Keyword& candidate : keywords) {
            if (contains(line, candidate.text)) {
                keyword = &candidate;
                break;
            }
        }
        if (keyword == nullptr) {
            const std::size_t at = line.find("IncBld=");
            if (at != std::string_view::npos)
                inBuild = trimAny(std::string(line.substr(at + 7)), " \t");
            continue;
        }
        const std::string_view value = valueAfter(keyword->text, line);
        const std::string_view defines = keyword->defines ? value : std::string_view();
        const std::string_view includes = keyword->defines ? std::string_view() : value;
        if (carriesSettings != nullptr
            && fileOptionsSaySomething(defines, includes, projectNode->path, context.compilerIncludePaths))
            *carriesSettings = true;
        if (settings == nullptr)
            continue;
        context.addSettingLists(*settings, defines, includes, projectNode->path);
    }
}
