// A folder tree held in memory: reading it and comparing two of them.
#include "output_tree.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>

namespace fs = std::filesystem;

namespace {

std::string readBytes(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw fs::filesystem_error("cannot read", file, std::make_error_code(std::errc::io_error));
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void readFolder(const fs::path& root, const std::string& relative, OutputTree& tree)
{
    std::vector<fs::directory_entry> entries;
    for (const fs::directory_entry& entry : fs::directory_iterator(relative.empty() ? root : root / relative))
        entries.push_back(entry);
    std::sort(entries.begin(), entries.end(),
              [](const auto& a, const auto& b) { return a.path().filename() < b.path().filename(); });
    for (const fs::directory_entry& entry : entries) {
        const std::string name = entry.path().filename().string();
        const std::string path = relative.empty() ? name : relative + "/" + name;
        if (entry.is_directory() && !entry.is_symlink()) {
            tree.folders.push_back(path);
            readFolder(root, path, tree);
        } else {
            tree.files.push_back({path, readBytes(entry.path())});
        }
    }
}

// How two byte strings first differ: the offset and, for text, the line there.
std::string describeByteDifference(const std::string& expected, const std::string& actual)
{
    const auto mismatch = std::mismatch(expected.begin(), expected.end(), actual.begin(), actual.end());
    const std::size_t offset = static_cast<std::size_t>(mismatch.first - expected.begin());
    const std::size_t line = 1 + static_cast<std::size_t>(std::count(expected.begin(), mismatch.first, '\n'));
    return "differs at byte " + std::to_string(offset) + " (line " + std::to_string(line) + "), sizes "
           + std::to_string(expected.size()) + " and " + std::to_string(actual.size());
}

}  // namespace

std::uint64_t OutputTree::byteCount() const
{
    std::uint64_t total = 0;
    for (const TreeFile& file : files)
        total += file.bytes.size();
    return total;
}

OutputTree readTree(const fs::path& root)
{
    OutputTree tree;
    readFolder(root, "", tree);
    return tree;
}

std::optional<std::string> firstDifference(const OutputTree& expected, const OutputTree& actual)
{
    // Sets name the first entry missing on either side, whatever the listing order.
    const std::set<std::string> expectedFolders(expected.folders.begin(), expected.folders.end());
    const std::set<std::string> actualFolders(actual.folders.begin(), actual.folders.end());
    for (const std::string& folder : expectedFolders)
        if (!actualFolders.contains(folder))
            return "folder " + folder + "/ is missing";
    for (const std::string& folder : actualFolders)
        if (!expectedFolders.contains(folder))
            return "folder " + folder + "/ is extra";

    std::vector<const TreeFile*> expectedFiles;
    std::vector<const TreeFile*> actualFiles;
    for (const TreeFile& file : expected.files)
        expectedFiles.push_back(&file);
    for (const TreeFile& file : actual.files)
        actualFiles.push_back(&file);
    const auto byPath = [](const TreeFile* a, const TreeFile* b) { return a->path < b->path; };
    std::sort(expectedFiles.begin(), expectedFiles.end(), byPath);
    std::sort(actualFiles.begin(), actualFiles.end(), byPath);

    std::size_t i = 0;
    std::size_t j = 0;
    while (i < expectedFiles.size() || j < actualFiles.size()) {
        if (j == actualFiles.size() || (i < expectedFiles.size() && expectedFiles[i]->path < actualFiles[j]->path))
            return "file " + expectedFiles[i]->path + " is missing";
        if (i == expectedFiles.size() || actualFiles[j]->path < expectedFiles[i]->path)
            return "file " + actualFiles[j]->path + " is extra";
        if (expectedFiles[i]->bytes != actualFiles[j]->bytes)
            return "file " + expectedFiles[i]->path + " " + describeByteDifference(expectedFiles[i]->bytes, actualFiles[j]->bytes);
        ++i;
        ++j;
    }
    return std::nullopt;
}

std::uint64_t treeByteCount(const fs::path& root)
{
    std::uint64_t total = 0;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file())
            total += entry.file_size();
    return total;
}
