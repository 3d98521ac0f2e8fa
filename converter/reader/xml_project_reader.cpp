// Reader of Keil projects in the XML format: targets, groups, files and their settings.
#include "xml_project_reader.h"

#include <algorithm>

#include "../console.h"
#include "../errors.h"
#include "../source_path_pool.h"
#include "../sub_project.h"
#include "../text_util.h"
#include "define_list.h"
#include "pack_index.h"
#include "file_options.h"
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

// The targets an RTE component or file is for: its targetInfo names, less those excluded.
std::vector<std::string> listedTargets(const pugi::xml_node& owner)
{
    std::vector<std::string> names;
    for (const pugi::xml_node& infos : owner.children("targetInfos"))
        for (const pugi::xml_node& info : infos.children("targetInfo"))
            if (std::string_view(info.attribute("excluded").value()) != "1")
                names.emplace_back(info.attribute("name").value());
    return names;
}

// The pack a package element of the RTE names by its vendor, name and version attributes.
PackId packageId(const pugi::xml_node& package)
{
    return {package.attribute("vendor").value(), package.attribute("name").value(), package.attribute("version").value()};
}

// The folder uVision generates RTE_Components.h into for a target: RTE\_ and the target's
// name with every byte but ASCII letters, digits, "-" and "." made "_".
std::string rteComponentsFolder(const std::string& targetName)
{
    std::string folder = "RTE\\_";
    for (const char c : targetName) {
        const bool kept = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.';
        folder += kept ? c : '_';
    }
    return folder;
}

// Calls visit with the VariousControls of every tool block below options:
// options/<toolchain>/<tool>, that is TargetArmAds/Cads and Aads, TargetArm/Carm and Aarm,
// Target51/C51 and Ax51, and their counterparts in group and file options.
template <class Visit>
void forEachToolControls(const pugi::xml_node& options, Visit&& visit)
{
    for (const pugi::xml_node& toolchain : options.children())
        for (const pugi::xml_node& tool : toolchain.children())
            if (const pugi::xml_node controls = tool.child("VariousControls"))
                visit(controls);
}

}  // namespace

XmlProjectReader::XmlProjectReader(SubProject& projectNode, const ReadingContext& context)
    : projectNode(projectNode), context(context), paths(std::make_shared<KeptPaths>(projectNode.path))
{
}

void XmlProjectReader::read(const pugi::xml_node& project)
{
    readRte(project);
    for (const pugi::xml_node& targets : project.children("Targets"))
        for (const pugi::xml_node& target : targets.children("Target"))
            readTarget(target);
}

void XmlProjectReader::readRte(const pugi::xml_node& project)
{
    for (const pugi::xml_node& rte : project.children("RTE")) {
        for (const pugi::xml_node& components : rte.children("components"))
            for (const pugi::xml_node& component : components.children("component"))
                readRteComponent(component);
        for (const pugi::xml_node& packages : rte.children("packages"))
            for (const pugi::xml_node& package : packages.children("package"))
                rtePackages.push_back(packageId(package));
        for (const pugi::xml_node& files : rte.children("files"))
            for (const pugi::xml_node& file : files.children("file"))
                readRteFile(file);
    }
}

void XmlProjectReader::readRteComponent(const pugi::xml_node& component)
{
    SelectedComponent selected{{}, listedTargets(component)};
    for (const std::string& target : selected.targets)
        rteTargets[target].usesRte = true;
    if (selected.targets.empty() || context.packs == nullptr || !context.packs->hasRoot())
        return;
    ProjectComponent& wanted = selected.component;
    wanted.cclass = component.attribute("Cclass").value();
    wanted.cgroup = component.attribute("Cgroup").value();
    wanted.csub = component.attribute("Csub").value();
    wanted.cvariant = component.attribute("Cvariant").value();
    wanted.cversion = component.attribute("Cversion").value();
    wanted.condition = component.attribute("condition").value();
    wanted.capiversion = component.attribute("Capiversion").value();
    wanted.pack = packageId(component.child("package"));
    components.push_back(std::move(selected));
}

