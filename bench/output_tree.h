// A folder tree held in memory: its folders and its files with their bytes, parents first.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

struct TreeFile {
    std::string path;  // relative to the tree's root, "/" separated
    std::string bytes;
};

// Folders and files below a root (the root itself excluded), in depth-first order with the
// entries of each folder sorted by name, so every folder comes after its parent.
struct OutputTree {
    std::vector<std::string> folders;  // relative, "/" separated
    std::vector<TreeFile> files;

    std::uint64_t byteCount() const;
};

// Reads every folder and file below root; symbolic links and other special entries count as
// files whose bytes are their target's. Throws std::filesystem::filesystem_error.
OutputTree readTree(const std::filesystem::path& root);

// Describes the first difference between two trees in one line, or nothing when they hold
// the same folders and the same files with the same bytes.
std::optional<std::string> firstDifference(const OutputTree& expected, const OutputTree& actual);

// Total size in bytes of the regular files below root.
std::uint64_t treeByteCount(const std::filesystem::path& root);
