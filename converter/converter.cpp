// The run object: settings, the reading of every Keil file and the reporting of errors.
#include "converter.h"

#include <exception>
#include <new>

#include "console.h"
#include "errors.h"
#include "platform.h"
#include "reader/xml_document.h"
#include "reader/xml_project_reader.h"
#include "reader/xml_workspace.h"
#include "text_util.h"
#include "writer/name_check.h"

namespace {

// The root is named after the source file less its last four characters (".uv2", ".mpw").
std::string rootName(const std::string& sourcePath)
{
    const std::size_t slash = sourcePath.rfind('\\');
    std::string fileName = slash == std::string::npos ? sourcePath : sourcePath.substr(slash + 1);
    if (fileName.size() >= 4)
        fileName.erase(fileName.size() - 4);
    return fileName;
}

// A workspace line names a member after its first "="; real files quote the path and put
// flags behind it (Project="..\x\x.Uv2",A), which are not part of the path.
std::string workspaceMemberPath(const std::string& line)
{
    const std::size_t equals = line.find('=');
    std::string value = trimChar(equals == std::string::npos ? line : line.substr(equals + 1), ' ');
    if (!value.empty() && value[0] == '"') {
        const std::size_t close = value.find('"', 1);
        return value.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    }
    return trimChar(value, '"');
}

}  // namespace

Converter::Converter(std::string sourcePath, std::string destinationFolder)
    : root(nullptr), sourcePath(std::move(sourcePath)), destinationFolder(std::move(destinationFolder))
{
    root = new SubProject(rootName(this->sourcePath), this);
}

Converter::~Converter()
{
    delete root;
}

void Converter::addExtensions(const std::string& value)
{
    std::size_t start = 0;
    for (std::size_t comma = value.find(','); comma != std::string::npos; comma = value.find(',', start)) {
        extensions.push_back(value.substr(start, comma - start));
        start = comma + 1;
    }
    extensions.push_back(value.substr(start));
}

int Converter::run()
{
    try {
        readAllProjects();
        refuseNamesLeavingTheDestination(*root);
        return writeProject();
    } catch (const AsciiReaderError& error) {
        if (error.code == AsciiReaderError::UnexpectedEof)
            printLine(message::unexpectedEof);
        else if (error.code == AsciiReaderError::CannotOpen)
            printLine(message::couldNotOpen, error.path);
        else if (error.code == AsciiReaderError::Malformed)
            printLine(message::malformedXml, error.path);
    } catch (const IOERROR& error) {
        if (error.code == IOERROR::CannotCreateDirectory)
            printLine(message::couldNotCreateDirectory, error.path);
        else if (error.code == IOERROR::CannotWriteFile)
            printLine(message::couldNotWrite, error.path);
        else if (error.code == IOERROR::NameLeavesDestination)
            printLine(message::nameLeavesDestination, error.path);
    } catch (const std::bad_alloc&) {
        printLine(message::runFailed, "out of memory");
    } catch (const std::exception& error) {
        printLine(message::runFailed, error.what());
    }
    return 1;
}

void Converter::readAllProjects()
{
    loadCompilerIncludePaths();
    for (const std::string& entry : listKeilProjects()) {
        std::string file = entry;
        convertSeparators(file);
        SubProject* node = root;
        if (entry != sourcePath) {
            // The member's name starts after the last backslash as listed, so a member
            // written sub/m.uv2 is named sub\m and its folder nests below sub.
            const std::size_t slash = entry.rfind('\\');
            const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
            const std::size_t dot = file.find('.', start);
            node = root->addChild(file.substr(start, dot == std::string::npos ? std::string::npos : dot - start));
        }
        node->path = file.substr(0, file.rfind('\\') + 1);
        readKeilProject(node, file);
    }
}

std::list<std::string> Converter::listKeilProjects()
{
    // An XML workspace is known by its content: ".uvmpw" does not contain ".mpw".
    const KeilXmlDocument document = KeilXmlDocument::fromFile(sourcePath);
    if (document.kind() == KeilXmlDocument::Workspace)
        return xmlWorkspaceMembers(document.root(), sourcePath.substr(0, sourcePath.rfind('\\')));

    if (!contains(sourcePath, ".mpw"))
        return {sourcePath};

    std::ifstream workspace;
    if (!platform::openInput(sourcePath, workspace))
        throw AsciiReaderError(AsciiReaderError::CannotOpen, sourcePath);

    const std::string folder = sourcePath.substr(0, sourcePath.rfind('\\'));
    std::list<std::string> projects;
    std::string line;
    while (readTextLine(workspace, line)) {
        const std::string trimmed = trimChar(line, ' ');
        if (!trimmed.empty() && trimmed[0] == 'P' && contains(trimmed, "Project"))
            projects.push_back(folder + "\\" + workspaceMemberPath(trimmed));
    }
    return projects;
}

void Converter::readKeilProject(SubProject* node, const std::string& file)
{
    reader.projectNode = node;
    reader.converter = this;
    reader.setExtensions(extensions);

    // The format is known by the content; anything that is not an XML project, an empty
    // file included, goes to the text reader.
    const KeilXmlDocument document = KeilXmlDocument::fromFile(file);
    if (document.kind() == KeilXmlDocument::Project) {
        XmlProjectReader xmlReader(*node, compilerIncludePaths,
                                   [this](const std::string& path) { return reader.acceptsFile(path); },
                                   sourcePaths);
        xmlReader.read(document.root());
        return;
    }

    reader.open(file);
    reader.parse();
}

void Converter::loadCompilerIncludePaths()
{
    std::ifstream personality;
    if (!platform::openInput(compilerPersonality, personality)) {
        printLine(message::couldNotOpen, compilerPersonality);
        return;
    }
    std::string line;
    std::string folder;
    while (readTextLine(personality, line))
        if (extractIncludePath(line, folder))
            compilerIncludePaths.push_back(folder);
}

bool Converter::extractIncludePath(const std::string& line, std::string& out) const
{
    // The option may stand anywhere in the line, yet its first two (or three) characters
    // are dropped wherever it stands: personality files put it first.
    std::size_t skip = 0;
    if (contains(line, "-i") || contains(line, "-I"))
        skip = 2;
    else if (contains(line, "-si") || contains(line, "-SI"))
        skip = 3;
    else
        return false;
    out = trimChar(trimChar(line.size() > skip ? line.substr(skip) : std::string(), ' '), '"');
    return true;
}