void XmlProjectReader::addPackSettings(const pugi::xml_node& target, const std::string& targetName, SubProject& targetNode) const
{
    if (context.packs == nullptr || !context.packs->hasRoot())
        return;
    PackSettings settings;
    const pugi::xml_node options = target.child("TargetOption");
    const pugi::xml_node common = options.child("TargetCommonOption");
    const std::string device = trimXmlSpace(childText(common, "Device"));
    const std::string packId = trimXmlSpace(childText(common, "PackID"));
    if (!device.empty() && !packId.empty()) {
        if (const PackDescription* pack = context.packs->find(PackId::fromText(packId));
            pack != nullptr && !addDeviceSettings(*pack, device, settings))
            context.packs->sayOnce(message::deviceNotFound, device + " (" + packId + ")");
    }
    for (const SelectedComponent& selected : components)
        if (std::find(selected.targets.begin(), selected.targets.end(), targetName) != selected.targets.end())
            addComponentPackSettings(selected.component, settings);

    for (const std::string& define : settings.defines)
        addDefine(targetNode.settings, define);
    // "No auto includes" keeps the compiler from the pack folders; the define stays.
    if (trimXmlSpace(childText(options.child("TargetArmAds").child("Cads"), "uSurpInc")) == "1")
        return;
    for (std::string& folder : settings.folders)
        addIncludeFolder(targetNode, std::move(folder), context.compilerIncludePaths);
}

void XmlProjectReader::addComponentPackSettings(const ProjectComponent& component, PackSettings& settings) const
{
    if (component.pack.vendor.empty() && component.pack.name.empty())
        return;
    const PackDescription* own = context.packs->find(component.pack);
    if (own != nullptr)
        addComponentSettings(*own, component, settings);
    if (component.capiversion.empty() || (own != nullptr && addApiSettings(*own, component, settings)))
        return;
    // An API may be described by another pack the project uses.
    for (const PackId& id : rtePackages)
        if (const PackDescription* pack = context.packs->find(id); pack != nullptr && addApiSettings(*pack, component, settings))
            return;
}

void XmlProjectReader::readRteFile(const pugi::xml_node& file)
{
    const std::vector<std::string> targets = listedTargets(file);
    if (targets.empty())
        return;
    const bool header = std::string_view(file.attribute("category").value()) == "header";
    // A file without an instance stays in the pack, which only an installation holds.
    for (const pugi::xml_node& instance : file.children("instance")) {
        if (std::string_view(instance.attribute("removed").value()) == "1")
            continue;
        const std::string written = trimXmlSpace(instance.child_value());
        if (written.empty())
            continue;
        const std::string path = paths->complete(splitFilePath(written));
        RteFile entry;
        entry.group = std::string("::") + file.child("component").attribute("Cclass").value();
        if (acceptsFile(path, context.extensions))
            entry.listed = written;
        // Configuration headers (RTE_Device.h, RTX_Config.h) are included by name from their folder.
        if (const std::size_t separator = path.rfind('\\'); header && separator != std::string::npos)
            entry.folder = path.substr(0, separator);
        if (entry.listed.empty() && entry.folder.empty())
            continue;
        const std::size_t index = rteFiles.size();
        rteFiles.push_back(std::move(entry));
        for (const std::string& target : targets) {
            std::vector<std::size_t>& files = rteTargets[target].files;
            if (files.empty() || files.back() != index)
                files.push_back(index);
        }
    }
}

void XmlProjectReader::addRteSettings(const std::string& targetName, const RteTarget& rte, SubProject& targetNode) const
{
    if (rte.usesRte) {
        targetNode.setDefine("_RTE_", {}, false);
        // The folder need not exist: uVision makes it when it builds.
        addIncludeFolder(targetNode, joinPath(projectNode.path, rteComponentsFolder(targetName)),
                         context.compilerIncludePaths);
    }
    for (const std::size_t index : rte.files)
        if (!rteFiles[index].folder.empty())
            addIncludeFolder(targetNode, rteFiles[index].folder, context.compilerIncludePaths);
}

void XmlProjectReader::addRteFiles(const RteTarget& rte, SubProject& targetNode)
{
    // uVision lists the component groups (::CMSIS, ::Device) among the target's groups, without
    // files; a class without such a group gets one after the others.
    std::unordered_map<std::string_view, SubProject*> groups;
    for (SubProject* group : targetNode.children)
        groups.try_emplace(group->name, group);
    // Each list gets the room of all its files at once.
    std::unordered_map<SubProject*, std::size_t> room;
    for (const std::size_t index : rte.files) {
        const RteFile& file = rteFiles[index];
        if (file.listed.empty())
            continue;
        SubProject*& group = groups[file.group];
        if (group == nullptr)
            group = context.addChild(targetNode, file.group);
        room[group] += KeptPaths::entrySize(splitFilePath(file.listed));
    }
    for (const auto& [group, bytes] : room)
        fileListOf(*group).reserveMore(bytes);
    for (const std::size_t index : rte.files)
        if (const RteFile& file = rteFiles[index]; !file.listed.empty())
            context.addFile(fileListOf(*groups[file.group]), splitFilePath(file.listed));
}

