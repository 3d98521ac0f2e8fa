// What one write does, decided and checked before anything is written, and its carrying out.
#pragma once

#include <string>
#include <vector>

#include "../platform.h"

// The steps of a write in order: the folders to make, the files with their bytes and the
// progress lines, then the project file, whose temporary file is made first. The check pass
// (OutputSession) makes the plan; the write pass only carries it out.
class WritePlan {
public:
    void line(std::string text) { steps.push_back({Step::Line, std::move(text), {}}); }
    void folder(std::string path) { steps.push_back({Step::Folder, std::move(path), {}}); }
    void file(std::string path, std::string bytes) { steps.push_back({Step::File, std::move(path), std::move(bytes)}); }

    // The project file: its path, and its text, which grows line by line.
    std::string projectPath;
    std::string projectText;

    // Makes the folders, writes the files (each under a temporary name first, then moved into
    // place) and prints the lines, in order; the project file is opened first and moved into
    // place last. Throws IOERROR at the first step that fails; no temporary file stays. inputs
    // are the files the run read: a folder refused because one took its place is named so.
    void carryOut(const std::vector<platform::FileIdentity>& inputs) const;

private:
    struct Step {
        enum Kind { Line, Folder, File } kind;
        std::string text;   // the line, or the path
        std::string bytes;  // a file's content
    };

    std::vector<Step> steps;
};
