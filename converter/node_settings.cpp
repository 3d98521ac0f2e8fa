// A node's settings.
#include "node_settings.h"

#include <stdexcept>

#include "compiler_folders.h"
#include "platform.h"

std::set<std::string> FolderSet::get() const
{
    std::set<std::string> copy;
    for (std::size_t i = 0; i < size(); ++i)
        copy.emplace(keyAt(i));
    return copy;
}

void DefineMap::set(std::string_view macro, std::string_view text, bool assigned)
{
    // Nothing for a bare name, else a mark of whether "=" was given, then the value.
    std::string stored;
    if (assigned || !text.empty()) {
        stored.reserve(text.size() + 1);
        stored += assigned ? '=' : ' ';
        stored += text;
    }
    modify().put(macro, stored);
}

DefineValue DefineMap::decode(std::string_view stored)
{
    if (stored.empty())
        return {};
    return {std::string(stored.substr(1)), stored.front() == '='};
}

DefineValue DefineMap::at(std::string_view macro) const
{
    const std::optional<std::string_view> stored = packed() ? packed()->find(macro) : std::nullopt;
    if (!stored)
        throw std::out_of_range("no such define");
    return decode(*stored);
}

std::map<std::string, DefineValue> DefineMap::get() const
{
    std::map<std::string, DefineValue> copy;
    for (std::size_t i = 0; i < size(); ++i)
        copy.emplace(keyAt(i), valueAt(i));
    return copy;
}

void NodeSettings::addIncludeFolder(std::string_view folder, const CompilerFolders& compilerFolders)
{
    if (!compilerFolders.contains(folder))
        includePaths.insert(folder);
}

void NodeSettings::overlay(const NodeSettings& settings)
{
    below = &settings;
}

unsigned long long NodeSettings::personalityBytes() const
{
    if (below == nullptr) {
        includePaths.settle();
        defines.settle();
        return personalityBytesSoFar();
    }
    unsigned long long bytes = 0;
    forEachPersonalityPiece([&](std::string_view piece) { bytes += piece.size(); });
    return bytes;
}

std::set<std::string> NodeSettings::allIncludeFolders() const
{
    std::set<std::string> all;
    forEachIncludeFolder([&](std::string_view folder) { all.emplace(folder); });
    return all;
}

std::map<std::string, DefineValue> NodeSettings::allDefines() const
{
    std::map<std::string, DefineValue> all;
    forEachDefine([&](std::string_view macro, const DefineValue& value) { all.emplace(macro, value); });
    return all;
}
