// The one entry for reading a Keil file.
#include "keil_file.h"

#include <algorithm>
#include <memory>

#include "../errors.h"
#include "../streamed_lines.h"
#include "../text_util.h"
#include "uv_project_reader.h"
#include "xml_project_reader.h"
#include "xml_workspace.h"

namespace {

// A workspace by its name: the file name, after the last "\", ends in ".mpw". A project in a
// folder such as old.mpw.bak\ stays a project.
bool namedLikeWorkspace(const std::string& path)
{
    const std::size_t separator = path.rfind('\\');
    const std::string_view name = std::string_view(path).substr(separator == std::string::npos ? 0 : separator + 1);
    return name.size() >= 4 && equalIgnoringAsciiCase(name.substr(name.size() - 4), ".mpw");
}

// A workspace by its content: its first line that is not blank reads [WORKSPACE].
bool startsLikeWorkspace(std::string_view text)
{
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    TextLines lines(text);
    std::string_view line;
    while (lines.next(line)) {
        const std::size_t begin = line.find_first_not_of(" \t\r");
        if (begin == std::string_view::npos)
            continue;
        const std::size_t end = line.find_last_not_of(" \t\r");
        return equalIgnoringAsciiCase(line.substr(begin, end - begin + 1), "[WORKSPACE]");
    }
    return false;
}

// A text workspace line names a member after its first "="; real files quote the path and
// put flags behind it (Project="..\x\x.Uv2",A), which are not part of the path.
std::string workspaceMemberPath(const std::string& line)
{
    const std::size_t equals = line.find('=');
    std::string value = trimChar(equals == std::string::npos ? line : line.substr(equals + 1), ' ');
    if (!value.empty() && value[0] == '"') {
        const std::size_t close = value.find('"', 1);
        return value.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    }
    return trimChar(value, '"');
}

// True when text holds the whole of its first line that is not blank, which tells a text
// workspace from a text project.
bool firstLineComplete(std::string_view text)
{
    const std::size_t begin = text.find_first_not_of(" \t\r\n");
    return begin != std::string_view::npos && text.find('\n', begin) != std::string_view::npos;
}

// text, unless it holds an overlong line, or an overlong stretch between the "<" of XML.
std::string checkedText(std::string text, const std::string& path)
{
    if (holdsStretchLongerThan(text, startsLikeXml(text) ? '<' : '\n', maximumLineBytes))
        throw FileTooLarge(path);
    return text;
}

}  // namespace

KeilFile KeilFile::load(const std::string& path, std::size_t keptBeside)
{
    // A text project of 250 MB is parsed a block at a time, never held whole; XML is parsed
    // in its own text, and a workspace is small.
    auto input = std::make_unique<platform::InputFile>();
    platform::FileIdentity identity;
    if (!input->open(path, &identity))
        throw AsciiReaderError(AsciiReaderError::CannotOpen, path);
    // The first block is read into room that is not cleared first: a workspace reads many small
    // members.
    const auto first = std::make_unique_for_overwrite<char[]>(lineBlockSize);
    std::size_t filled = 0;
    platform::InputFile::Read read = platform::InputFile::Read::More;
    while (filled < lineBlockSize && read == platform::InputFile::Read::More) {
        std::size_t got = 0;
        read = input->readMore(first.get() + filled, lineBlockSize - filled, got);
        filled += got;
    }
    std::string content(first.get(), filled);
    if (read == platform::InputFile::Read::Failed)
        throw AsciiReaderError(AsciiReaderError::CannotOpen, path);
    if (read == platform::InputFile::Read::End)
        input.reset();
    else if (startsLikeXml(content) || namedLikeWorkspace(path) || !firstLineComplete(content)
             || startsLikeWorkspace(content)) {
        // An XML document too large to fit beside what the run keeps is not read on.
        if (startsLikeXml(content) && input->sizeWhenOpened() > maximumXmlBytes - std::min(keptBeside, maximumXmlBytes))
            throw FileTooLarge(path);
        if (!input->readRest(content))
            throw AsciiReaderError(AsciiReaderError::CannotOpen, path);
        input.reset();
    }
    return KeilFile(path, std::move(content), identity, std::move(input), keptBeside);
}

KeilFile::KeilFile(std::string path, std::string text) : KeilFile(std::move(path), std::move(text), {}, nullptr, 0) {}

KeilFile::KeilFile(std::string path, std::string text, const platform::FileIdentity& identity,
                   std::unique_ptr<platform::InputFile> rest, std::size_t keptBeside)
    : filePath(std::move(path)),
      content(checkedText(std::move(text), filePath)),
      xml(content, filePath, keptBeside),
      fileIdentity(identity),
      rest(std::move(rest))
{
    switch (xml.kind()) {
    case KeilXmlDocument::Project: fileKind = XmlProject; break;
    case KeilXmlDocument::Workspace: fileKind = XmlWorkspace; break;
    case KeilXmlDocument::OtherXml: fileKind = OtherXml; break;
    case KeilXmlDocument::NotXml:
        fileKind = namedLikeWorkspace(filePath) || startsLikeWorkspace(content) ? TextWorkspace : TextProject;
        return;
    }
}

void KeilFile::forEachMember(const std::function<void(const std::string&)>& each) const
{
    const std::string folder = filePath.substr(0, filePath.rfind('\\'));
    if (fileKind == XmlWorkspace) {
        forEachXmlWorkspaceMember(xml.root(), folder, each);
        return;
    }
    TextLines lines(content);
    std::string_view line;
    while (lines.next(line)) {
        const std::string trimmed = trimChar(std::string(line), ' ');
        if (!trimmed.empty() && trimmed[0] == 'P' && contains(trimmed, "Project"))
            each(folder + "\\" + workspaceMemberPath(trimmed));
    }
}

std::list<std::string> KeilFile::members() const
{
    std::list<std::string> projects;
    forEachMember([&](const std::string& member) { projects.push_back(member); });
    return projects;
}

void KeilFile::readProject(SubProject& node, const ReadingContext& context)
{
    if (fileKind == XmlProject) {
        XmlProjectReader(node, context).read(xml.root());
        return;
    }
    if (fileKind == XmlWorkspace || fileKind == OtherXml)
        throw AsciiReaderError(AsciiReaderError::NotKeilProject, filePath);
    UvProjectReader reader(context);
    reader.projectNode = &node;
    bool isProject = false;
    if (rest) {
        StreamedLines lines(content, *rest);
        std::string().swap(content);
        isProject = reader.parse(lines);
        rest.reset();
    } else {
        TextLines lines(content);
        isProject = reader.parse(lines);
    }
    if (!isProject)
        throw AsciiReaderError(AsciiReaderError::NotKeilProject, filePath);
}
