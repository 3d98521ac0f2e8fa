// Recognising a Keil file in the XML format by its content, and holding the parsed document.
#include "xml_document.h"

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "../errors.h"
#include "../text_util.h"

namespace {

std::atomic<std::size_t> heldDocumentBytes {0};
std::atomic<std::size_t> heldBesideDocuments {0};  // their texts and what the run kept before them

// The parser's memory, each block with its size in front of it.
void* allocateCounted(std::size_t size)
{
    if (!holdDocumentBytes(size))
        return nullptr;
    auto* block = static_cast<std::max_align_t*>(std::malloc(size + sizeof(std::max_align_t)));
    if (block == nullptr) {
        releaseDocumentBytes(size);
        return nullptr;
    }
    *reinterpret_cast<std::size_t*>(block) = size;
    return block + 1;
}

void deallocateCounted(void* memory)
{
    if (memory == nullptr)
        return;
    auto* block = static_cast<std::max_align_t*>(memory) - 1;
    releaseDocumentBytes(*reinterpret_cast<std::size_t*>(block));
    std::free(block);
}

const bool parserMemoryCounted = (pugi::set_memory_management_functions(allocateCounted, deallocateCounted), true);

}  // namespace

bool holdDocumentBytes(std::size_t bytes)
{
    std::size_t held = heldDocumentBytes.load();
    do {
        if (bytes > maximumDocumentBytes - held || held + bytes + heldBesideDocuments.load() > maximumXmlBytes)
            return false;
    } while (!heldDocumentBytes.compare_exchange_weak(held, held + bytes));
    return true;
}

void releaseDocumentBytes(std::size_t bytes)
{
    heldDocumentBytes -= bytes;
}

bool startsLikeXml(std::string_view content)
{
    std::size_t i = content.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    while (i < content.size() && (content[i] == ' ' || content[i] == '\t' || content[i] == '\r' || content[i] == '\n'))
        ++i;
    return i < content.size() && content[i] == '<';
}

KeilXmlDocument::KeilXmlDocument(std::string& content, const std::string& path, std::size_t keptBeside)
{
    if (!startsLikeXml(content))
        return;
    beside.hold(content.size() + keptBeside);
    // encoding_utf8 keeps every byte as it is, UTF-8 or not; parse_default decodes entities.
    const pugi::xml_parse_result result = document.load_buffer_inplace(
        content.data(), content.size(), pugi::parse_default | pugi::parse_embed_pcdata, pugi::encoding_utf8);
    if (result.status == pugi::status_out_of_memory)
        throw FileTooLarge(path);
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

void KeilXmlDocument::HeldBeside::hold(std::size_t bytes)
{
    heldBesideDocuments += bytes;
    held += bytes;
}

KeilXmlDocument::HeldBeside::~HeldBeside()
{
    heldBesideDocuments -= held;
}

std::string childText(const pugi::xml_node& node, const char* name)
{
    return node.child(name).child_value();
}

std::string trimXmlSpace(const std::string& text)
{
    return std::string(trimmedXmlSpace(text));
}

std::string_view trimmedXmlSpace(std::string_view text)
{
    const std::size_t begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string_view::npos)
        return {};
    return text.substr(begin, text.find_last_not_of(" \t\r\n") - begin + 1);
}
