// One node of the output tree.
#include "sub_project.h"

#include <memory>

SubProject::SubProject(std::string name, Converter* owner) : name(std::move(name)), owner(owner) {}

SubProject::~SubProject()
{
    for (SubProject* child : children)
        delete child;
}

SubProject* SubProject::addChild(std::string childName)
{
    auto child = std::make_unique<SubProject>(std::move(childName), owner);
    children.push_back(child.get());  // if this throws, the unique_ptr still frees the node
    return child.release();
}


void SubProject::forEachFile(const std::function<void(std::string_view)>& each) const
{
    if (files)
        files->forEach(each);
}

std::vector<std::string> SubProject::listedFiles() const
{
    std::vector<std::string> listed;
    forEachFile([&](std::string_view file) { listed.emplace_back(file); });
    return listed;
}
