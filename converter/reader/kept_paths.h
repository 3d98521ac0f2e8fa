// Source file paths of one project file, kept without the project's folder.
#pragma once

#include <cstddef>
#include <list>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "../file_source.h"
#include "../length_prefix.h"
#include "../source_path_pool.h"
#include "path_completion.h"

// Every relative path of a project shares the project's folder: each path is kept only with the
// rest, and gets the folder back when it is listed. A project of millions of files near the
// input limit then stays within its memory bound, however long its folder.
// A kept path is an entry: a length prefix (the rest's size times four plus its base) and the
// rest, with "\" for "/".
class KeptPaths {
public:
    explicit KeptPaths(const std::string& projectFolder);

    // The completed path of file, and its length.
    std::string complete(const SplitFilePath& file) const;
    std::size_t completedSize(const SplitFilePath& file) const { return baseOf[file.base].size() + file.rest.size(); }

    // True when the extension list accepts file's completed path (acceptsFile), which is not
    // made for it.
    bool accepts(const SplitFilePath& file, const std::list<std::string>& extensions) const;

    // The bytes of file's entry, and its prefix.
    static std::size_t prefixOf(const SplitFilePath& file) { return file.rest.size() * 4 + file.base; }
    static std::size_t entrySize(const SplitFilePath& file) { return lengthSize(prefixOf(file)) + file.rest.size(); }
    // Writes file's entry at at (entrySize bytes) and returns the place after it.
    static char* write(const SplitFilePath& file, char* at);
    // The place after the entry at entry.
    static const unsigned char* after(const unsigned char* entry);

    // Writes the completed path of an entry into path.
    void complete(const unsigned char* entry, std::string& path) const;
    // The two parts of its completed path, without making it: the project's part and the rest.
    std::pair<std::string_view, std::string_view> parts(const unsigned char* entry) const;

private:
    std::string baseOf[3];  // by SplitFilePath::Base
};

// The files of one node, as entries of its project's kept paths, one after another in a block
// of exactly their size: a list of millions costs little more than their text.
class KeptFileList : public FileSource {
public:
    explicit KeptFileList(std::shared_ptr<const KeptPaths> paths) : paths(std::move(paths)) {}

    const KeptPaths& keptPaths() const { return *paths; }

    // Room for more files of entries of bytes in all, made at once.
    void reserveMore(std::size_t bytes);
    // Keeps file after the others and returns its entry, valid until the next reserveMore.
    // Its room should have been reserved: the list grows by exactly the entry otherwise.
    const unsigned char* add(const SplitFilePath& file);

    void forEach(const std::function<void(std::string_view)>& each) const override;

private:
    std::shared_ptr<const KeptPaths> paths;
    std::unique_ptr<char[]> entries;
    std::size_t used = 0;
    std::size_t capacity = 0;
};

// Files named once each, by their completed paths: each is kept as a copy of its entry, whose
// parts tell two paths of one fingerprint apart. A set of the paths themselves would hold each
// with the project's folder once more.
class NamedFiles {
public:
    // True the first time the completed path of entry (an entry of paths) is asked about.
    bool first(const KeptPaths& paths, const unsigned char* entry);

private:
    void grow(const KeptPaths& paths);

    SourcePathPool copies;
    std::vector<const unsigned char*> slots;  // open addressing by fingerprint; null when free
    std::size_t used = 0;
};
