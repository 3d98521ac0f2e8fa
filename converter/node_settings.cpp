// A node's settings.
#include "node_settings.h"

#include "platform.h"

void NodeSettings::setDefine(const std::string& macro, std::string text, bool assigned)
{
    DefineValue& value = defines[macro];
    value.text = std::move(text);
    value.assigned = assigned;
}

void NodeSettings::addIncludeFolder(std::string folder, const std::list<std::string>& compilerFolders)
{
    for (const std::string& known : compilerFolders)
        if (platform::sameFileName(known, folder))
            return;
    includePaths.insert(std::move(folder));
}

void NodeSettings::overlay(const NodeSettings& settings)
{
    below = &settings;
}

std::set<std::string> NodeSettings::allIncludeFolders() const
{
    std::set<std::string> all;
    forEachIncludeFolder([&](const std::string& folder) { all.insert(folder); });
    return all;
}

std::map<std::string, DefineValue> NodeSettings::allDefines() const
{
    std::map<std::string, DefineValue> all;
    forEachDefine([&](const std::string& macro, const DefineValue& value) { all.emplace(macro, value); });
    return all;
}
