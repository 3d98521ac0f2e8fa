// Reader of Keil projects in the XML format (.uvproj, .uvprojx): targets, their own groups
// and files, the defines and include folders of targets and groups, and what the Run-Time
// Environment adds to the targets that use it.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <pugixml.hpp>

#include "kept_paths.h"
#include "pack_settings.h"
#include "reading_context.h"

class NodeSettings;
class SubProject;

// Fills the same tree as the text reader: one node per target under projectNode, under each
// target its own groups in file order, in each group its files completed against
// projectNode's path. Element values are split by the rules of the text format.
// The Run-Time Environment (the RTE element) gives each target that a component lists the
// define _RTE_ and the include folder RTE\_<target>, and lists the files the project holds
// for a target in the group "::" + the file's component class.
// With a pack root, a target also gets what its packs give it (the device's header folder and
// define, the folders of its components and their APIs), before its own settings.
class XmlProjectReader {
public:
    XmlProjectReader(SubProject& projectNode, const ReadingContext& context);

    // Reads the Project root element of a parsed document. Missing or empty elements add
    // nothing; each file with options of its own gets one line on standard output.
    void read(const pugi::xml_node& project);

private:
    // One file the RTE put into the project folder.
    struct RteFile {
        std::string listed;       // its path as written; empty when the extension list leaves it out
        std::string group;        // "::" + the component class
        std::string folder;       // the folder of a header, an include folder of its targets; else empty
    };

    // What the RTE gives one target, by the target's name as read.
    struct RteTarget {
        bool usesRte = false;             // a component lists the target
        std::vector<std::size_t> files;   // indexes into rteFiles, in the order of <files>
    };

    // A component of the RTE and the targets it is selected for.
    struct SelectedComponent {
        ProjectComponent component;
        std::vector<std::string> targets;
    };

    void readRte(const pugi::xml_node& project);
    void readRteComponent(const pugi::xml_node& component);
    void addPackSettings(const pugi::xml_node& target, const std::string& targetName, SubProject& targetNode) const;
    void addComponentPackSettings(const ProjectComponent& component, PackSettings& settings) const;
    void readRteFile(const pugi::xml_node& file);
    void addRteSettings(const std::string& targetName, const RteTarget& rte, SubProject& targetNode) const;
    void addRteFiles(const RteTarget& rte, SubProject& targetNode);

    void readTarget(const pugi::xml_node& target);
    void readGroup(const pugi::xml_node& group, SubProject& targetNode);
    // True when file is listed (it has a path, is built and the extension list accepts it),
    // and then its path in split, a view of the document.
    bool listedFile(const pugi::xml_node& file, bool groupInBuild, SplitFilePath& split) const;
    void readFile(const pugi::xml_node& file, bool groupInBuild, SubProject& groupNode);
    // The list of node's files, made when it gets its first.
    KeptFileList& fileListOf(SubProject& node);

    // Adds the Define and IncludePath values of every tool block below options
    // (options/<toolchain>/<tool>/VariousControls) to settings, each counted as it is added.
    void addToolSettings(const pugi::xml_node& options, NodeSettings& settings) const;

    SubProject& projectNode;
    const ReadingContext& context;
    std::shared_ptr<KeptPaths> paths;
    std::unordered_map<const SubProject*, KeptFileList*> fileLists;  // kept by the nodes
    NamedFiles reportedFiles;  // a file shared by several targets is named once
    std::vector<RteFile> rteFiles;
    std::unordered_map<std::string, RteTarget> rteTargets;
    std::vector<SelectedComponent> components;
    std::vector<PackId> rtePackages;  // RTE/packages, in file order
};
