// The software packs installed below a pack root, found by name and version and each read once.
#pragma once

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <pugixml.hpp>

// A pack as a project names it: Vendor.Name.Version.
struct PackId {
    std::string vendor;
    std::string name;
    std::string version;

    // A PackID element: the vendor up to the first ".", the name up to the next, the version
    // the rest (which may hold further dots, or be missing).
    static PackId fromText(std::string_view text);

    std::string text() const;
    // False for a vendor or name that could not name one folder of its own below the root.
    bool usable() const;
};

// Orders pack versions: dot-separated parts compare as numbers where both are numbers, else as
// text; a "-suffix" (1.2.0-rc1) comes before the plain version. Negative, zero or positive.
int compareVersions(std::string_view a, std::string_view b);

// A device's levels in a description: family, optionally subFamily, device, optionally variant.
struct DeviceLevels {
    std::array<pugi::xml_node, 4> nodes;
    std::size_t count = 0;

    void add(const pugi::xml_node& node) { nodes[count++] = node; }
    const pugi::xml_node* begin() const { return nodes.data(); }
    const pugi::xml_node* end() const { return nodes.data() + count; }
};

// One installed pack: its folder and its parsed description.
struct PackDescription {
    PackDescription() = default;
    ~PackDescription();
    PackDescription(const PackDescription&) = delete;
    PackDescription& operator=(const PackDescription&) = delete;

    std::string folder;  // <root>\Vendor\Name\Version, no trailing "\"
    std::string text;    // the description as read; the document is parsed in place and points into it
    std::size_t heldText = 0;  // of the bytes parsed XML may hold
    pugi::xml_document document;
    // The devices and variants looked up so far, by name (no levels: not described). A
    // description may list thousands, while the targets of a run name a few, again and again.
    mutable std::unordered_map<std::string, std::optional<DeviceLevels>> devices;

    pugi::xml_node package() const { return document.document_element(); }
};

// The pack root of a run. A pack is looked up once: its folder is
// <root>\Vendor\Name\Version\ holding Vendor.Name.pdsc, else the highest version folder of that
// vendor and name that holds one. What cannot be had is said once per run on standard output
// ("Pack not installed: ", "Malformed pack description: ") and the run goes on without it.
class PackIndex {
public:
    // root in Windows form; empty means the run has no pack root and finds nothing.
    explicit PackIndex(std::string root);
    PackIndex(const PackIndex&) = delete;
    PackIndex& operator=(const PackIndex&) = delete;

    bool hasRoot() const { return !root.empty(); }

    // The installed pack for id, or null. The result stays valid while the index lives.
    const PackDescription* find(const PackId& id);

    // How many descriptions were read from the disk so far.
    std::size_t descriptionsRead() const { return readCount; }

    // Prints head and detail as one line, unless this run printed that line already.
    void sayOnce(std::string_view head, const std::string& detail);

private:
    const PackDescription* load(const std::string& folder, const std::string& fileName);

    std::string root;
    std::map<std::string, const PackDescription*> byId;                     // by PackId::text()
    std::map<std::string, std::unique_ptr<PackDescription>> byDescription;  // by the description's path; null when malformed
    std::set<std::string> said;
    std::size_t readCount = 0;
};
