// What one write does, decided and checked before anything is written, and its carrying out.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "../platform.h"

class NodeSettings;
class SubProject;

// A long text made of pieces: text of its own, copied into blocks of 64 KiB that never move, and
// a node's source files, which the tree and the readers keep and which are not copied. A project
// file of a million lines then costs little more memory than its own lines.
class TextPieces {
public:
    // Appends a copy of text.
    void append(std::string_view text);

    // Appends each file node lists and a line end after it; node must outlive the pieces.
    void appendListedFiles(const SubProject& node);

    // Writes the text to file.
    void writeTo(platform::ReplacementFile& file) const;

private:
    struct Piece {
        std::string_view text;
        const SubProject* files;  // or the files of this node
    };

    static constexpr std::size_t blockSize = 64 * 1024;
    std::deque<Piece> pieces;
    std::vector<std::unique_ptr<char[]>> blocks;
    std::size_t used = blockSize;  // of the last block
};

// The steps of a write in order: the folders to make, the files with their bytes and the
// progress lines, then the project file, whose temporary file is made first. The check pass
// (OutputSession) makes the plan; the write pass only carries it out.
class WritePlan {
public:
    void line(std::string text) { steps.push_back({Step::Line, std::move(text), {}, {}, nullptr}); }
    void folder(std::string path) { steps.push_back({Step::Folder, std::move(path), {}, {}, nullptr}); }
    // A file of bytes and then tail, which must outlive the plan (the base personality's text).
    void file(std::string path, std::string bytes, std::string_view tail = {})
    {
        steps.push_back({Step::File, std::move(path), std::move(bytes), tail, nullptr});
    }
    // A file of the personality lines of settings and then tail; both must outlive the plan.
    void personality(std::string path, const NodeSettings& settings, std::string_view tail)
    {
        steps.push_back({Step::File, std::move(path), {}, tail, &settings});
    }

    // The project file: its path, and its text, which grows line by line.
    std::string projectPath;
    TextPieces projectText;

    // Throws IOERROR when the plan itself would make one path twice, other than a folder: a
    // folder where it writes a file (CannotCreateDirectory and the folder), or two files
    // (CannotWriteFile and the second), paths compared as Windows compares them. The disk
    // cannot show this, as nothing of the plan stands there yet.
    void refuseOwnCollisions() const;

    // Makes the folders and writes every file under a temporary name, printing the lines, in
    // order (the project file's temporary file is made first); then moves the files into place,
    // the project file last. Throws IOERROR at the first step that fails, or Interrupted when
    // the run was interrupted before the moves: no temporary file stays, and before the moves
    // no earlier file has changed. inputs are the files the run read: a folder refused because
    // one took its place is named so.
    void carryOut(const std::vector<platform::FileIdentity>& inputs) const;

private:
    struct Step {
        enum Kind { Line, Folder, File } kind;
        std::string text;       // the line, or the path
        std::string bytes;               // a file's content
        std::string_view tail;           // and the rest of it
        const NodeSettings* settings;    // or its personality lines, then tail
    };

    std::deque<Step> steps;
};
