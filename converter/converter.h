// The run object of the converter: the settings of one conversion, the tree and the reader.
#pragma once

#include <list>
#include <string>

#include "reader/uv_project_reader.h"
#include "source_path_pool.h"
#include "sub_project.h"
#include "writer/output_session.h"

// One per process: main fills it from the command line, run reads and writes.
class Converter {
public:
    Converter(std::string sourcePath, std::string destinationFolder);
    ~Converter();
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    std::string getDestinationFolder() const { return destinationFolder; }
    std::string getProjectName() const { return projectName; }
    std::string getMessagePersonality() const { return messagePersonality; }
    std::string getAnalyserPersonality() const { return analyserPersonality; }
    std::string getCompilerPersonality() const { return compilerPersonality; }

    // Splits one "-ext" value at every "," and appends the pieces, empty ones included.
    void addExtensions(const std::string& value);

    // Reads every Keil file, then writes the output; 0 on success, 1 after a reported error.
    int run();

    void loadCompilerIncludePaths();
    bool extractIncludePath(const std::string& line, std::string& out) const;

    // The Keil project files of the run, in reading order: the source itself, or the
    // members a workspace lists (an XML ProjectWorkspace, or a source path with ".mpw").
    std::list<std::string> listKeilProjects();

    // Reads one Keil project file into node, with the XML or the text reader by content.
    void readKeilProject(SubProject* node, const std::string& file);

    int writeProject();

    OutputSession& session() { return outputSession; }

    SubProject* root;
    std::string sourcePath;
    std::string destinationFolder;
    std::string projectName;
    std::string messagePersonality;
    std::string analyserPersonality;
    std::string compilerPersonality;
    std::list<std::string> extensions;
    std::list<std::string> compilerIncludePaths;
    UvProjectReader reader;
    SourcePathPool sourcePaths;  // outlives the tree: ~Converter deletes root first

private:
    void readAllProjects();

    OutputSession outputSession;
};
