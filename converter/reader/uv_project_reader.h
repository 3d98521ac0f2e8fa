// Reader of Keil Uv project files in the old text format (.Uv2): targets, groups, files
// and each target's defines and include folders.
#pragma once

#include <fstream>
#include <istream>
#include <list>
#include <string>
#include <unordered_map>

class Converter;
class SubProject;

// Upper-cases the ASCII letters a to z; every other byte stays.
std::string toUpper(const std::string& text);

// A line scanner: each line is classified by a few fixed substrings and values are cut out
// between fixed delimiters; lines it does not know are skipped.
class UvProjectReader {
public:
    void setExtensions(std::list<std::string> list) { extensions = std::move(list); }

    // Opens the file for reading; throws AsciiReaderError 2 when it cannot be opened.
    void open(const std::string& path);

    // Reads the opened file into projectNode, then closes it so the next open starts clean.
    bool parse();

    // Reads a whole project from a stream; the entry for tests and for other containers.
    bool parse(std::istream& in);

    bool acceptsFile(const std::string& path) const;

    SubProject* projectNode = nullptr;
    Converter* converter = nullptr;
    std::string filePath;
    std::ifstream input;
    std::list<std::string> extensions;

private:
    void readTarget(const std::string& line);
    void readGroup(const std::string& line);
    void readFile(const std::string& line);
    void readOptions(const std::string& line);
    void readDefines(const char* keyword, const std::string& line, SubProject& target);
    void readIncludePaths(const char* keyword, const std::string& line, SubProject& target);

    std::istream* current = nullptr;  // the stream parse is reading; option blocks read on from it
    // The last target of each name under projectNode: an option block finds its target without
    // a pass over every target, which made a project with many targets quadratic.
    std::unordered_map<std::string, SubProject*> targetsByName;
};
