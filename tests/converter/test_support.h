// Shared helpers of the converter tests: captured standard output, temporary folders, files.
#pragma once

#include <filesystem>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "compiler_folders.h"
#include "budget.h"
#include "reader/reading_context.h"
#include "sub_project.h"

// A tree and what reading needs, without a run: the root stands for a project lying in
// C:\work\, as the run sets it for a single project there.
struct ReadingSetup {
    explicit ReadingSetup(std::string rootName = "demo", std::string folder = "C:\\work\\") : root(std::move(rootName), nullptr)
    {
        root.path = std::move(folder);
    }

    ReadingContext context() { return {extensions, compilerIncludePaths, budget}; }

    SubProject root;
    std::list<std::string> extensions;
    CompilerFolders compilerIncludePaths;
    Budget budget;
};

// Reads text as a Keil text project into node (the root when none is given), with the
// setup's extensions, compiler folders and path pool; returns whether it looked like a Keil
// project.
bool parseText(ReadingSetup& setup, std::string_view text, SubProject* node = nullptr);

// Captures std::cout for the lifetime of the object.
class CapturedOutput {
public:
    CapturedOutput() : previous(std::cout.rdbuf(buffer.rdbuf())) {}
    ~CapturedOutput() { std::cout.rdbuf(previous); }
    std::string text() const { return buffer.str(); }
    std::vector<std::string> lines() const;

private:
    std::ostringstream buffer;
    std::streambuf* previous;
};

// A fresh temporary folder that is the current folder while the object lives.
class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    const std::filesystem::path& path() const { return folder; }
    // The folder in the converter's Windows form ("\" separators).
    std::string windowsPath() const;

private:
    std::filesystem::path folder;
    std::filesystem::path previous;
};

// Sets an environment variable (unsets it for nullopt) while the object lives.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::optional<std::string>& value);
    ~ScopedVariable();
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    static void set(const char* name, const std::optional<std::string>& value);

    const char* name;
    std::optional<std::string> previous;
};

// An absolute path in the converter's Windows form ("\" separators).
std::string windowsForm(const std::filesystem::path& path);

std::string readFile(const std::filesystem::path& file);
void writeFile(const std::filesystem::path& file, const std::string& content);

// Runs the converter's whole program with these arguments (the program name is added).
int runConverter(const std::vector<std::string>& arguments);

// Every file and folder below root, relative, "/" separated, folders ending in "/", sorted.
std::vector<std::string> listTree(const std::filesystem::path& root);

std::string testData(const std::string& relative);
std::filesystem::path corpusFolder();
