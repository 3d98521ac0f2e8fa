// Source file paths of one project file, kept without the project's folder.
#include "kept_paths.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "../text_util.h"
#include "reading_context.h"

KeptPaths::KeptPaths(const std::string& projectFolder)
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

char* KeptPaths::write(const SplitFilePath& file, char* at)
{
    char* const rest = putLength(at, prefixOf(file));
    return std::replace_copy(file.rest.begin(), file.rest.end(), rest, '/', '\\');
}

const unsigned char* KeptPaths::after(const unsigned char* entry)
{
    std::size_t prefix = 0;
    const char* const rest = getLength(reinterpret_cast<const char*>(entry), prefix);
    return reinterpret_cast<const unsigned char*>(rest + prefix / 4);
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

void KeptFileList::reserveMore(std::size_t bytes)
{
    if (capacity - used >= bytes)
        return;
    auto grown = std::make_unique_for_overwrite<char[]>(used + bytes);
    if (used > 0)
        std::memcpy(grown.get(), entries.get(), used);
    entries = std::move(grown);
    capacity = used + bytes;
}

const unsigned char* KeptFileList::add(const SplitFilePath& file)
{
    reserveMore(KeptPaths::entrySize(file));  // reserved already, but never written past
    char* const entry = entries.get() + used;
    used = static_cast<std::size_t>(KeptPaths::write(file, entry) - entries.get());
    return reinterpret_cast<const unsigned char*>(entry);
}

void KeptFileList::forEach(const std::function<void(std::string_view)>& each) const
{
    std::string path;
    const auto* const end = reinterpret_cast<const unsigned char*>(entries.get() + used);
    for (auto* entry = reinterpret_cast<const unsigned char*>(entries.get()); entry < end; entry = KeptPaths::after(entry)) {
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
    if ((used + 1) * 4 > slots.size() * 3)
        grow(paths);
    const auto parts = paths.parts(entry);
    const std::size_t mask = slots.size() - 1;
    std::size_t slot = fingerprint(parts) & mask;
    for (; slots[slot] != nullptr; slot = (slot + 1) & mask)
        if (sameText(paths.parts(slots[slot]), parts))
            return false;
    // The caller's entry may not outlive this set: it keeps a copy.
    const std::size_t size = static_cast<std::size_t>(KeptPaths::after(entry) - entry);
    slots[slot] = reinterpret_cast<const unsigned char*>(
        copies.keep({reinterpret_cast<const char*>(entry), size}).data());
    ++used;
    return true;
}

void NamedFiles::grow(const KeptPaths& paths)
{
    std::vector<const unsigned char*> old(std::max<std::size_t>(16, slots.size() * 2), nullptr);
    old.swap(slots);
    const std::size_t mask = slots.size() - 1;
    for (const unsigned char* entry : old) {
        if (entry == nullptr)
            continue;
        std::size_t slot = fingerprint(paths.parts(entry)) & mask;
        while (slots[slot] != nullptr)
            slot = (slot + 1) & mask;
        slots[slot] = entry;
    }
}
