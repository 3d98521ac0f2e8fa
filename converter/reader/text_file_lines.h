// The File lines of one text project, kept once for all of its targets.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "../file_source.h"
#include "kept_paths.h"

// Each target of a text project lists every File line of a group number it has, from the moment
// it has that group on. So each line is kept once, in the bucket of its number, and a group
// refers to its bucket from where it stood when the group was made, less what its target's
// option blocks leave out. A thousand targets over a million lines then cost one copy of the
// lines, not a thousand, and a line keeps its path without the project's folder.
class TextFileLines : public std::enable_shared_from_this<TextFileLines> {
public:
    // The lines' paths are kept in pool, which must outlive the lines.
    TextFileLines(const std::string& projectFolder, SourcePathPool& pool);

    // What one target's option blocks leave out of its build, or keep in.
    struct Exclusions {
        std::set<std::size_t> groupsLeftOut;       // 0-based group positions
        std::map<std::size_t, bool> filesInBuild;  // 0-based line positions: in or out
    };

    // The lines so far.
    std::size_t size() const { return entries.size(); }

    // Notes a line whose file the filter rejected: it still counts for the positions that file
    // option blocks name.
    void addRejected() { entries.push_back(nullptr); }
    // Notes a line and keeps its file, listed in the groups of number group (1-based; 0 for a
    // number that names no group of any target).
    void add(const SplitFilePath& file, std::uint32_t group);

    // The kept entry of the line at position line (null when its file was rejected), and where
    // such entries are kept.
    const unsigned char* entry(std::size_t line) const { return entries[line]; }
    const KeptPaths& keptPaths() const { return paths; }

    // The files of the group of number group of the target at position target: the lines of
    // that number added from now on. The lines must be owned by a shared_ptr.
    std::unique_ptr<FileSource> groupFiles(std::uint32_t group, std::size_t target);

    // By target position; complete once the project is read, before the files are listed.
    std::map<std::size_t, Exclusions> exclusions;

private:
    class GroupFiles;

    KeptPaths paths;
    std::deque<const unsigned char*> entries;       // by line; null when rejected
    std::vector<std::vector<std::uint32_t>> buckets;  // by group number - 1: line positions
};
