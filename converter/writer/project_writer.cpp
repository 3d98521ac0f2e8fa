// The Ostra project file and the folder tree below the destination folder.
#include <fstream>
#include <memory>

#include "../console.h"
#include "../converter.h"
#include "../errors.h"
#include "../platform.h"
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

// Creates an empty default personality, truncating one left by an earlier run.
bool createEmptyFile(const std::string& path, OutputSession& session)
{
    std::ofstream out;
    if (!platform::openOutput(path, out))
        return false;
    out.close();
    session.noteWritten(path);
    return true;
}

}  // namespace

int Converter::writeProject()
{
    // The base analyser personality is an input too: read it before anything is written.
    outputSession.loadBaseAnalyserPersonality(analyserPersonality);

    const std::string projectFile = destinationFolder + "\\" + projectName + ".prj";
    // A large buffer: the project file is written in one sequential pass. It is declared
    // before the stream so that it outlives the stream's final flush.
    auto buffer = std::make_unique<char[]>(1 << 16);
    std::ofstream out;
    if (writeCachesOn)
        out.rdbuf()->pubsetbuf(buffer.get(), 1 << 16);
    if (!platform::openOutput(projectFile, out))
        throw IOERROR(IOERROR::CannotWriteFile, projectFile);

    printLine(message::creatingProject);
    writeLine(out, "VersionTag45");
    root->writeTree(out, "", destinationFolder + personFolder + projectName + ".p_a");
    out.close();
    if (out.fail())
        throw IOERROR(IOERROR::CannotWriteFile, projectFile);
    printLine(message::projectCompleted);
    return 0;
}

void SubProject::ensureDirectory(const std::string& folder)
{
    owner->session().ensureDirectory(folder);
}

void SubProject::writeTree(std::ostream& out, const std::string& parentPath, std::string inheritedAnalyserPersonality)
{
    OutputSession& session = owner->session();
    const std::string& destination = owner->destinationFolder;
    const std::string& project = owner->projectName;

    // Folders: the leading parts of a name with separators first, then the node's own.
    std::string base = destination;
    if (!parentPath.empty())
        base += "\\" + parentPath;
    for (std::size_t separator = name.find_first_of("\\/"); separator != std::string::npos;
         separator = name.find_first_of("\\/", separator + 1))
        ensureDirectory(base + "\\" + name.substr(0, separator));
    const std::string nodeFolder = base + "\\" + name;
    ensureDirectory(nodeFolder);
    ensureDirectory(nodeFolder + outputFolder);
    // A node with settings needs the folder for its own analyser personality, children or not.
    if (!children.empty() || hasSettings())
        ensureDirectory(nodeFolder + personFolder);

    printLine(message::creatingGroup, name);

    writeLine(out, "StartProjectMarker");
    writeLine(out, "FolderName=" + name);
    writeLine(out, "SourcePath=" + (path.empty() ? nodeFolder + "\\" : path));
    writeLine(out, "OutputPath=" + nodeFolder + outputFolder);

    std::string messageValue = owner->messagePersonality;
    if (messageValue.empty()) {
        messageValue = destination + personFolder + project + ".p_s";
        // An empty file truncated once is the same as one truncated for every node.
        if (!session.messageDefaultMade || !writeCachesOn) {
            ensureDirectory(destination + personFolder);
            session.messageDefaultMade = createEmptyFile(messageValue, session);
        }
    }
    writeLine(out, "SubsPers=" + messageValue);

    std::string handedDown;
    if (!hasSettings()) {
        const std::string candidate = destination + "\\" + parentPath + personFolder + lastPart(parentPath) + ".p_a";
        std::string value = session.exists(candidate) ? candidate : std::move(inheritedAnalyserPersonality);
        writeLine(out, "AnalPers=" + value);
        if (!session.exists(value)) {
            ensureDirectory(destination + personFolder);
            writeBaseAnalyserCopy(value);
        }
        handedDown = std::move(value);
    } else {
        const std::string value = nodeFolder + personFolder + lastPart(name) + ".p_a";
        printLine(message::creatingAnalyser, value);
        writeLine(out, "AnalPers=" + value);
        writeAnalyserPersonality(value);
    }

    std::string compilerValue = owner->compilerPersonality;
    if (compilerValue.empty()) {
        compilerValue = destination + personFolder + project + ".p_c";
        if (!session.compilerDefaultMade || !writeCachesOn) {
            ensureDirectory(destination + personFolder);
            if (!createEmptyFile(compilerValue, session))
                throw IOERROR(IOERROR::CannotWriteFile, compilerValue);
            session.compilerDefaultMade = true;
        }
    }
    writeLine(out, "CompPers=" + compilerValue);

    for (const std::string_view file : files)
        writeLine(out, file);
    writeLine(out, "EndContainedFilesMarker");

    if (children.empty())
        return;
    writeLine(out, "StartSubProjectMarker");
    const std::string childParentPath = parentPath.empty() ? name : parentPath + "\\" + name;
    for (SubProject* child : children)
        child->writeTree(out, childParentPath, handedDown);
    writeLine(out, "EndSubProjectMarker");
}
