// The run object of the converter: the settings of one conversion, the tree and its inputs.
#pragma once

#include <list>
#include <memory>
#include <string>
#include <vector>

#include "budget.h"
#include "compiler_folders.h"
#include "errors.h"
#include "platform.h"
#include "reader/pack_index.h"
#include "reader/reading_context.h"
#include "run_settings.h"
#include "sub_project.h"

class KeilFile;

// One per process: main fills it from the command line, run reads and writes.
class Converter {
public:
    Converter(std::string sourcePath, std::string destinationFolder);
    explicit Converter(const RunSettings& settings);
    ~Converter();
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Reads every Keil file, then writes the output; 0 on success, 1 after a reported error.
    int run();

    void loadCompilerIncludePaths();
    bool extractIncludePath(const std::string& line, std::string& out) const;

    // The Keil project files of the run, in reading order: the source itself, or the members
    // the workspace lists.
    std::list<std::string> listKeilProjects(const KeilFile& source) const;

    // What reading needs from the run.
    ReadingContext readingContext() { return {extensions, compilerIncludePaths, budget, packs.get()}; }

    // The pack root: the -pack option, else CMSIS_PACK_ROOT when not empty, else the host's
    // default (Windows keeps packs in %LOCALAPPDATA%\Arm\Packs); empty when there is none.
    std::string effectivePackRoot() const;

    int writeProject();

    // Leaves the tree to the end of the process: freeing a million nodes one
    // by one costs more than the rest of the exit. They stay reachable, so leak checkers do
    // not count them as lost.
    void leaveTreeToProcessExit();

    SubProject* root;
    std::string sourcePath;
    std::string destinationFolder;
    std::string projectName;
    std::string messagePersonality;
    std::string analyserPersonality;
    std::string compilerPersonality;
    std::string packRoot;                     // the -pack option, made absolute; empty when not given
    std::list<std::string> extensions;
    CompilerFolders compilerIncludePaths;
    Budget budget;  // the run's limits; tests lower them

private:
    // What the run keeps in memory that an XML document must fit beside.
    std::size_t keptBesideDocuments() const;
    void readAllProjects();
    void checkProjectName() const;
    // A file the run reads: no output may replace it.
    void noteInput(const platform::FileIdentity& identity);

    std::vector<platform::FileIdentity> inputs;
    std::unique_ptr<PackIndex> packs;
};
