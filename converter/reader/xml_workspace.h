// Members of a Keil multi-project workspace in the XML format (.uvmpw).
#pragma once

#include <functional>
#include <list>
#include <string>

#include <pugixml.hpp>

// The project files a ProjectWorkspace root lists (project/PathAndName), in file order, each
// as folder + "\" + the path as written, the same form as the members of a text workspace;
// a path with a drive (":") is taken as written. Entries with an empty path are skipped.
void forEachXmlWorkspaceMember(const pugi::xml_node& workspace, const std::string& folder,
                               const std::function<void(const std::string&)>& each);
std::list<std::string> xmlWorkspaceMembers(const pugi::xml_node& workspace, const std::string& folder);
