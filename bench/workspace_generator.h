// Writes synthetic Keil inputs for the benchmark: workspaces of a chosen size for the conversion
// rows, and single large project files for the reading rows.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

// How large a generated workspace is. Every member project has the same shape.
struct WorkspaceShape {
    int members = 8;
    int targets = 5;           // per member; in every odd-numbered member the last one has no options
    int groups = 16;           // per member; every target gets every group
    int filesPerGroup = 50;    // source files per group; each one is listed under every target
    int defines = 40;          // per target with options
    int includeFolders = 16;   // per target with options
    int baseLines = 300;       // lines of the base analyser personality

    // The base case times scale: more members, each of the same size, so the output grows
    // in proportion.
    static WorkspaceShape scaled(int scale);
};

struct GeneratedWorkspace {
    std::filesystem::path workspaceFile;    // the .mpw to convert
    std::filesystem::path basePersonality;  // the base analyser personality ("-ap")
    std::uint64_t inputBytes = 0;           // everything written: workspace, members, personality
    std::uint64_t sourceFiles = 0;          // source file lines over all members
};

// Replaces folder with a fresh workspace of that shape. Throws std::runtime_error or
// std::filesystem::filesystem_error when it cannot write.
GeneratedWorkspace generateWorkspace(const std::filesystem::path& folder, const WorkspaceShape& shape);

// One member project file in the old text format.
std::string memberProjectText(const WorkspaceShape& shape, int member);

// The base analyser personality: option lines and comments, LF line ends.
std::string basePersonalityText(int lines);

// The inputs of the reading rows, text projects of a given size: blank lines and, last, the
// one line that makes the file a project (a target), or the lines of a real project (one
// target, a group per 200 KB, File lines in the forms real projects use, an option block for
// the target and one for each group), every part in proportion to the size.
enum class ReadingInput { BlankLines, ProjectLines };

// The text of such a project: at least bytes long; shorter than bytes plus one line where bytes
// exceeds its fixed lines (header, groups, option blocks).
std::string readingInputText(ReadingInput kind, std::uint64_t bytes);

// Writes that text to file and returns its size. Throws std::runtime_error when it cannot.
std::uint64_t writeReadingInput(const std::filesystem::path& file, ReadingInput kind, std::uint64_t bytes);
