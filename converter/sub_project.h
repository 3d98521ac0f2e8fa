// One node of the output tree: the project, a workspace member, a target or a group.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "file_source.h"
#include "node_settings.h"

class Converter;

// A node becomes one block of the project file, one folder below the destination, and,
// when it has include folders or defines, one generated analyser personality.
class SubProject {
public:
    SubProject(std::string name, Converter* owner);
    ~SubProject();
    SubProject(const SubProject&) = delete;
    SubProject& operator=(const SubProject&) = delete;

    // Appends a new child node of that name, with the node's owner, and returns it. Readers
    // add nodes and files through their ReadingContext, which counts them.
    SubProject* addChild(std::string childName);

    // Sets a define of the node's settings (NodeSettings::setDefine).
    void setDefine(const std::string& macro, std::string text, bool assigned)
    {
        settings.setDefine(macro, std::move(text), assigned);
    }

    // Calls each with every file the node lists.
    void forEachFile(const std::function<void(std::string_view)>& each) const;
    // The same as a list, for a reader's tests.
    std::vector<std::string> listedFiles() const;

    std::string name;
    std::string path;                              // folder of the Keil file the node stands for, ending in "\"
    std::unique_ptr<const FileSource> files;       // in reading order, duplicates kept; or none
    NodeSettings settings;                         // include folders and defines
    unsigned long long folderPathBytes = 0;        // its folder's path as read, the destination's
                                                   // included: names only grow when they are checked
    std::vector<SubProject*> children;             // owned, creation order
    Converter* owner;                              // the run; the tree never asks it for anything
};
