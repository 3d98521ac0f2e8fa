// Reader of Keil projects in the XML format (.uvproj, .uvprojx): targets, their own groups
// and files, and the defines and include folders of targets and groups.
#pragma once

#include <set>
#include <string>

#include <pugixml.hpp>

#include "reading_context.h"

class SubProject;

// Fills the same tree as the text reader: one node per target under projectNode, under each
// target its own groups in file order, in each group its files completed against
// projectNode's path. Element values are split by the rules of the text format.
class XmlProjectReader {
public:
    // Source paths go into the context's pool, which must outlive the tree.
    XmlProjectReader(SubProject& projectNode, const ReadingContext& context) : projectNode(projectNode), context(context) {}

    // Reads the Project root element of a parsed document. Missing or empty elements add
    // nothing; each file with options of its own gets one line on standard output.
    void read(const pugi::xml_node& project);

private:
    void readTarget(const pugi::xml_node& target);
    void readGroup(const pugi::xml_node& group, SubProject& targetNode);
    void readFile(const pugi::xml_node& file, bool groupInBuild, SubProject& groupNode);

    // Adds the Define and IncludePath values of every tool block below options
    // (options/<toolchain>/<tool>/VariousControls) to node.
    void addToolSettings(const pugi::xml_node& options, SubProject& node) const;

    SubProject& projectNode;
    const ReadingContext& context;
    std::set<std::string> reportedFiles;  // a file shared by several targets is named once
};
