// Reader of Keil projects in the XML format: targets, groups, files and their settings.
#include "xml_project_reader.h"

#include "../console.h"
#include "../errors.h"
#include "../source_path_pool.h"
#include "../sub_project.h"
#include "define_list.h"
#include "path_completion.h"
#include "xml_document.h"

namespace {

// IncludeInBuild of a CommonProperty block: 0 leaves the file or group out of the target's
// build, 1 puts it in, anything else (2, or no value) follows the level above.
enum class InBuild { No, Yes, Inherit };

InBuild includeInBuild(const pugi::xml_node& options)
{
    const std::string value = trimXmlSpace(childText(options.child("CommonProperty"), "IncludeInBuild"));
    if (value == "0")
        return InBuild::No;
    if (value == "1")
        return InBuild::Yes;
    return InBuild::Inherit;
}

}  // namespace

void XmlProjectReader::read(const pugi::xml_node& project)
{
    for (const pugi::xml_node& targets : project.children("Targets"))
        for (const pugi::xml_node& target : targets.children("Target"))
            readTarget(target);
}

void XmlProjectReader::readTarget(const pugi::xml_node& target)
{
    SubProject* targetNode = projectNode.addChild(childText(target, "TargetName"));
    // The target's settings are complete before any group copies them.
    addToolSettings(target.child("TargetOption"), *targetNode);
    for (const pugi::xml_node& groups : target.children("Groups"))
        for (const pugi::xml_node& group : groups.children("Group"))
            readGroup(group, *targetNode);
}

void XmlProjectReader::readGroup(const pugi::xml_node& group, SubProject& targetNode)
{
    SubProject* groupNode = targetNode.addChild(childText(group, "GroupName"));
    const pugi::xml_node options = group.child("GroupOption");

    // A group with settings of its own gets a complete personality: the target's settings
    // with the group's on top. Other groups keep none and refer to the target's.
    addToolSettings(options, *groupNode);
    if (groupNode->hasSettings())
        groupNode->inheritSettings(targetNode);

    const bool groupInBuild = includeInBuild(options) != InBuild::No;
    for (const pugi::xml_node& files : group.children("Files"))
        for (const pugi::xml_node& file : files.children("File"))
            readFile(file, groupInBuild, *groupNode);
}

void XmlProjectReader::readFile(const pugi::xml_node& file, bool groupInBuild, SubProject& groupNode)
{
    const std::string written = trimXmlSpace(childText(file, "FilePath"));
    if (written.empty())
        return;
    const pugi::xml_node options = file.child("FileOption");
    // Targets leave out alternatives they do not build (another board's driver, another
    // chip's startup code); listing them would make the analyser see both definitions.
    const InBuild fileInBuild = includeInBuild(options);
    if (fileInBuild == InBuild::No || (fileInBuild == InBuild::Inherit && !groupInBuild))
        return;

    const std::string path = completeFilePath(written, projectNode.path);
    if (!acceptsFile(path, context.extensions))
        return;
    groupNode.addFile(context.sourcePaths.keep(path));

    // The project has no place for settings of a single file: say so rather than drop them.
    SubProject own({}, nullptr);
    addToolSettings(options, own);
    if (own.hasSettings() && reportedFiles.insert(path).second)
        printLine(message::fileOptionsNotCarried, path);
}

void XmlProjectReader::addToolSettings(const pugi::xml_node& options, SubProject& node) const
{
    // options/<toolchain>/<tool>: TargetArmAds/Cads and Aads, TargetArm/Carm and Aarm,
    // Target51/C51 and Ax51, and their counterparts in group and file options.
    for (const pugi::xml_node& toolchain : options.children()) {
        for (const pugi::xml_node& tool : toolchain.children()) {
            const pugi::xml_node controls = tool.child("VariousControls");
            if (!controls)
                continue;
            addDefineList(node, childText(controls, "Define"));
            addIncludeList(node, childText(controls, "IncludePath"), projectNode.path, context.compilerIncludePaths);
        }
    }
}
