// The File lines of one text project, kept once for all of its targets.
#include "text_file_lines.h"

#include <algorithm>

#include "../length_prefix.h"

// The lines in reading order: a number (the group, or 0 for a line not kept), then for a kept
// line its entry. The bytes run on across blocks that are never moved, and every 64th line's
// place is noted: a line is found by walking at most 63 others. The first block is small, for
// the many small projects of a workspace; the others are large enough for the system to give
// their memory back as soon as each is let go.
class TextFileLines::LineRecords {
public:
    // Starts the record of the line at position line.
    void startLine(std::size_t line)
    {
        if (line % markEvery == 0)
            marks.push_back(size);
    }

    void putNumber(std::size_t number)
    {
        // Written where it goes, unless it may run on into the next block.
        const auto [block, offset] = locate(size);
        if (offset > 0 && sizeOf(block) - offset >= maximumLengthSize) {
            char* const at = reinterpret_cast<char*>(blocks[block].get()) + offset;
            size += static_cast<std::size_t>(putLength(at, number) - at);
            return;
        }
        char digits[maximumLengthSize];
        put({digits, static_cast<std::size_t>(putLength(digits, number) - digits)}, false);
    }

    // Puts rest with "\" for "/".
    void putRest(std::string_view rest) { put(rest, true); }

    std::size_t getNumber(std::size_t& at) const
    {
        // Read where it lies, unless it may run on into the next block.
        const auto [block, offset] = locate(at);
        char copied[maximumLengthSize];
        const char* digits = reinterpret_cast<const char*>(blocks[block].get()) + offset;
        if (sizeOf(block) - offset < maximumLengthSize) {
            copy(at, std::min(sizeof copied, size - at), copied);
            digits = copied;
        }
        std::size_t number = 0;
        at += static_cast<std::size_t>(getLength(digits, number) - digits);
        return number;
    }

    // Copies count bytes from at to to.
    void copy(std::size_t at, std::size_t count, char* to) const
    {
        while (count > 0) {
            const auto [block, offset] = locate(at);
            const std::size_t piece = std::min(count, sizeOf(block) - offset);
            std::copy_n(blocks[block].get() + offset, piece, to);
            at += piece;
            to += piece;
            count -= piece;
        }
    }

    // Where the record of the line at position line starts.
    std::size_t lineStart(std::size_t line) const
    {
        std::size_t at = marks[line / markEvery];
        for (std::size_t skipped = line % markEvery; skipped > 0; --skipped)
            if (getNumber(at) != 0)
                at = entryEnd(at);
        return at;
    }

    // Lets go of the blocks wholly before at.
    void releaseBefore(std::size_t at)
    {
        for (const std::size_t block = locate(at).first; released < block; ++released)
            blocks[released].reset();
    }

    // The end of the entry that starts at at.
    std::size_t entryEnd(std::size_t at) const
    {
        const std::size_t prefix = getNumber(at);
        return at + prefix / 4;
    }

private:
    static constexpr std::size_t firstBlockSize = 64 * 1024;
    static constexpr std::size_t blockSize = 1024 * 1024;
    static constexpr std::size_t markEvery = 64;
    static constexpr std::size_t maximumLengthSize = 10;  // of a 64-bit number, 7 bits a byte

    static std::size_t sizeOf(std::size_t block) { return block == 0 ? firstBlockSize : blockSize; }
    // The block that holds position at, and where in it.
    static std::pair<std::size_t, std::size_t> locate(std::size_t at)
    {
        if (at < firstBlockSize)
            return {0, at};
        return {1 + (at - firstBlockSize) / blockSize, (at - firstBlockSize) % blockSize};
    }

    // Appends bytes, with "\" for "/" when turnSeparators, starting a block whenever the last is full.
    void put(std::string_view bytes, bool turnSeparators)
    {
        while (!bytes.empty()) {
            const auto [block, offset] = locate(size);
            if (offset == 0)
                blocks.push_back(std::make_unique_for_overwrite<unsigned char[]>(sizeOf(block)));
            const std::size_t count = std::min(sizeOf(block) - offset, bytes.size());
            const auto end = bytes.begin() + static_cast<std::ptrdiff_t>(count);
            unsigned char* const to = blocks[block].get() + offset;
            if (turnSeparators)
                std::replace_copy(bytes.begin(), end, to, '/', '\\');
            else
                std::copy(bytes.begin(), end, to);
            size += count;
            bytes.remove_prefix(count);
        }
    }

    std::vector<std::unique_ptr<unsigned char[]>> blocks;
    std::size_t size = 0;
    std::size_t released = 0;  // blocks let go
    std::vector<std::size_t> marks;
};

class TextFileLines::GroupFiles : public FileSource {
public:
    GroupFiles(std::shared_ptr<const TextFileLines> lines, std::uint32_t group, std::size_t target)
        : lines(std::move(lines)), group(group), target(target)
    {
    }

    void forEach(const std::function<void(std::string_view)>& each) const override
    {
        if (group > lines->bucketStart.size())
            return;
        const bool leftOut = lines->groupLeftOut(target, group);
        const auto found = lines->filesAgainstGroup.find({target, group});
        const std::vector<bool>* against = found == lines->filesAgainstGroup.end() ? nullptr : &found->second;
        if (leftOut && against == nullptr)
            return;
        const auto* const bucket = reinterpret_cast<const unsigned char*>(lines->kept.get()) + lines->bucketStart[group - 1];
        const auto* const end = bucket + lines->bucketBytes[group - 1];
        std::string path;
        std::size_t index = 0;
        for (const unsigned char* entry = bucket + lines->groupStarts[target][group - 1].bytes; entry < end;
             entry = KeptPaths::after(entry), ++index) {
            // A file is built as its group is, unless its own block says otherwise.
            if (against != nullptr && leftOut != (*against)[index])
                continue;
            lines->paths.complete(entry, path);
            each(path);
        }
    }

private:
    std::shared_ptr<const TextFileLines> lines;
    std::uint32_t group;
    std::size_t target;
};

