// The Ostra project file and the folder tree below the destination folder.
#include "project_writer.h"

#include "../budget.h"
#include "../errors.h"
#include "../sub_project.h"
#include "../text_util.h"
#include "output_session.h"
#include "write_context.h"

namespace {

constexpr const char* personFolder = "\\person\\";
constexpr const char* outputFolder = "\\output\\";

// The part of text behind its last "\" or "/", or all of it.
std::string lastPart(const std::string& text)
{
    const std::size_t separator = lastSeparator(text);
    return separator == std::string::npos ? text : text.substr(separator + 1);
}

// The node's folder below its parent's, after the folders of the leading parts of a name
// with separators ("Rel/Debug" makes Rel first).
std::string planNodeFolders(const SubProject& node, WriteContext& context, const std::string& parentPath)
{
    std::string base = context.destination;
    if (!parentPath.empty())
        base += "\\" + parentPath;
    const std::string& name = node.name;
    forEachPart(name, "\\/", [&](std::string_view part) {
        // An empty part names the folder before it again: a name of a million separators
        // makes no million look-ups.
        const std::size_t end = static_cast<std::size_t>(part.data() - name.data()) + part.size();
        if (!part.empty() && end < name.size())
            context.plan.ensureDirectory(base + "\\" + name.substr(0, end));
    });
    const std::string nodeFolder = base + "\\" + name;
    context.plan.ensureDirectory(nodeFolder);
    context.plan.ensureDirectory(nodeFolder + outputFolder);
    // A node with settings needs the folder for its own analyser personality, children or not.
    if (!node.children.empty() || !node.settings.empty())
        context.plan.ensureDirectory(nodeFolder + personFolder);
    return nodeFolder;
}

// The given message or compiler personality, or the run's empty default of that kind, made
// once per write; keepEdited leaves one that exists as it is.
std::string personalityValue(WriteContext& context, const std::string& given, const char* suffix, bool& made,
                             bool keepEdited)
{
    if (!given.empty())
        return given;
    const std::string value = context.destination + personFolder + context.projectName + suffix;
    if (!made) {
        made = true;
        if (!keepEdited || !context.plan.exists(value)) {
            context.plan.ensureDirectory(context.destination + personFolder);
            context.plan.writeFile(value, {});
        }
    }
    return value;
}

// The AnalPers= line. A node with settings refers to its own generated file; one without
// refers to what its parent refers to, which is the parent's own file when the parent has
// settings in this run (a file an earlier run left is never referred to). Returns what the
// node refers to, which its children inherit.
std::string planAnalyserPersonalityLine(const SubProject& node, WriteContext& context, const std::string& nodeFolder,
                                        std::string inherited)
{
    OutputSession& plan = context.plan;
    if (!node.settings.empty()) {
        std::string value = nodeFolder + personFolder + lastPart(node.name) + ".p_a";
        plan.progress(message::creatingAnalyser + value);
        plan.projectLine("AnalPers=" + value);
        planAnalyserPersonality(node.settings, value, context);
        return value;
    }
    plan.projectLine("AnalPers=" + inherited);
    // The fallback copy is only ever created, never rewritten.
    if (!plan.exists(inherited)) {
        plan.ensureDirectory(context.destination + personFolder);
        planBaseAnalyserCopy(inherited, context);
    }
    return inherited;
}

// The node's block of the project file, its folders and its personality files, then its
// children's.
void planTree(const SubProject& node, WriteContext& context, const std::string& parentPath,
              std::string inheritedAnalyserPersonality)
{
    OutputSession& plan = context.plan;
    const std::string nodeFolder = planNodeFolders(node, context, parentPath);
    plan.progress(message::creatingGroup + node.name);

    plan.projectLine("StartProjectMarker");
    plan.projectLine("FolderName=" + node.name);
    plan.projectLine("SourcePath=" + (node.path.empty() ? nodeFolder + "\\" : node.path));
    plan.projectLine("OutputPath=" + nodeFolder + outputFolder);
    plan.projectLine("SubsPers="
                     + personalityValue(context, context.messagePersonality, ".p_s", context.messageDefaultMade, true));

    const std::string handedDown
        = planAnalyserPersonalityLine(node, context, nodeFolder, std::move(inheritedAnalyserPersonality));

    plan.projectLine("CompPers="
                     + personalityValue(context, context.compilerPersonality, ".p_c", context.compilerDefaultMade, false));
    plan.listedFileLines(node);
    plan.projectLine("EndContainedFilesMarker");

    if (node.children.empty())
        return;
    plan.projectLine("StartSubProjectMarker");
    const std::string childParentPath = parentPath.empty() ? node.name : parentPath + "\\" + node.name;
    for (const SubProject* child : node.children)
        planTree(*child, context, childParentPath, handedDown);
    plan.projectLine("EndSubProjectMarker");
}

}  // namespace

void writeOutput(const SubProject& root, const OutputSettings& settings, std::vector<platform::FileIdentity> inputs,
                 Budget& budget)
{
    // Two conversions into one folder would mix their files.
    platform::DestinationLock lock;
    if (!lock.acquire(settings.destination))
        throw IOERROR(IOERROR::DestinationInUse, settings.destination);

    // The personalities are inputs too: read, or known, before anything is planned.
    platform::FileIdentity identity;
    const BasePersonality base = BasePersonality::load(settings.analyserPersonality, identity);
    if (identity != platform::FileIdentity {})
        inputs.push_back(identity);
    platform::FileIdentity message;
    if (!settings.messagePersonality.empty() && platform::fileIdentity(settings.messagePersonality, message))
        inputs.push_back(message);

    OutputSession plan(settings.destination, inputs, budget);
    WriteContext context {settings.destination, settings.projectName, settings.messagePersonality,
                          settings.compilerPersonality, base, plan};
    plan.openProjectFile(settings.destination + "\\" + settings.projectName + ".prj");
    plan.progress(message::creatingProject);
    plan.projectLine("VersionTag45");
    planTree(root, context, "", settings.destination + personFolder + settings.projectName + ".p_a");
    plan.result().refuseOwnCollisions();

    // From here on, no link swapped in below the destination is followed.
    const platform::OutputAnchor anchor(settings.destination);
    plan.result().carryOut(inputs);
}
