// Carrying out the plan of one write.
#include "write_plan.h"

#include <algorithm>

#include "../console.h"
#include "../errors.h"
#include "../node_settings.h"
#include "../sub_project.h"
#include "output_session.h"
#include "../text_util.h"

#include <deque>
#include <unordered_set>

void WritePlan::refuseOwnCollisions() const
{
    // Only the files are remembered: a run makes far fewer of them than folders, and every
    // file's folders are in the plan before it.
    std::unordered_set<std::string> files {folderKey(projectPath)};
    for (const Step& step : steps)
        if (step.kind == Step::File)
            files.insert(folderKey(step.text));
    std::unordered_set<std::string> seen {folderKey(projectPath)};
    for (const Step& step : steps) {
        if (step.kind == Step::Folder && files.contains(folderKey(step.text)))
            throw IOERROR(IOERROR::CannotCreateDirectory, step.text);
        if (step.kind == Step::File && !seen.insert(folderKey(step.text)).second)
            throw IOERROR(IOERROR::CannotWriteFile, step.text);
    }
}

void TextPieces::append(std::string_view text)
{
    while (!text.empty()) {
        if (used == blockSize) {
            blocks.push_back(std::make_unique<char[]>(blockSize));
            used = 0;
        }
        const std::size_t size = std::min(blockSize - used, text.size());
        char* const at = blocks.back().get() + used;
        std::copy_n(text.data(), size, at);
        // Text copied right behind the last piece's makes that piece longer.
        Piece* last = pieces.empty() ? nullptr : &pieces.back();
        if (last != nullptr && last->files == nullptr && last->text.data() + last->text.size() == at)
            last->text = std::string_view(last->text.data(), last->text.size() + size);
        else
            pieces.push_back({std::string_view(at, size), nullptr});
        used += size;
        text.remove_prefix(size);
    }
}

void TextPieces::appendListedFiles(const SubProject& node)
{
    if (node.files)
        pieces.push_back({{}, &node});
}

void TextPieces::writeTo(platform::ReplacementFile& file) const
{
    for (const Piece& piece : pieces) {
        if (piece.files == nullptr)
            file.write(piece.text);
        else
            piece.files->forEachFile([&](std::string_view line) { file.writeLine(line); });
    }
}

void WritePlan::carryOut(const std::vector<platform::FileIdentity>& inputs) const
{
    // Every staged file removes its temporary file when the write stops before its move.
    std::deque<platform::ReplacementFile> staged;
    platform::ReplacementFile project;
    if (!project.open(projectPath))
        throw IOERROR(IOERROR::CannotWriteFile, projectPath);
    std::vector<const std::string*> paths;
    for (const Step& step : steps) {
        if (platform::interrupted())
            throw Interrupted();
        switch (step.kind) {
        case Step::Line: printLine(step.text); break;
        case Step::Folder:
            if (!platform::makeFolder(step.text)) {
                // Something came between the passes: still never write through a link.
                OutputCheck(std::string(), inputs).at(step.text);
                throw IOERROR(IOERROR::CannotCreateDirectory, step.text);
            }
            break;
        case Step::File: {
            platform::ReplacementFile& file = staged.emplace_back();
            bool written = file.open(step.text) && file.write(step.bytes);
            if (step.settings != nullptr)
                step.settings->forEachPersonalityPiece([&](std::string_view piece) { written = written && file.write(piece); });
            if (!written || !file.write(step.tail) || !file.finish())
                throw IOERROR(IOERROR::CannotWriteFile, step.text);
            paths.push_back(&step.text);
            break;
        }
        }
    }
    projectText.writeTo(project);
    // A failed write is remembered by the file and reported here.
    if (!project.finish())
        throw IOERROR(IOERROR::CannotWriteFile, projectPath);
    if (platform::interrupted())
        throw Interrupted();
    // The moves: renames in folders the run made or checked, quick and seldom failing.
    for (std::size_t i = 0; i < staged.size(); ++i)
        if (!staged[i].moveIntoPlace())
            throw IOERROR(IOERROR::CannotWriteFile, *paths[i]);
    if (!project.moveIntoPlace())
        throw IOERROR(IOERROR::CannotWriteFile, projectPath);
}
