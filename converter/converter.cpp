// The run object: settings, and the order of a run: read everything, check the names, write.
#include "converter.h"

#include "command_line.h"
#include "console.h"
#include "errors.h"
#include "reader/keil_file.h"
#include "streamed_lines.h"
#include "text_util.h"
#include "writer/name_check.h"
#include "writer/project_writer.h"

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

}  // namespace

Converter::Converter(std::string sourcePath, std::string destinationFolder)
    : root(nullptr), sourcePath(std::move(sourcePath)), destinationFolder(std::move(destinationFolder))
{
    root = new SubProject(rootName(this->sourcePath), this);
    root->folderPathBytes = this->destinationFolder.size() + 1 + root->name.size();
}

Converter::~Converter()
{
    delete root;
}

Converter::Converter(const RunSettings& settings) : Converter(settings.sourcePath, settings.destinationFolder)
{
    projectName = settings.projectName;
    messagePersonality = settings.messagePersonality;
    analyserPersonality = settings.analyserPersonality;
    compilerPersonality = settings.compilerPersonality;
    packRoot = settings.packRoot;
    extensions = settings.extensions;
}

int runConversion(const RunSettings& settings, TreeAtEnd treeAtEnd)
{
    auto converter = std::make_unique<Converter>(settings);
    const int status = converter->run();
    if (treeAtEnd == TreeAtEnd::LeftToProcessExit)
        converter->leaveTreeToProcessExit();
    return status;
}

int Converter::run()
{
    try {
        checkProjectName();
        readAllProjects();
        // Only reading needs them: the write has their room.
        compilerIncludePaths.clear();
        packs.reset();
        refuseNamesLeavingTheDestination(*root);
        makeNamesWindowsSafe(*root);
        makeFolderKeysUnique(*root);
        return writeProject();
    } catch (...) {
        return reportFailure();
    }
}

void Converter::checkProjectName() const
{
    // The name becomes a file in the destination folder, never one elsewhere.
    if (climbsUp(projectName) || projectName.find_first_of("\\/") != std::string::npos)
        throw IOERROR(IOERROR::ProjectNameNotPlain, projectName);
}

std::string Converter::effectivePackRoot() const
{
    if (!packRoot.empty())
        return packRoot;
    if (const std::string fromEnvironment = platform::environmentVariable("CMSIS_PACK_ROOT"); !fromEnvironment.empty())
        return makeAbsolutePath(fromEnvironment);
    return platform::defaultPackRoot();
}

void Converter::readAllProjects()
{
    loadCompilerIncludePaths();
    packs = std::make_unique<PackIndex>(effectivePackRoot());
    KeilFile source = KeilFile::load(sourcePath, keptBesideDocuments());
    noteInput(source.identity());
    const ReadingContext context = readingContext();
    if (!source.isWorkspace()) {
        root->path = sourcePath.substr(0, sourcePath.rfind('\\') + 1);
        source.readProject(*root, context);
        return;
    }
    source.forEachMember([&](const std::string& entry) {
        std::string file = entry;
        convertSeparators(file);
        // The member's name starts after the last backslash as listed, so a member written
        // sub/m.uv2 is named sub\m and its folder nests below sub.
        const std::size_t slash = entry.rfind('\\');
        const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
        const std::size_t dot = file.find('.', start);
        SubProject* node = context.addChild(*root, file.substr(start, dot == std::string::npos ? std::string::npos : dot - start));
        node->path = file.substr(0, file.rfind('\\') + 1);
        KeilFile member = KeilFile::load(file, keptBesideDocuments());
        noteInput(member.identity());
        member.readProject(*node, context);
    });
}

std::size_t Converter::keptBesideDocuments() const
{
    // What the earlier members keep is about what reading counted of the output they make.
    return compilerIncludePaths.heldBytes() + static_cast<std::size_t>(budget.countedByReading());
}

void Converter::noteInput(const platform::FileIdentity& identity)
{
    if (identity != platform::FileIdentity {})
        inputs.push_back(identity);
}

int Converter::writeProject()
{
    writeOutput(*root, {destinationFolder, projectName, messagePersonality, analyserPersonality, compilerPersonality},
                inputs, budget);
    printLine(message::projectCompleted);
    return 0;
}

void Converter::leaveTreeToProcessExit()
{
    static auto* kept = new std::vector<SubProject*>;
    kept->push_back(root);
    root = nullptr;
}

std::list<std::string> Converter::listKeilProjects(const KeilFile& source) const
{
    if (source.isWorkspace())
        return source.members();
    return {source.path()};
}

void Converter::loadCompilerIncludePaths()
{
    // Read a block at a time: a personality of millions of lines is never held twice.
    platform::InputFile file;
    platform::FileIdentity identity;
    CompilerFolders folders;
    try {
        if (!file.open(compilerPersonality, &identity))
            throw AsciiReaderError(AsciiReaderError::CannotOpen, compilerPersonality);
        folders.reserve(file.sizeWhenOpened());
        StreamedLines lines({}, file);
        std::string_view line;
        std::string folder;
        while (lines.next(line)) {
            if (extractIncludePath(std::string(line), folder)) {
                // Compared with folders that the readers wrote in Windows form.
                convertSeparators(folder);
                folders.add(folder);
            }
        }
    } catch (const AsciiReaderError&) {
        printLine(message::couldNotOpen, compilerPersonality);
        return;
    }
    noteInput(identity);
    folders.settle();
    compilerIncludePaths = std::move(folders);
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
