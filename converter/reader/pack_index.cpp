// Finding installed packs below the pack root and reading each description once.
#include "pack_index.h"

#include <algorithm>
#include <vector>

#include "../console.h"
#include "../errors.h"
#include "../platform.h"
#include "../text_util.h"
#include "xml_document.h"

namespace {

bool isNumber(std::string_view part)
{
    return !part.empty() && std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int sign(int value) { return (value > 0) - (value < 0); }

// Numbers of any length, without converting them: leading zeros aside, the longer is larger.
int compareNumbers(std::string_view a, std::string_view b)
{
    a.remove_prefix(std::min(a.find_first_not_of('0'), a.size()));
    b.remove_prefix(std::min(b.find_first_not_of('0'), b.size()));
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return sign(a.compare(b));
}

std::vector<std::string_view> dottedParts(std::string_view text)
{
    std::vector<std::string_view> parts;
    forEachPart(text, ".", [&](std::string_view part) { parts.push_back(part); });
    return parts;
}

int compareDotted(std::string_view a, std::string_view b)
{
    const std::vector<std::string_view> left = dottedParts(a);
    const std::vector<std::string_view> right = dottedParts(b);
    for (std::size_t i = 0; i < std::max(left.size(), right.size()); ++i) {
        if (i == left.size())
            return -1;
        if (i == right.size())
            return 1;
        const int order = isNumber(left[i]) && isNumber(right[i]) ? compareNumbers(left[i], right[i])
                                                                  : sign(left[i].compare(right[i]));
        if (order != 0)
            return order;
    }
    return 0;
}

// A name that stays one folder below its parent: no separator, drive or climbing.
bool isPlainFolderName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." && name.find_first_of("\\/:") == std::string_view::npos;
}

}  // namespace

PackId PackId::fromText(std::string_view text)
{
    PackId id;
    const std::size_t first = text.find('.');
    id.vendor = std::string(text.substr(0, first));
    if (first == std::string_view::npos)
        return id;
    const std::size_t second = text.find('.', first + 1);
    id.name = std::string(text.substr(first + 1, second == std::string_view::npos ? std::string_view::npos : second - first - 1));
    if (second != std::string_view::npos)
        id.version = std::string(text.substr(second + 1));
    return id;
}

std::string PackId::text() const
{
    return version.empty() ? vendor + "." + name : vendor + "." + name + "." + version;
}

bool PackId::usable() const
{
    return isPlainFolderName(vendor) && isPlainFolderName(name) && (version.empty() || isPlainFolderName(version));
}

int compareVersions(std::string_view a, std::string_view b)
{
    const std::size_t dashA = a.find('-');
    const std::size_t dashB = b.find('-');
    const int order = compareDotted(a.substr(0, dashA), b.substr(0, dashB));
    if (order != 0)
        return order;
    const bool suffixA = dashA != std::string_view::npos;
    const bool suffixB = dashB != std::string_view::npos;
    if (suffixA != suffixB)
        return suffixA ? -1 : 1;
    return suffixA ? compareDotted(a.substr(dashA + 1), b.substr(dashB + 1)) : 0;
}

PackIndex::PackIndex(std::string root) : root(std::move(root)) {}

void PackIndex::sayOnce(std::string_view head, const std::string& detail)
{
    if (said.insert(std::string(head) + detail).second)
        printLine(head, detail);
}

const PackDescription* PackIndex::find(const PackId& id)
{
    if (!hasRoot())
        return nullptr;
    const std::string key = id.text();
    if (const auto known = byId.find(key); known != byId.end())
        return known->second;

    const PackDescription* found = nullptr;
    bool installed = false;
    if (id.usable()) {
        const std::string packFolder = joinPath(joinPath(root, id.vendor), id.name);
        const std::string fileName = id.vendor + "." + id.name + ".pdsc";
        auto tryFolder = [&](const std::string& version) {
            const std::string folder = packFolder + "\\" + version;
            installed = byDescription.contains(folder + "\\" + fileName) || platform::exists(folder + "\\" + fileName);
            if (installed)
                found = load(folder, fileName);
        };
        if (!id.version.empty())
            tryFolder(id.version);
        if (!installed) {
            std::vector<std::string> versions;
            platform::listFolders(packFolder, versions);
            std::sort(versions.begin(), versions.end(),
                      [](const std::string& a, const std::string& b) { return compareVersions(a, b) > 0; });
            for (const std::string& version : versions) {
                if (version == id.version || !isPlainFolderName(version))
                    continue;
                tryFolder(version);
                if (installed)
                    break;
            }
        }
    }
    if (!installed)
        sayOnce(message::packNotInstalled, key);
    byId.emplace(key, found);
    return found;
}

PackDescription::~PackDescription()
{
    releaseDocumentBytes(heldText);
}

const PackDescription* PackIndex::load(const std::string& folder, const std::string& fileName)
{
    const std::string path = folder + "\\" + fileName;
    if (const auto known = byDescription.find(path); known != byDescription.end())
        return known->second.get();
    auto description = std::make_unique<PackDescription>();
    description->folder = folder;
    bool wellFormed = platform::readWholeFile(path, description->text);
    ++readCount;
    // The descriptions are kept for the run: a pack root of huge ones stops here.
    if (wellFormed && (holdsStretchLongerThan(description->text, '<', maximumLineBytes) || !holdDocumentBytes(description->text.size())))
        throw FileTooLarge(path);
    description->heldText = description->text.size();
    if (wellFormed) {
        // Only attributes are used: text becomes no nodes of its own, and entities of a
        // document type are never expanded.
        const pugi::xml_parse_result result =
            description->document.load_buffer_inplace(description->text.data(), description->text.size(),
                                                      pugi::parse_escapes | pugi::parse_embed_pcdata, pugi::encoding_utf8);
        if (result.status == pugi::status_out_of_memory)
            throw FileTooLarge(path);
        wellFormed = result && std::string_view(description->package().name()) == "package";
    }
    if (!wellFormed) {
        sayOnce(message::malformedPack, path);
        description.reset();
    }
    return byDescription.emplace(path, std::move(description)).first->second.get();
}
