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

void NodeSettings::overlay(const NodeSettings& below)
{
    for (const auto& [macro, value] : below.defines)
        defines.try_emplace(macro, value);
    includePaths.insert(below.includePaths.begin(), below.includePaths.end());
}
