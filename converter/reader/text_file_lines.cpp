// The File lines of one text project, kept once for all of its targets.
#include "text_file_lines.h"

class TextFileLines::GroupFiles : public FileSource {
public:
    GroupFiles(std::shared_ptr<const TextFileLines> lines, std::uint32_t group, std::size_t target)
        : lines(std::move(lines)),
          group(group),
          target(target),
          from(group <= this->lines->buckets.size() ? this->lines->buckets[group - 1].size() : 0)
    {
    }

    void forEach(const std::function<void(std::string_view)>& each) const override
    {
        if (group > lines->buckets.size())
            return;
        const std::vector<std::uint32_t>& bucket = lines->buckets[group - 1];
        const auto found = lines->exclusions.find(target);
        const Exclusions* excluded = found == lines->exclusions.end() ? nullptr : &found->second;
        const bool groupLeftOut = excluded != nullptr && excluded->groupsLeftOut.contains(group - 1);
        std::string path;
        for (std::size_t at = from; at < bucket.size(); ++at) {
            const std::uint32_t line = bucket[at];
            if (excluded != nullptr) {
                const auto rule = excluded->filesInBuild.find(line);
                if (!(rule != excluded->filesInBuild.end() ? rule->second : !groupLeftOut))
                    continue;
            }
            lines->paths.complete(lines->entries[line], path);
            each(path);
        }
    }

private:
    std::shared_ptr<const TextFileLines> lines;
    std::uint32_t group;
    std::size_t target;
    std::size_t from;  // the bucket's size when the group was made
};

TextFileLines::TextFileLines(const std::string& projectFolder, SourcePathPool& pool) : paths(projectFolder, pool) {}

void TextFileLines::add(const SplitFilePath& file, std::uint32_t group)
{
    const std::size_t line = entries.size();
    entries.push_back(paths.keep(file));
    if (group == 0)
        return;
    if (buckets.size() < group)
        buckets.resize(group);
    buckets[group - 1].push_back(static_cast<std::uint32_t>(line));
}

std::unique_ptr<FileSource> TextFileLines::groupFiles(std::uint32_t group, std::size_t target)
{
    return std::make_unique<GroupFiles>(shared_from_this(), group, target);
}
