// Reader of Keil Uv project files in the old text format (.Uv2): targets, groups, files,
// and the defines, include folders and build exclusions of the option blocks.
#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "kept_paths.h"
#include "reading_context.h"

class NodeSettings;
class SubProject;
class TextFileLines;
class LineSource;

// A line scanner: each line is classified by a few fixed substrings and values are cut out
// between fixed delimiters; lines it does not know are skipped.
class UvProjectReader {
public:
    explicit UvProjectReader(const ReadingContext& context) : context(context) {}

    // Reads a whole project into projectNode. Returns whether the text looked like a Keil
    // project at all: a "Target (" line, or a first line that starts "### uVision".
    bool parse(LineSource& text);
    bool parse(std::string_view text);

    SubProject* projectNode = nullptr;

private:
    void readTarget(std::string_view line);
    void readGroup(std::string_view line);
    void readFile(std::string_view line);
    // An option block: of a file, a target or a group, as its "Options " line says.
    void readOptions(std::string_view line);
    void readFileOptions(std::size_t target, std::size_t file);
    void readTargetOptions(std::string_view line);
    void readGroupOptions(std::size_t target, std::size_t group);

    // Reads the block's lines up to "EndOpt" into settings, when given; returns the last IncBld
    // value seen (empty when none). carriesSettings, when given, tells whether the block says
    // what a file's settings cannot carry (fileOptionsSaySomething).
    std::string readBlock(NodeSettings* settings, bool* carriesSettings);

    void applyGroupSettings();

    const ReadingContext& context;
    LineSource* lines = nullptr;  // the text parse is reading; option blocks read on from it

    // The last target of each name under projectNode: an option block finds its target without
    // a pass over every target, which made a project with many targets quadratic.
    std::unordered_map<std::string, SubProject*> targetsByName;
    std::vector<SubProject*> targets;               // made by this file's "Target (" lines, in order
    std::vector<std::uint32_t> groupLinesAtTarget;  // per target: "Group (" lines read before it
    std::uint32_t groupLinesRead = 0;
    std::shared_ptr<TextFileLines> fileLines;       // which the groups refer to
    std::vector<std::pair<SubProject*, SubProject*>> groupSettings;  // target and group, in reading order
    NamedFiles reportedFiles;                       // a file with options is named once
    std::string reportedEntry;                      // the entry of the file an option block names
    bool sawTarget = false;
};
