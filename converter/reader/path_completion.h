// Completing the relative paths of a Keil project against the project file's folder.
#pragma once

#include <functional>
#include <list>
#include <string>
#include <string_view>

// A source file path as written in the project: with a drive it stays; rooted ("\x") it
// gets the project folder's drive; otherwise a leading ".\" goes and the rest is joined to
// the project folder with one "\". projectFolder ends in "\".
std::string completeFilePath(const std::string& path, const std::string& projectFolder);

// The same path in two parts, the completed path being the first followed by the second with
// its "/" made "\": the part the project folder gives (its drive, the folder itself, or
// nothing), and the rest of the path as written, which lies in path. A project's files keep
// only the rest, never the folder again, and a path of 200 MB is never copied to be looked at.
struct SplitFilePath {
    enum Base : unsigned char { None, Drive, Folder } base;
    std::string_view rest;
};
SplitFilePath splitFilePath(std::string_view path);
std::string filePathBase(SplitFilePath::Base base, const std::string& projectFolder);

// One element of an include list: blanks at both ends go, and an element left empty yields
// nothing (returns false). "." and ".\" name the project folder itself.
bool completeIncludeFolder(const std::string& element, const std::string& projectFolder, std::string& folder);

class CompilerFolders;
class NodeSettings;
class SubProject;

// Calls each with every folder of an include list split at ";", completed (completeIncludeFolder).
void forEachIncludeFolder(std::string_view list, const std::string& projectFolder,
                          const std::function<void(const std::string&)>& each);

// Splits an include list at ";" and stores each completed folder in target, leaving out
// the folders the compiler personality already names.
void addIncludeList(NodeSettings& target, const std::string& value, const std::string& projectFolder,
                    const CompilerFolders& compilerFolders);

// Stores one completed folder in target's settings unless the compiler personality already
// names it (NodeSettings::addIncludeFolder).
void addIncludeFolder(SubProject& target, std::string folder, const CompilerFolders& compilerFolders);
