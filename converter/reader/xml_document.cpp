// Recognising a Keil file in the XML format by its content, and holding the parsed document.
#include "xml_document.h"

#include <cstring>

#include "../errors.h"
#include "../text_util.h"

bool startsLikeXml(std::string_view content)
{
    std::size_t i = content.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    while (i < content.size() && (content[i] == ' ' || content[i] == '\t' || content[i] == '\r' || content[i] == '\n'))
        ++i;
    return i < content.size() && content[i] == '<';
}

KeilXmlDocument::KeilXmlDocument(std::string& content, const std::string& path)
{
    if (!startsLikeXml(content))
        return;
    // encoding_utf8 keeps every byte as it is, UTF-8 or not; parse_default decodes entities.
    const pugi::xml_parse_result result = document.load_buffer_inplace(
        content.data(), content.size(), pugi::parse_default | pugi::parse_embed_pcdata, pugi::encoding_utf8);
    if (!result)
        throw AsciiReaderError(AsciiReaderError::Malformed, path);
    const char* rootName = root().name();
    if (std::strcmp(rootName, "Project") == 0)
        documentKind = Project;
    else if (std::strcmp(rootName, "ProjectWorkspace") == 0)
        documentKind = Workspace;
    else
        documentKind = OtherXml;
}

std::string childText(const pugi::xml_node& node, const char* name)
{
    return node.child(name).child_value();
}

std::string trimXmlSpace(const std::string& text)
{
    return trimAny(text, " \t\r\n");
}
