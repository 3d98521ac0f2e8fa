// Members of a Keil multi-project workspace in the XML format (.uvmpw).
#include "xml_workspace.h"

#include "xml_document.h"

void forEachXmlWorkspaceMember(const pugi::xml_node& workspace, const std::string& folder,
                               const std::function<void(const std::string&)>& each)
{
    for (const pugi::xml_node& project : workspace.children("project")) {
        const std::string written = trimXmlSpace(childText(project, "PathAndName"));
        if (written.empty())
            continue;
        // A member on another drive is written with its drive and cannot be joined to the folder.
        each(written.find(':') != std::string::npos ? written : folder + "\\" + written);
    }
}

std::list<std::string> xmlWorkspaceMembers(const pugi::xml_node& workspace, const std::string& folder)
{
    std::list<std::string> members;
    forEachXmlWorkspaceMember(workspace, folder, [&](const std::string& member) { members.push_back(member); });
    return members;
}