TextFileLines::TextFileLines(const std::string& projectFolder)
    : paths(projectFolder), records(std::make_unique<LineRecords>())
{
}

TextFileLines::~TextFileLines() = default;

void TextFileLines::addUnlisted()
{
    records->startLine(lines++);
    records->putNumber(0);
}

void TextFileLines::add(const SplitFilePath& file, std::uint32_t group)
{
    records->startLine(lines++);
    records->putNumber(group);
    records->putNumber(KeptPaths::prefixOf(file));
    records->putRest(file.rest);
    if (bucketBytes.size() < group) {
        bucketBytes.resize(group);
        bucketEntries.resize(group);
    }
    bucketBytes[group - 1] += KeptPaths::entrySize(file);
    ++bucketEntries[group - 1];
}

bool TextFileLines::entryOf(std::size_t line, std::string& entry) const
{
    std::size_t at = records->lineStart(line);
    if (records->getNumber(at) == 0)
        return false;
    const std::size_t end = records->entryEnd(at);
    entry.resize(end - at);
    records->copy(at, end - at, entry.data());
    return true;
}

std::unique_ptr<FileSource> TextFileLines::groupFiles(std::uint32_t group, std::size_t target)
{
    if (groupStarts.size() <= target)
        groupStarts.resize(target + 1);
    std::vector<GroupStart>& starts = groupStarts[target];
    if (starts.size() < group)
        starts.resize(group);
    if (group <= bucketBytes.size())
        starts[group - 1] = {bucketBytes[group - 1], bucketEntries[group - 1]};
    return std::make_unique<GroupFiles>(shared_from_this(), group, target);
}

void TextFileLines::setGroupLeftOut(std::size_t target, std::uint32_t group, bool leftOut)
{
    if (leftOut) {
        groupsLeftOut[target].insert(group);
        return;
    }
    const auto found = groupsLeftOut.find(target);
    if (found != groupsLeftOut.end() && found->second.erase(group) > 0 && found->second.empty())
        groupsLeftOut.erase(found);
}

void TextFileLines::setFileInBuild(std::size_t target, std::size_t line, InBuild inBuild)
{
    // Positions come from a file under the input limit: fewer than 2^32 lines, 2^30 targets.
    fileRules.push_back(static_cast<std::uint64_t>(line) << 32 | static_cast<std::uint64_t>(target) << 2
                        | static_cast<std::uint64_t>(inBuild));
}

bool TextFileLines::groupLeftOut(std::size_t target, std::uint32_t group) const
{
    const auto found = groupsLeftOut.find(target);
    return found != groupsLeftOut.end() && found->second.contains(group - 1);
}

void TextFileLines::finish()
{
    bucketStart.resize(bucketBytes.size());
    std::size_t total = 0;
    for (std::size_t bucket = 0; bucket < bucketBytes.size(); ++bucket) {
        bucketStart[bucket] = total;
        total += bucketBytes[bucket];
    }
    kept = std::make_unique_for_overwrite<char[]>(std::max<std::size_t>(total, 1));
    std::vector<std::size_t> filled = bucketStart;
    std::vector<std::uint32_t> passed(bucketBytes.size(), 0);

    // The rules of one line and target follow each other in reading order: the last one holds.
    std::stable_sort(fileRules.begin(), fileRules.end(),
                     [](std::uint64_t a, std::uint64_t b) { return a >> 2 < b >> 2; });
    std::size_t rule = 0;
    std::size_t at = 0;
    for (std::size_t line = 0; line < lines; ++line) {
        const auto group = static_cast<std::uint32_t>(records->getNumber(at));
        std::uint32_t entry = 0;
        if (group != 0) {
            const std::size_t end = records->entryEnd(at);
            records->copy(at, end - at, kept.get() + filled[group - 1]);
            filled[group - 1] += end - at;
            at = end;
            entry = passed[group - 1]++;
            // What is moved need not stay: the two copies are never held whole at once.
            records->releaseBefore(at);
        }
        for (; rule < fileRules.size() && fileRules[rule] >> 32 == line; ++rule) {
            const bool overridden = rule + 1 < fileRules.size() && fileRules[rule + 1] >> 2 == fileRules[rule] >> 2;
            if (group != 0 && !overridden)
                settleRule((fileRules[rule] >> 2) & 0x3fffffff, group, entry, static_cast<InBuild>(fileRules[rule] & 3));
        }
    }
    records.reset();
    std::vector<std::uint64_t>().swap(fileRules);
}

void TextFileLines::settleRule(std::size_t target, std::uint32_t group, std::uint32_t entry, InBuild inBuild)
{
    // Only a line the target lists, with a rule other than its group's.
    if (inBuild == InBuild::AsGroup || target >= groupStarts.size() || group > groupStarts[target].size())
        return;
    const GroupStart& start = groupStarts[target][group - 1];
    if (entry < start.entries || (inBuild == InBuild::In) != groupLeftOut(target, group))
        return;
    std::vector<bool>& against = filesAgainstGroup[{target, group}];
    if (against.empty())
        against.resize(bucketEntries[group - 1] - start.entries);
    against[entry - start.entries] = true;
}
