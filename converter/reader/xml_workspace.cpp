// Members of a Keil multi-project workspace in the XML format (.uvmpw).
#include "xml_workspace.h"

#include "xml_document.h"

std::list<std::string> xmlWorkspaceMembers(const pugi::xml_node& workspace, const std::string& folder)
{
    std::list<std::string> members;
    for (const pugi::xml_node& project : workspace.children("project")) {
        const std::string written = trimXmlSpace(childText(project, "PathAndName"));
        if (written.empty())
            continue;
        // A member on another drive is written with its drive and cannot be joined to the folder.
        members.push_back(written.find(':') != std::string::npos ? written : folder + "\\" + written);
    }
    return members;
}
