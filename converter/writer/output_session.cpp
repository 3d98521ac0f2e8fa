// What the writer remembers during one write, and the two passes it makes over the tree.
#include "output_session.h"

#include <algorithm>

#include "../errors.h"
#include "../text_util.h"

void OutputSession::begin(Pass pass, const std::string& destinationFolder)
{
    currentPass = pass;
    destination = std::string(withoutTrailingSeparators(destinationFolder));
    known.clear();
    missingFolder.clear();
    bytes = 0;
    messageDefaultMade = false;
    compilerDefaultMade = false;
}

void OutputSession::noteInput(const platform::FileIdentity& identity)
{
    if (identity != platform::FileIdentity {})
        inputs.push_back(identity);
}

bool OutputSession::isDestination(const std::string& path) const
{
    // A node with an empty name has the destination (or its parent's folder) as its folder;
    // the destination itself may be a link, as users point it where they like.
    return withoutTrailingSeparators(path) == destination;
}

platform::Entry OutputSession::checkOutputPath(const std::string& path)
{
    // The tree is walked parents first, so a path below the last folder found missing is
    // missing too (names with ".." parts were refused before). A million folders then cost a
    // million look-ups less.
    const bool belowMissing = !missingFolder.empty() && path.size() > missingFolder.size()
                              && path.starts_with(missingFolder) && isSeparator(path[missingFolder.size()]);
    if (belowMissing)
        return platform::nameFits(path) ? platform::Entry::Missing : platform::Entry::Other;
    platform::FileIdentity identity;
    const platform::Entry entry = platform::entryAt(path, &identity);
    if (entry == platform::Entry::Missing)
        missingFolder = withoutTrailingSeparators(path);
    if (entry == platform::Entry::Link)
        throw IOERROR(IOERROR::OutputIsLink, path);
    if (entry == platform::Entry::File && std::find(inputs.begin(), inputs.end(), identity) != inputs.end())
        throw IOERROR(IOERROR::OverwritesInput, path);
    return entry;
}

bool OutputSession::exists(const std::string& path)
{
    if (known.contains(path))
        return true;
    if (!platform::exists(path))
        return false;
    known.insert(path);
    return true;
}

void OutputSession::ensureDirectory(const std::string& folder)
{
    // Folders are not remembered: every node has folders of its own, and hashing a million
    // paths cost more than asking again for the few that are asked for twice.
    if (isDestination(folder))
        return;
    if (currentPass == Pass::Check) {
        const platform::Entry entry = checkOutputPath(folder);
        if (entry != platform::Entry::Folder && entry != platform::Entry::Missing)
            throw IOERROR(IOERROR::CannotCreateDirectory, folder);
    } else if (!platform::makeFolder(folder)) {
        // Something came between the passes: still never write through a link.
        checkOutputPath(folder);
        throw IOERROR(IOERROR::CannotCreateDirectory, folder);
    }
}

void OutputSession::writeFile(const std::string& path, std::string_view content)
{
    if (currentPass == Pass::Check) {
        const platform::Entry entry = checkOutputPath(path);
        if (entry != platform::Entry::File && entry != platform::Entry::Missing)
            throw IOERROR(IOERROR::CannotWriteFile, path);
        bytes += content.size();
    } else {
        platform::ReplacementFile file;
        if (!file.open(path) || !file.write(content) || !file.commit())
            throw IOERROR(IOERROR::CannotWriteFile, path);
    }
    known.insert(path);
}

void OutputSession::openProjectFile(const std::string& path)
{
    projectPath = path;
    if (currentPass == Pass::Check) {
        const platform::Entry entry = checkOutputPath(path);
        if (entry != platform::Entry::File && entry != platform::Entry::Missing)
            throw IOERROR(IOERROR::CannotWriteFile, path);
    } else if (!projectFile.open(path)) {
        throw IOERROR(IOERROR::CannotWriteFile, path);
    }
}

void OutputSession::projectLine(std::string_view text)
{
    if (currentPass == Pass::Check) {
        bytes += text.size() + 2;
        return;
    }
    // Every output file is read by Windows tools: lines end in CR LF. A failed write is
    // remembered by the file and reported when it is closed.
    projectFile.write(text);
    projectFile.write("\r\n");
}

void OutputSession::listedFileLine(std::string_view file)
{
    if (currentPass == Pass::Write) {
        projectFile.write(file);
        projectFile.write("\r\n");
    }
}

void OutputSession::closeProjectFile()
{
    if (currentPass == Pass::Write && !projectFile.commit())
        throw IOERROR(IOERROR::CannotWriteFile, projectPath);
}

void OutputSession::abandonProjectFile()
{
    projectFile.discard();
}

void OutputSession::loadBaseAnalyserPersonality(const std::string& path)
{
    baseGiven = !path.empty();
    baseReadable = false;
    baseText.clear();
    if (!baseGiven)
        return;
    std::string raw;
    platform::FileIdentity identity;
    if (!platform::readWholeFile(path, raw, &identity))
        return;
    noteInput(identity);
    baseReadable = true;
    // As a text-mode copy on Windows: CR LF is read as LF, and every LF is written as CR LF;
    // a CR on its own stays.
    baseText.reserve(raw.size() + raw.size() / 16);
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n')
            continue;
        if (raw[i] == '\n')
            baseText += '\r';
        baseText += raw[i];
    }
}
