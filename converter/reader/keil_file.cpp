// The one entry for reading a Keil file.
#include "keil_file.h"

#include <algorithm>
#include <memory>

#include "../errors.h"
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

// Enough of a file to recognise it; a text project larger than this is read on a block at a
// time as its lines are parsed.
constexpr std::size_t lineBlockSize = 256 * 1024;

// True when text holds the whole of its first line that is not blank, which tells a text
// workspace from a text project.
bool firstLineComplete(std::string_view text)
{
    const std::size_t begin = text.find_first_not_of(" \t\r\n");
    return begin != std::string_view::npos && text.find('\n', begin) != std::string_view::npos;
}

// The lines of a file still being read: each block read on is appended to the part of a line
// that the last one left. The buffer grows only for a line longer than a block, and never past
// the input limit and a block.
class StreamedLines : public LineSource {
public:
    StreamedLines(std::string_view start, platform::InputFile& file) : file(file)
    {
        grow(start.size() + lineBlockSize);
        std::copy(start.begin(), start.end(), buffer.get());
        used = start.size();
    }

    bool next(std::string_view& line) override
    {
        for (;;) {
            const std::string_view held(buffer.get(), used);
            const std::size_t feed = held.find('\n', searched);
            if (feed != std::string_view::npos) {
                line = held.substr(position, feed - position);
                if (!line.empty() && line.back() == '\r')
                    line.remove_suffix(1);
                position = searched = feed + 1;
                return true;
            }
            if (ended) {
                if (position >= used)
                    return false;
                // A carriage return at the very end stands before no line feed, so it stays.
                line = held.substr(position);
                position = searched = used;
                return true;
            }
            readBlock();
        }
    }

private:
    // Moves the part of a line left to the front and reads a block behind it. A long line is
    // searched once, not again with every block it grows by.
    void readBlock()
    {
        std::copy(buffer.get() + position, buffer.get() + used, buffer.get());
        used -= position;
        searched = used;
        position = 0;
        if (capacity - used < lineBlockSize)
            grow(std::min<std::size_t>(std::max(capacity * 2, used + lineBlockSize), maximumInputBytes + lineBlockSize));
        std::size_t got = 0;
        const platform::InputFile::Read read = file.readMore(buffer.get() + used, lineBlockSize, got);
        if (read == platform::InputFile::Read::Failed)
            throw AsciiReaderError(AsciiReaderError::CannotOpen, file.path());
        used += got;
        ended = read == platform::InputFile::Read::End;
    }

    void grow(std::size_t size)
    {
        auto larger = std::make_unique_for_overwrite<char[]>(size);
        std::copy(buffer.get(), buffer.get() + used, larger.get());
        buffer = std::move(larger);
        capacity = size;
    }

    platform::InputFile& file;
    std::unique_ptr<char[]> buffer;
    std::size_t capacity = 0;
    std::size_t used = 0;
    std::size_t position = 0;  // where the next line starts
    std::size_t searched = 0;  // no line feed before this
    bool ended = false;
};

}  // namespace

KeilFile KeilFile::load(const std::string& path)
{
    // A text project of 250 MB is parsed a block at a time, never held whole; XML is parsed
    // in its own text, and a workspace is small.
    auto input = std::make_unique<platform::InputFile>();
    platform::FileIdentity identity;
    if (!input->open(path, &identity))
        throw AsciiReaderError(AsciiReaderError::CannotOpen, path);
    std::string content(lineBlockSize, '\0');
    std::size_t filled = 0;
    platform::InputFile::Read read = platform::InputFile::Read::More;
    while (filled < lineBlockSize && read == platform::InputFile::Read::More) {
        std::size_t got = 0;
        read = input->readMore(content.data() + filled, lineBlockSize - filled, got);
        filled += got;
    }
    content.resize(filled);
    if (read == platform::InputFile::Read::Failed)
        throw AsciiReaderError(AsciiReaderError::CannotOpen, path);
    if (read == platform::InputFile::Read::End)
        input.reset();
    else if (startsLikeXml(content) || namedLikeWorkspace(path) || !firstLineComplete(content)
             || startsLikeWorkspace(content)) {
        if (!input->readRest(content))
            throw AsciiReaderError(AsciiReaderError::CannotOpen, path);
        input.reset();
    }
    return KeilFile(path, std::move(content), identity, std::move(input));
}

KeilFile::KeilFile(std::string path, std::string text) : KeilFile(std::move(path), std::move(text), {}, nullptr) {}

KeilFile::KeilFile(std::string path, std::string text, const platform::FileIdentity& identity,
                   std::unique_ptr<platform::InputFile> rest)
    : filePath(std::move(path)), content(std::move(text)), xml(content, filePath), fileIdentity(identity),
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

std::list<std::string> KeilFile::members() const
{
    const std::string folder = filePath.substr(0, filePath.rfind('\\'));
    if (fileKind == XmlWorkspace)
        return xmlWorkspaceMembers(xml.root(), folder);

    std::list<std::string> projects;
    TextLines lines(content);
    std::string_view line;
    while (lines.next(line)) {
        const std::string trimmed = trimChar(std::string(line), ' ');
        if (!trimmed.empty() && trimmed[0] == 'P' && contains(trimmed, "Project"))
            projects.push_back(folder + "\\" + workspaceMemberPath(trimmed));
    }
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
