// One node of the output tree.
#include "sub_project.h"

#include <memory>

#include "converter.h"

SubProject::SubProject(std::string name, Converter* owner) : name(std::move(name)), owner(owner) {}

SubProject::~SubProject()
{
    for (SubProject* child : children)
        delete child;
}

SubProject* SubProject::addChild(std::string childName)
{
    if (owner != nullptr)
        owner->countNode();
    auto child = std::make_unique<SubProject>(std::move(childName), owner);
    children.push_back(child.get());  // if this throws, the unique_ptr still frees the node
    return child.release();
}

void SubProject::setDefine(const std::string& macro, std::string text, bool assigned)
{
    DefineValue& value = defines[macro];
    value.text = std::move(text);
    value.assigned = assigned;
}

void SubProject::addFile(std::string_view file)
{
    if (owner != nullptr)
        owner->countListedFile(file.size());
    files.push_back(file);
}

void SubProject::inheritSettings(const SubProject& from)
{
    for (const auto& [macro, value] : from.defines)
        defines.try_emplace(macro, value);
    includePaths.insert(from.includePaths.begin(), from.includePaths.end());
}
