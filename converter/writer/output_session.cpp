// The check pass of one write, and the carrying out of its plan.
#include "output_session.h"

#include <algorithm>

#include "../budget.h"
#include "../errors.h"
#include "../node_settings.h"
#include "../text_util.h"

OutputCheck::OutputCheck(const std::string& destination, const std::vector<platform::FileIdentity>& inputs)
    : destination(withoutTrailingSeparators(destination)), inputs(inputs)
{
}

bool OutputCheck::isDestination(std::string_view path) const
{
    // A node with an empty name has the destination (or its parent's folder) as its folder.
    return withoutTrailingSeparators(path) == destination;
}

platform::Entry OutputCheck::at(const std::string& path)
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

OutputSession::OutputSession(const std::string& destination, const std::vector<platform::FileIdentity>& inputs,
                             Budget& budget)
    : check(destination, inputs), budget(budget)
{
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
    if (check.isDestination(folder))
        return;
    const platform::Entry entry = check.at(folder);
    if (entry != platform::Entry::Folder && entry != platform::Entry::Missing)
        throw IOERROR(IOERROR::CannotCreateDirectory, folder);
    budget.countFolder(folder.size());
    plan.folder(folder);
}

void OutputSession::writeFile(const std::string& path, std::string content, std::string_view tail)
{
    const platform::Entry entry = check.at(path);
    if ((entry != platform::Entry::File && entry != platform::Entry::Missing) || !platform::temporaryFits(path))
        throw IOERROR(IOERROR::CannotWriteFile, path);
    budget.countOutput(content.size() + tail.size());
    known.insert(path);
    plan.file(path, std::move(content), tail);
}

void OutputSession::writePersonality(const std::string& path, const NodeSettings& settings, std::string_view tail)
{
    const platform::Entry entry = check.at(path);
    if ((entry != platform::Entry::File && entry != platform::Entry::Missing) || !platform::temporaryFits(path))
        throw IOERROR(IOERROR::CannotWriteFile, path);
    budget.countOutput(settings.personalityBytes() + tail.size());
    known.insert(path);
    plan.personality(path, settings, tail);
}

void OutputSession::openProjectFile(const std::string& path)
{
    const platform::Entry entry = check.at(path);
    if ((entry != platform::Entry::File && entry != platform::Entry::Missing) || !platform::temporaryFits(path))
        throw IOERROR(IOERROR::CannotWriteFile, path);
    plan.projectPath = path;
}

void OutputSession::projectLine(std::string_view text)
{
    // Every output file is read by Windows tools: lines end in CR LF.
    budget.countOutput(text.size() + 2);
    plan.projectText.append(text);
    plan.projectText.append("\r\n");
}

void OutputSession::listedFileLines(const SubProject& node)
{
    plan.projectText.appendListedFiles(node);
}
