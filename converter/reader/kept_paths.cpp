// Source file paths of one project file, kept without the project's folder.
#include "kept_paths.h"

#include <algorithm>
#include <cstdint>

#include "../length_prefix.h"
#include "../text_util.h"
#include "reading_context.h"

KeptPaths::KeptPaths(const std::string& projectFolder, SourcePathPool& pool) : pool(pool)
{
    for (const SplitFilePath::Base base : {SplitFilePath::None, SplitFilePath::Drive, SplitFilePath::Folder})
        baseOf[base] = filePathBase(base, projectFolder);
}

std::string KeptPaths::complete(const SplitFilePath& file) const
{
    std::string path = baseOf[file.base];
    path += file.rest;
    convertSeparators(path);
    return path;
}

bool KeptPaths::accepts(const SplitFilePath& file, const std::list<std::string>& extensions) const
{
    if (extensions.empty())
        return true;
    std::size_t longest = 0;
    for (const std::string& extension : extensions)
        longest = std::max(longest, extension.size());
    // The extension follows the completed path's last ".": in the rest when it has one, else it
    // holds the whole rest. Only the end of the path that holds it is made, and only when it
    // is no longer than an extension listed.
    const std::size_t dot = file.rest.rfind('.');
    std::string end;
    if (dot != std::string_view::npos) {
        if (file.rest.size() - dot - 1 > longest)
            return false;
        end = file.rest.substr(dot);
    } else {
        if (file.rest.size() > longest)
            return false;
        end = baseOf[file.base];
        end += file.rest;
    }
    convertSeparators(end);
    return acceptsFile(end, extensions);
}

const unsigned char* KeptPaths::keep(const SplitFilePath& file)
{
    // The entry is made in the pool itself: a path of 200 MB is copied once.
    const std::size_t prefix = file.rest.size() * 4 + file.base;
    char* const entry = pool.allocate(lengthSize(prefix) + file.rest.size());
    char* const rest = putLength(entry, prefix);
    std::copy(file.rest.begin(), file.rest.end(), rest);
    std::replace(rest, rest + file.rest.size(), '/', '\\');
    return reinterpret_cast<const unsigned char*>(entry);
}

void KeptPaths::complete(const unsigned char* entry, std::string& path) const
{
    const auto [base, rest] = parts(entry);
    path.assign(base);
    path.append(rest);
}

std::pair<std::string_view, std::string_view> KeptPaths::parts(const unsigned char* entry) const
{
    std::size_t prefix = 0;
    const char* const rest = getLength(reinterpret_cast<const char*>(entry), prefix);
    return {baseOf[prefix % 4], {rest, prefix / 4}};
}

void KeptFileList::forEach(const std::function<void(std::string_view)>& each) const
{
    std::string path;
    for (const unsigned char* entry : entries) {
        paths->complete(entry, path);
        each(path);
    }
}

namespace {

// A fingerprint of the text of both parts one after the other (FNV-1a).
std::size_t fingerprint(std::pair<std::string_view, std::string_view> parts)
{
    std::uint64_t hash = 14695981039346656037u;
    for (const std::string_view part : {parts.first, parts.second})
        for (const char c : part)
            hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211u;
    return static_cast<std::size_t>(hash);
}

// True when both pairs of parts make one text.
bool sameText(std::pair<std::string_view, std::string_view> a, std::pair<std::string_view, std::string_view> b)
{
    if (a.first.size() + a.second.size() != b.first.size() + b.second.size())
        return false;
    if (a.first.size() > b.first.size())
        std::swap(a, b);
    // a's first part is the shorter: it, then b's first part's remainder against a's second.
    const std::size_t split = b.first.size() - a.first.size();
    return b.first.starts_with(a.first) && a.second.substr(0, split) == b.first.substr(a.first.size())
           && a.second.substr(split) == b.second;
}

}  // namespace

bool NamedFiles::first(const KeptPaths& paths, const unsigned char* entry)
{
    const auto parts = paths.parts(entry);
    const std::size_t key = fingerprint(parts);
    for (auto [at, end] = named.equal_range(key); at != end; ++at)
        if (sameText(paths.parts(at->second), parts))
            return false;
    named.emplace(key, entry);
    return true;
}
