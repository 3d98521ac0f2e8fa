// Node names become folder names: checked and mended after reading, before anything is written.
#pragma once

#include <string>
#include <string_view>

class SubProject;

// Throws IOERROR 3 with the first name that holds a ".." part (between "\" or "/").
void refuseNamesLeavingTheDestination(const SubProject& node);

// name as a name Windows can hold, part by part between "\" and "/" (which stay): each of
// < > : " | ? * and bytes 1-31 becomes "_", the run of "." and " " that ends a part becomes as
// many "_", and a part whose text before its first "." is a device name (CON, PRN, AUX, NUL,
// COM1-COM9, LPT1-LPT9, any letter case) gets "_" in front. An empty part stays empty.
std::string windowsSafeName(std::string_view name);

// Gives node and every node below it its windowsSafeName, so that a folder refused on a real
// Windows file system (::CMSIS, Aux) is written the same way on every platform.
void makeNamesWindowsSafe(SubProject& node);

// Gives every node below root a folder no earlier node has. Walking parents first, children
// in order, a node's key is its folder below the destination as folderKey makes it; a node
// with an empty name shares its parent's folder, and its key is its parent's key and "\". A
// node whose key an earlier node has gets " (2)", " (3)", ...: the first that frees its key.
// Nodes of one folder would otherwise share, and one's analyser personality replace the other's.
void makeFolderKeysUnique(SubProject& root);
