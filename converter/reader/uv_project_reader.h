// Reader of Keil Uv project files in the old text format (.Uv2): targets, groups, files,
// and the defines, include folders and build exclusions of the option blocks.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "reading_context.h"

class NodeSettings;
class SubProject;
class TextLines;

// A line scanner: each line is classified by a few fixed substrings and values are cut out
// between fixed delimiters; lines it does not know are skipped.
class UvProjectReader {
public:
    explicit UvProjectReader(const ReadingContext& context) : context(context) {}

    // Reads a whole project held in memory into projectNode. Returns whether the text looked
    // like a Keil project at all: a "Target (" line, or a first line that starts "### uVision".
    bool parse(std::string_view text);

    SubProject* projectNode = nullptr;

private:
    // One "File " line: where its path went, for the exclusions that option blocks name later.
    struct FileLine {
        std::string_view path;        // completed; empty when the extension list rejected it
        long long group = 0;          // the group number as written
        std::uint32_t targets = 0;    // targets that existed when the line was read
        std::uint32_t groupLines = 0; // "Group (" lines read before it
    };

    // What the option blocks of one target leave out of its build, or keep in.
    struct Exclusions {
        std::set<std::size_t> groupsLeftOut;             // 0-based group positions
        std::map<std::size_t, bool> filesInBuild;        // 0-based file line index: in or out
    };

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
    void applyExclusions();

    const ReadingContext& context;
    TextLines* lines = nullptr;  // the text parse is reading; option blocks read on from it

    // The last target of each name under projectNode: an option block finds its target without
    // a pass over every target, which made a project with many targets quadratic.
    std::unordered_map<std::string, SubProject*> targetsByName;
    std::vector<SubProject*> targets;               // made by this file's "Target (" lines, in order
    std::vector<std::uint32_t> groupLinesAtTarget;  // per target: "Group (" lines read before it
    std::uint32_t groupLinesRead = 0;
    std::deque<FileLine> fileLines;  // never moved as it grows: a peak of one copy, not two
    std::map<std::size_t, Exclusions> exclusions;   // by 0-based target position
    std::vector<std::pair<SubProject*, SubProject*>> groupSettings;  // target and group, in reading order
    std::set<std::string_view> reportedFiles;       // a file with options is named once
    bool sawTarget = false;
};
