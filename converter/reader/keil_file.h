// The one entry for reading a Keil file: read once, recognised once, parsed once.
#pragma once

#include <functional>
#include <list>
#include <memory>
#include <string>

#include "../platform.h"
#include "reading_context.h"
#include "xml_document.h"

class SubProject;

// A Keil file, its format recognised by its name and content:
// - an XML document (first non-blank bytes "<") by its root element: a project (.uvproj,
//   .uvprojx), a multi-project workspace (.uvmpw), or something else (.uvoptx, .uvguix);
// - otherwise text: a workspace when the file name ends in ".mpw" in any letter case or the
//   first line that is not blank is "[WORKSPACE]" in any letter case, else a project (.Uv2).
class KeilFile {
public:
    enum Kind { TextProject, TextWorkspace, XmlProject, XmlWorkspace, OtherXml };

    // Reads and recognises the file at path. Throws AsciiReaderError CannotOpen when it
    // cannot be read, Malformed when it starts like XML but does not parse. A text project is
    // read only as far as its first lines: its lines are read from the file as it is parsed.
    // keptBeside: what the run already keeps in memory, which an XML document must fit beside.
    static KeilFile load(const std::string& path, std::size_t keptBeside = 0);

    // The same for content already in memory (tests, fuzzing).
    KeilFile(std::string path, std::string content);

    // The parsed document lies in the file's own text, which therefore never moves.
    KeilFile(const KeilFile&) = delete;
    KeilFile& operator=(const KeilFile&) = delete;

    const std::string& path() const { return filePath; }
    Kind kind() const { return fileKind; }
    bool isWorkspace() const { return fileKind == TextWorkspace || fileKind == XmlWorkspace; }
    const platform::FileIdentity& identity() const { return fileIdentity; }

    // The project files a workspace lists, in file order, each as the workspace's folder +
    // "\" + the path as written (an XML member with a drive is taken as written).
    // Calls each with them one at a time, as they are found: a workspace of millions of
    // members stops at the node limit before it has listed them all.
    void forEachMember(const std::function<void(const std::string&)>& each) const;
    std::list<std::string> members() const;

    // Reads the file as a project into node: targets, groups, files and settings. A workspace
    // is read as a project too (a workspace member is always one); a text file that is no Keil
    // project, or an XML document that is no project, throws AsciiReaderError NotKeilProject.
    // Once only: a text project's lines are read from the file on.
    void readProject(SubProject& node, const ReadingContext& context);

private:
    KeilFile(std::string path, std::string content, const platform::FileIdentity& identity,
             std::unique_ptr<platform::InputFile> rest, std::size_t keptBeside);

    std::string filePath;
    std::string content;  // the text; an XML document's strings lie in it
    KeilXmlDocument xml;
    Kind fileKind = TextProject;
    platform::FileIdentity fileIdentity;
    std::unique_ptr<platform::InputFile> rest;  // a text project's lines after content, unread
};
