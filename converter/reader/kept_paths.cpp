// Source file paths of one project file, kept without the project's folder.
#include "kept_paths.h"

#include <functional>

KeptPaths::KeptPaths(const std::string& projectFolder, SourcePathPool& pool) : pool(pool)
{
    for (const SplitFilePath::Base base : {SplitFilePath::None, SplitFilePath::Drive, SplitFilePath::Folder})
        baseOf[base] = filePathBase(base, projectFolder);
}

std::string KeptPaths::complete(const SplitFilePath& file) const
{
    return baseOf[file.base] + file.rest;
}

const unsigned char* KeptPaths::keep(const SplitFilePath& file)
{
    std::string entry;
    for (std::size_t value = file.rest.size() * 4 + file.base;; value >>= 7) {
        entry.push_back(static_cast<char>(value < 128 ? value : (value & 127) | 128));
        if (value < 128)
            break;
    }
    entry += file.rest;
    return reinterpret_cast<const unsigned char*>(pool.keep(entry).data());
}

void KeptPaths::complete(const unsigned char* entry, std::string& path) const
{
    std::size_t value = 0;
    for (int shift = 0;; shift += 7) {
        const unsigned char byte = *entry++;
        value |= static_cast<std::size_t>(byte & 127) << shift;
        if (byte < 128)
            break;
    }
    path.assign(baseOf[value % 4]);
    path.append(reinterpret_cast<const char*>(entry), value / 4);
}

void KeptFileList::forEach(const std::function<void(std::string_view)>& each) const
{
    std::string path;
    for (const unsigned char* entry : entries) {
        paths->complete(entry, path);
        each(path);
    }
}

bool NamedFiles::first(const KeptPaths& paths, const unsigned char* entry, std::string_view path)
{
    const std::size_t fingerprint = std::hash<std::string_view> {}(path);
    std::string other;
    for (auto [at, end] = named.equal_range(fingerprint); at != end; ++at) {
        paths.complete(at->second, other);
        if (other == path)
            return false;
    }
    named.emplace(fingerprint, entry);
    return true;
}
