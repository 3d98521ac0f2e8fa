// Recognising a Keil file in the XML format by its content, and holding the parsed document.
#pragma once

#include <string>
#include <string_view>

#include <pugixml.hpp>

// A Keil file read whole. When its first non-blank bytes start an XML document it is parsed,
// bytes as they are (no character set conversion, entities decoded); the root element then
// tells a project (.uvproj, .uvprojx) from a multi-project workspace (.uvmpw). The document
// is parsed in place, in the file's own text, and an element's text is kept in the element:
// a project of 250 MB would otherwise be held twice, and its text elements in twice the nodes.
class KeilXmlDocument {
public:
    enum Kind { NotXml, Project, Workspace, OtherXml };

    // Throws AsciiReaderError Malformed, naming path, when the content starts like XML but
    // does not parse. Content that does not start like XML, an empty file included, is NotXml;
    // an XML document with another root element (a .uvoptx, say) is OtherXml. The document's
    // strings lie in content, which it changes: content must outlive it, unmoved.
    // keptBeside is what the run already keeps in memory: the document must fit beside it and
    // its own text (maximumXmlBytes), or the file is too large.
    KeilXmlDocument(std::string& content, const std::string& path, std::size_t keptBeside = 0);

    KeilXmlDocument(const KeilXmlDocument&) = delete;
    KeilXmlDocument& operator=(const KeilXmlDocument&) = delete;

    Kind kind() const { return documentKind; }
    pugi::xml_node root() const { return document.document_element(); }

private:
    // Bytes counted beside the documents while this one lives, also when parsing it fails.
    class HeldBeside {
    public:
        HeldBeside() = default;
        HeldBeside(const HeldBeside&) = delete;
        HeldBeside& operator=(const HeldBeside&) = delete;
        ~HeldBeside();
        void hold(std::size_t bytes);

    private:
        std::size_t held = 0;
    };

    HeldBeside beside;  // its text and what the run kept before it
    pugi::xml_document document;
    Kind documentKind = NotXml;
};

// What parsed XML may hold in memory at once: the parser's documents and the texts of the pack
// descriptions kept for a run, counted together. Real projects and packs hold a few MB; a file
// of millions of empty elements would otherwise cost three times its size.
inline constexpr std::size_t maximumDocumentBytes = 224u << 20;

// What a parsed project may hold together with its own text and what the run kept before it:
// the largest file (256 MiB) with the most the parser may hold. A workspace whose earlier
// members have filled the output cannot add a document of the same size again.
inline constexpr std::size_t maximumXmlBytes = 480u << 20;

// Counts bytes more held; false, counting nothing, when they would pass maximumDocumentBytes,
// or maximumXmlBytes beside the texts and kept bytes of the documents that live.
// The parser's own memory is counted as it asks for it: a document that would pass the limit
// does not parse, and throws FileTooLarge.
bool holdDocumentBytes(std::size_t bytes);
void releaseDocumentBytes(std::size_t bytes);

// True when content's first bytes other than blanks and line ends (and a UTF-8 byte-order mark
// before them) start an XML element or declaration.
bool startsLikeXml(std::string_view content);

// The text of an element's first child of that name; empty when the child is missing.
std::string childText(const pugi::xml_node& node, const char* name);

// text without the blanks and line ends an XML writer may wrap around a value.
std::string trimXmlSpace(const std::string& text);
std::string_view trimmedXmlSpace(std::string_view text);
