// The File lines of one text project, kept once for all of its targets.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "../file_source.h"
#include "kept_paths.h"

// Each target of a text project lists every File line of a group number it has, from the moment
// it has that group on. So each line is kept once, in the bucket of its number, and a group
// refers to its bucket from where it stood when the group was made, less what its target's
// option blocks leave out. A thousand targets over a million lines then cost one copy of the
// lines, not a thousand, and a line keeps its path without the project's folder.
// While the project is read the lines are kept in reading order, each with its number, so that
// an option block can find the line it names. finish() then moves the kept paths into one block
// of exactly their size, bucket after bucket, and lets the rest go: what a project leaves in
// memory is no larger than the project file lines it makes, however many lines it skips.
class TextFileLines : public std::enable_shared_from_this<TextFileLines> {
public:
    explicit TextFileLines(const std::string& projectFolder);
    ~TextFileLines();

    // The lines so far.
    std::size_t size() const { return lines; }

    // Notes a line no group lists, or whose file the filter rejected: it still counts for the
    // positions that file option blocks name.
    void addUnlisted();
    // Notes a line and keeps its file, listed in the groups of number group (1-based).
    void add(const SplitFilePath& file, std::uint32_t group);

    const KeptPaths& keptPaths() const { return paths; }
    // Writes the entry of the line at position line into entry; false when the line is not
    // kept. Only until finish().
    bool entryOf(std::size_t line, std::string& entry) const;

    // The files of the group of number group of the target at position target: the lines of
    // that number added from now on. The lines must be owned by a shared_ptr.
    std::unique_ptr<FileSource> groupFiles(std::uint32_t group, std::size_t target);

    // What an option block of a target says of the build: of the group at position group
    // (0-based), left out or not; of the line at position line, in, out, or as its group.
    enum class InBuild : std::uint8_t { AsGroup, In, Out };
    void setGroupLeftOut(std::size_t target, std::uint32_t group, bool leftOut);
    void setFileInBuild(std::size_t target, std::size_t line, InBuild inBuild);

    // The project is read: keeps the paths bucket after bucket and settles what each target
    // leaves out. Before the files are listed.
    void finish();

private:
    class GroupFiles;
    class LineRecords;

    // Where a group's files start in its bucket: bytes and entries before them.
    struct GroupStart {
        std::size_t bytes = 0;
        std::uint32_t entries = 0;
    };

    void settleRule(std::size_t target, std::uint32_t group, std::uint32_t entry, InBuild inBuild);
    bool groupLeftOut(std::size_t target, std::uint32_t group) const;

    KeptPaths paths;
    std::size_t lines = 0;
    std::unique_ptr<LineRecords> records;  // until finish()
    std::vector<std::uint64_t> fileRules;  // until finish(): line, target and InBuild, in reading order

    // By group number - 1: the bytes and entries of its bucket; where it starts in kept.
    std::vector<std::size_t> bucketBytes;
    std::vector<std::uint32_t> bucketEntries;
    std::vector<std::size_t> bucketStart;
    std::unique_ptr<char[]> kept;

    std::vector<std::vector<GroupStart>> groupStarts;  // by target, then group number - 1
    std::map<std::size_t, std::set<std::uint32_t>> groupsLeftOut;  // by target: 0-based positions
    // By target and group number: the entries from its start whose build differs from its group's.
    std::map<std::pair<std::size_t, std::uint32_t>, std::vector<bool>> filesAgainstGroup;
};