void XmlProjectReader::readTarget(const pugi::xml_node& target)
{
    const std::string name = childText(target, "TargetName");
    SubProject* targetNode = context.addChild(projectNode, name);
    const auto rte = rteTargets.find(name);
    // The target's settings are complete before any group copies them. The packs' and the
    // RTE's come first, as on uVision's command line, so that a define of the target's own
    // replaces theirs.
    // The budget counts what they add to its personality.
    context.changeSettings(targetNode->settings, [&] {
        addPackSettings(target, name, *targetNode);
        if (rte != rteTargets.end())
            addRteSettings(name, rte->second, *targetNode);
    });
    addToolSettings(target.child("TargetOption"), targetNode->settings);
    for (const pugi::xml_node& groups : target.children("Groups"))
        for (const pugi::xml_node& group : groups.children("Group"))
            readGroup(group, *targetNode);
    if (rte != rteTargets.end())
        addRteFiles(rte->second, *targetNode);
}

void XmlProjectReader::readGroup(const pugi::xml_node& group, SubProject& targetNode)
{
    SubProject* groupNode = context.addChild(targetNode, childText(group, "GroupName"));
    const pugi::xml_node options = group.child("GroupOption");

    // A group with settings of its own gets a complete personality: the target's settings
    // with the group's on top. Other groups keep none and refer to the target's.
    addToolSettings(options, groupNode->settings);
    if (!groupNode->settings.empty())
        context.overlay(groupNode->settings, targetNode.settings);

    const bool groupInBuild = includeInBuild(options) != InBuild::No;
    // The list gets the room of all its files at once.
    std::size_t bytes = 0;
    SplitFilePath split{};
    for (const pugi::xml_node& files : group.children("Files"))
        for (const pugi::xml_node& file : files.children("File"))
            if (listedFile(file, groupInBuild, split))
                bytes += KeptPaths::entrySize(split);
    if (bytes == 0)
        return;
    fileListOf(*groupNode).reserveMore(bytes);
    for (const pugi::xml_node& files : group.children("Files"))
        for (const pugi::xml_node& file : files.children("File"))
            readFile(file, groupInBuild, *groupNode);
}

KeptFileList& XmlProjectReader::fileListOf(SubProject& node)
{
    KeptFileList*& list = fileLists[&node];
    if (list == nullptr) {
        auto made = std::make_unique<KeptFileList>(paths);
        list = made.get();
        node.files = std::move(made);
    }
    return *list;
}

bool XmlProjectReader::listedFile(const pugi::xml_node& file, bool groupInBuild, SplitFilePath& split) const
{
    // The path is looked at where the document holds it: one of 200 MB is copied only when kept.
    const std::string_view written = trimmedXmlSpace(file.child("FilePath").child_value());
    if (written.empty())
        return false;
    // Targets leave out alternatives they do not build (another board's driver, another
    // chip's startup code); listing them would make the analyser see both definitions.
    const InBuild fileInBuild = includeInBuild(file.child("FileOption"));
    if (fileInBuild == InBuild::No || (fileInBuild == InBuild::Inherit && !groupInBuild))
        return false;
    split = splitFilePath(written);
    return paths->accepts(split, context.extensions);
}

void XmlProjectReader::readFile(const pugi::xml_node& file, bool groupInBuild, SubProject& groupNode)
{
    SplitFilePath split{};
    if (!listedFile(file, groupInBuild, split))
        return;
    const unsigned char* const entry = context.addFile(fileListOf(groupNode), split);

    // The project has no place for settings of a single file: say so rather than drop them.
    bool carries = false;
    forEachToolControls(file.child("FileOption"), [&](const pugi::xml_node& controls) {
        carries = carries
                  || fileOptionsSaySomething(childText(controls, "Define"), childText(controls, "IncludePath"),
                                             projectNode.path, context.compilerIncludePaths);
    });
    if (carries && reportedFiles.first(*paths, entry)) {
        const auto [base, rest] = paths->parts(entry);
        printLine(std::string(message::fileOptionsNotCarried).append(base), rest);
    }
}

void XmlProjectReader::addToolSettings(const pugi::xml_node& options, NodeSettings& settings) const
{
    forEachToolControls(options, [&](const pugi::xml_node& controls) {
        context.addSettingLists(settings, childText(controls, "Define"), childText(controls, "IncludePath"), projectNode.path);
    });
}
