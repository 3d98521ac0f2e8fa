// The Ostra project file and the folder tree below the destination folder.
#include "../console.h"
#include "../converter.h"
#include "../errors.h"
#include "../sub_project.h"
#include "../text_util.h"

namespace {

constexpr const char* personFolder = "\\person\\";
constexpr const char* outputFolder = "\\output\\";

// The part of text behind its last "\" or "/", or all of it.
std::string lastPart(const std::string& text)
{
    const std::size_t separator = lastSeparator(text);
    return separator == std::string::npos ? text : text.substr(separator + 1);
}

// The run's settings as the writer reads them, fetched once for the whole tree.
struct Settings {
    explicit Settings(const Converter& run)
        : destination(run.getDestinationFolder()),
          project(run.getProjectName()),
          messagePersonality(run.getMessagePersonality()),
          compilerPersonality(run.getCompilerPersonality())
    {
    }

    const std::string& destination;
    const std::string& project;
    const std::string& messagePersonality;
    const std::string& compilerPersonality;
};

// The node's folder below its parent's, after the folders of the leading parts of a name
// with separators ("Rel/Debug" makes Rel first).
std::string makeNodeFolders(SubProject& node, const Settings& settings, const std::string& parentPath, bool hasChildren)
{
    std::string base = settings.destination;
    if (!parentPath.empty())
        base += "\\" + parentPath;
    const std::string& name = node.name;
    for (std::size_t separator = name.find_first_of("\\/"); separator != std::string::npos;
         separator = name.find_first_of("\\/", separator + 1))
        node.ensureDirectory(base + "\\" + name.substr(0, separator));
    const std::string nodeFolder = base + "\\" + name;
    node.ensureDirectory(nodeFolder);
    node.ensureDirectory(nodeFolder + outputFolder);
    // A node with settings needs the folder for its own analyser personality, children or not.
    if (hasChildren || !node.settings.empty())
        node.ensureDirectory(nodeFolder + personFolder);
    return nodeFolder;
}

// The given message or compiler personality, or the run's empty default of that kind, made
// once per pass.
std::string personalityValue(SubProject& node, const Settings& settings, const std::string& given, const char* suffix,
                             bool& made)
{
    if (!given.empty())
        return given;
    const std::string value = settings.destination + personFolder + settings.project + suffix;
    if (!made) {
        node.ensureDirectory(settings.destination + personFolder);
        node.owner->session().writeFile(value, {});
        made = true;
    }
    return value;
}

// The AnalPers= line. A node with settings refers to its own generated file; one without
// refers to its parent's when the parent has one, else to what its parent refers to. Returns
// what the node hands down to its children: empty for a node with its own file.
std::string writeAnalyserPersonalityLine(SubProject& node, const Settings& settings, OutputSession& out,
                                         const std::string& parentPath, const std::string& nodeFolder,
                                         std::string inherited)
{
    if (!node.settings.empty()) {
        const std::string value = nodeFolder + personFolder + lastPart(node.name) + ".p_a";
        if (out.writing())
            printLine(message::creatingAnalyser, value);
        out.projectLine("AnalPers=" + value);
        node.writeAnalyserPersonality(value);
        return {};
    }
    const std::string candidate = settings.destination + "\\" + parentPath + personFolder + lastPart(parentPath) + ".p_a";
    std::string value = out.exists(candidate) ? candidate : std::move(inherited);
    out.projectLine("AnalPers=" + value);
    // The fallback copy is only ever created, never rewritten.
    if (!out.exists(value)) {
        node.ensureDirectory(settings.destination + personFolder);
        node.writeBaseAnalyserCopy(value);
    }
    return value;
}

}  // namespace

int Converter::writeProject()
{
    // Two conversions into one folder would mix their files.
    platform::DestinationLock lock;
    if (!lock.acquire(destinationFolder))
        throw IOERROR(IOERROR::DestinationInUse, destinationFolder);

    // The personalities are inputs too: read, or known, before anything is written.
    outputSession.loadBaseAnalyserPersonality(analyserPersonality);
    platform::FileIdentity message;
    if (!messagePersonality.empty() && platform::fileIdentity(messagePersonality, message))
        outputSession.noteInput(message);

    const std::string projectFile = destinationFolder + "\\" + projectName + ".prj";
    try {
        for (const OutputSession::Pass pass : {OutputSession::Pass::Check, OutputSession::Pass::Write}) {
            outputSession.begin(pass, destinationFolder);
            outputSession.openProjectFile(projectFile);
            if (outputSession.writing())
                printLine(message::creatingProject);
            outputSession.projectLine("VersionTag45");
            root->writeTree(outputSession, "", destinationFolder + personFolder + projectName + ".p_a");
            outputSession.closeProjectFile();
            if (!outputSession.writing())
                budget.countOutput(outputSession.bytesCounted());
        }
    } catch (...) {
        // The session outlives the run (the tree is not freed at exit): its open project file
        // would otherwise stay in the destination under its temporary name.
        outputSession.abandonProjectFile();
        throw;
    }
    printLine(message::projectCompleted);
    return 0;
}

void SubProject::ensureDirectory(const std::string& folder)
{
    owner->session().ensureDirectory(folder);
}

void SubProject::writeTree(OutputSession& out, const std::string& parentPath, std::string inheritedAnalyserPersonality)
{
    const Settings settings(*owner);
    const std::string nodeFolder = makeNodeFolders(*this, settings, parentPath, !children.empty());
    if (out.writing())
        printLine(message::creatingGroup, name);

    out.projectLine("StartProjectMarker");
    out.projectLine("FolderName=" + name);
    out.projectLine("SourcePath=" + (path.empty() ? nodeFolder + "\\" : path));
    out.projectLine("OutputPath=" + nodeFolder + outputFolder);
    out.projectLine("SubsPers="
                    + personalityValue(*this, settings, settings.messagePersonality, ".p_s", out.messageDefaultMade));

    const std::string handedDown =
        writeAnalyserPersonalityLine(*this, settings, out, parentPath, nodeFolder, std::move(inheritedAnalyserPersonality));

    out.projectLine("CompPers="
                    + personalityValue(*this, settings, settings.compilerPersonality, ".p_c", out.compilerDefaultMade));
    for (const std::string_view file : files)
        out.listedFileLine(file);
    out.projectLine("EndContainedFilesMarker");

    if (children.empty())
        return;
    out.projectLine("StartSubProjectMarker");
    const std::string childParentPath = parentPath.empty() ? name : parentPath + "\\" + name;
    for (SubProject* child : children)
        child->writeTree(out, childParentPath, handedDown);
    out.projectLine("EndSubProjectMarker");
}
