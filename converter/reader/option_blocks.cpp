// Option blocks of a Keil Uv project file: each target's defines and include folders.
#include <cstring>

#include "../console.h"
#include "../converter.h"
#include "../errors.h"
#include "../text_util.h"
#include "define_list.h"
#include "path_completion.h"
#include "uv_project_reader.h"

namespace {

// The text after the keyword up to the end of the line, less the line's last character
// (the closing parenthesis).
std::string valueAfter(const char* keyword, const std::string& line)
{
    const std::size_t start = line.find(keyword) + std::strlen(keyword);
    if (start + 1 >= line.size())
        return {};
    return line.substr(start, line.size() - 1 - start);
}

// "Options 1,0,0  // Target 'Main'" names Main: one character after "Target " and the
// line's last character are dropped.
std::string optionsTargetName(const std::string& line)
{
    const std::size_t keyword = line.find("Target ");
    const std::size_t start = keyword == std::string::npos ? 7 : keyword + 7 + 1;
    if (start + 1 >= line.size())
        return {};
    return line.substr(start, line.size() - 1 - start);
}

}  // namespace

void UvProjectReader::readOptions(const std::string& line)
{
    const std::string name = optionsTargetName(line);
    const auto found = targetsByName.find(name);
    SubProject* target = found == targetsByName.end() ? nullptr : found->second;  // the last of that name
    if (target == nullptr) {
        // The block's lines go back to the line loop.
        printLine(message::noTargetForOptions);
        return;
    }

    static constexpr const char* defineKeywords[] = {"C51DEF (", "ADSCDEFN (", "ADSADEFN ("};
    static constexpr const char* includeKeywords[] = {"INCC5 (", "ADSCINCD (", "ADSAINCD ("};

    std::string blockLine;
    while (true) {
        if (!readTextLine(*current, blockLine))
            throw AsciiReaderError(AsciiReaderError::UnexpectedEof);
        if (contains(blockLine, "EndOpt"))
            return;
        bool handled = false;
        for (const char* keyword : defineKeywords) {
            if (contains(blockLine, keyword)) {
                readDefines(keyword, blockLine, *target);
                handled = true;
                break;
            }
        }
        if (handled)
            continue;
        for (const char* keyword : includeKeywords) {
            if (contains(blockLine, keyword)) {
                readIncludePaths(keyword, blockLine, *target);
                break;
            }
        }
    }
}

void UvProjectReader::readDefines(const char* keyword, const std::string& line, SubProject& target)
{
    addDefineList(target, valueAfter(keyword, line));
}

void UvProjectReader::readIncludePaths(const char* keyword, const std::string& line, SubProject& target)
{
    addIncludeList(target, valueAfter(keyword, line), projectNode->path, converter->compilerIncludePaths);
}
