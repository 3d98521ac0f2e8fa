// Source file paths of one project file, kept without the project's folder.
#pragma once

#include <cstddef>
#include <list>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "../file_source.h"
#include "../source_path_pool.h"
#include "path_completion.h"

// Every relative path of a project shares the project's folder: each path is kept only with the
// rest, and gets the folder back when it is listed. A project of millions of files near the
// input limit then stays within its memory bound, however long its folder.
class KeptPaths {
public:
    // The entries are kept in pool, which must outlive them.
    KeptPaths(const std::string& projectFolder, SourcePathPool& pool);

    // The completed path of file, and its length.
    std::string complete(const SplitFilePath& file) const;
    std::size_t completedSize(const SplitFilePath& file) const { return baseOf[file.base].size() + file.rest.size(); }

    // True when the extension list accepts file's completed path (acceptsFile), which is not
    // made for it.
    bool accepts(const SplitFilePath& file, const std::list<std::string>& extensions) const;

    // Keeps file: an entry of its size, its base and its rest.
    const unsigned char* keep(const SplitFilePath& file);

    // Writes the completed path of a kept entry into path.
    void complete(const unsigned char* entry, std::string& path) const;
    // The two parts of its completed path, without making it: the project's part and the rest.
    std::pair<std::string_view, std::string_view> parts(const unsigned char* entry) const;

private:
    std::string baseOf[3];  // by SplitFilePath::Base
    SourcePathPool& pool;
};

// The files of one node, as entries of its project's kept paths.
class KeptFileList : public FileSource {
public:
    explicit KeptFileList(std::shared_ptr<const KeptPaths> paths) : paths(std::move(paths)) {}

    // Room for count more at once: a list of millions never stands twice in memory as it grows.
    void reserveMore(std::size_t count) { entries.reserve(entries.size() + count); }
    void add(const unsigned char* entry) { entries.push_back(entry); }

    void forEach(const std::function<void(std::string_view)>& each) const override;

private:
    std::shared_ptr<const KeptPaths> paths;
    std::vector<const unsigned char*> entries;
};

// Files named once each, by their completed paths: each is kept as a fingerprint of its path and
// its kept entry, whose parts tell two paths of one fingerprint apart. A set of the paths
// themselves would hold each with the project's folder once more.
class NamedFiles {
public:
    // True the first time the completed path of entry (kept in paths) is asked about.
    bool first(const KeptPaths& paths, const unsigned char* entry);

private:
    std::unordered_multimap<std::size_t, const unsigned char*> named;
};
