// Reading a target's device and component settings out of a pack description.
#include "pack_settings.h"

#include <algorithm>
#include <optional>

#include "../text_util.h"
#include "xml_document.h"

namespace {

// A path inside a pack ("/"-separated, relative to the pack's folder) as a complete folder.
std::string packFolder(const PackDescription& pack, std::string_view relative)
{
    std::string folder = pack.folder;
    std::string rest(relative);
    convertSeparators(rest);
    while (!rest.empty() && rest.back() == '\\')
        rest.pop_back();
    if (!rest.empty())
        folder = joinPath(folder, rest);
    return folder;
}

// The folder that holds a file named inside a pack.
std::string headerFolder(const PackDescription& pack, std::string_view header)
{
    const std::size_t separator = header.find_last_of("\\/");
    return packFolder(pack, separator == std::string_view::npos ? std::string_view() : header.substr(0, separator));
}

std::string_view attribute(const pugi::xml_node& node, const char* name)
{
    return node.attribute(name).value();
}

// The folders a files element gives: include folders and the folders of headers, leaving out
// what depends on a condition and the files a project holds copies of.
void addFileFolders(const PackDescription& pack, const pugi::xml_node& owner, PackSettings& settings)
{
    for (const pugi::xml_node& files : owner.children("files")) {
        for (const pugi::xml_node& file : files.children("file")) {
            if (file.attribute("condition"))
                continue;
            const std::string_view category = attribute(file, "category");
            const std::string_view attr = attribute(file, "attr");
            const std::string name = trimXmlSpace(file.attribute("name").value());
            if (name.empty())
                continue;
            if (category == "include")
                settings.folders.push_back(packFolder(pack, name));
            else if (category == "header" && attr != "config" && attr != "template")
                settings.folders.push_back(headerFolder(pack, name));
        }
    }
}

// The device or variant named device below devices/family, optionally subFamily, with its
// levels from the family down; the first of that name counts.
std::optional<DeviceLevels> findDevice(const pugi::xml_node& package, std::string_view device)
{
    auto search = [&](const DeviceLevels& above, const pugi::xml_node& parent) -> std::optional<DeviceLevels> {
        for (const pugi::xml_node& candidate : parent.children("device")) {
            DeviceLevels levels = above;
            levels.add(candidate);
            if (attribute(candidate, "Dname") == device)
                return levels;
            for (const pugi::xml_node& variant : candidate.children("variant")) {
                if (attribute(variant, "Dvariant") == device) {
                    levels.add(variant);
                    return levels;
                }
            }
        }
        return std::nullopt;
    };
    for (const pugi::xml_node& devices : package.children("devices")) {
        for (const pugi::xml_node& family : devices.children("family")) {
            DeviceLevels levels;
            levels.add(family);
            if (auto found = search(levels, family))
                return found;
            for (const pugi::xml_node& subFamily : family.children("subFamily")) {
                DeviceLevels subLevels = levels;
                subLevels.add(subFamily);
                if (auto found = search(subLevels, subFamily))
                    return found;
            }
        }
    }
    return std::nullopt;
}

// A component of the pack with the attributes its bundle lends it.
struct PackComponent {
    pugi::xml_node node;
    std::string_view cclass;
    std::string_view cversion;
    std::string_view condition;
};

bool sameSelection(const PackComponent& candidate, const ProjectComponent& wanted)
{
    return candidate.cclass == wanted.cclass && attribute(candidate.node, "Cgroup") == wanted.cgroup
           && attribute(candidate.node, "Csub") == wanted.csub && attribute(candidate.node, "Cvariant") == wanted.cvariant;
}

std::vector<PackComponent> matchingComponents(const pugi::xml_node& package, const ProjectComponent& wanted)
{
    std::vector<PackComponent> found;
    auto consider = [&](const pugi::xml_node& node, const pugi::xml_node& bundle) {
        PackComponent candidate{node, attribute(node, "Cclass"), attribute(node, "Cversion"), attribute(node, "condition")};
        if (!node.attribute("Cclass"))
            candidate.cclass = attribute(bundle, "Cclass");
        if (!node.attribute("Cversion"))
            candidate.cversion = attribute(bundle, "Cversion");
        if (sameSelection(candidate, wanted))
            found.push_back(candidate);
    };
    for (const pugi::xml_node& components : package.children("components")) {
        for (const pugi::xml_node& component : components.children("component"))
            consider(component, {});
        for (const pugi::xml_node& bundle : components.children("bundle"))
            for (const pugi::xml_node& component : bundle.children("component"))
                consider(component, bundle);
    }
    return found;
}

}  // namespace

bool addDeviceSettings(const PackDescription& pack, std::string_view device, PackSettings& settings)
{
    auto known = pack.devices.find(std::string(device));
    if (known == pack.devices.end())
        known = pack.devices.emplace(device, findDevice(pack.package(), device)).first;
    if (!known->second)
        return false;
    const DeviceLevels& levels = *known->second;
    pugi::xml_attribute header;
    pugi::xml_attribute define;
    bool forAllProcessors = false;
    for (const pugi::xml_node& level : levels) {
        for (const pugi::xml_node& compile : level.children("compile")) {
            if (compile.attribute("Pname"))
                continue;
            forAllProcessors = true;
            if (compile.attribute("header"))
                header = compile.attribute("header");
            if (compile.attribute("define"))
                define = compile.attribute("define");
        }
    }
    // A device with several processors names its header and define per processor only.
    for (std::size_t level = levels.count; !forAllProcessors && level-- > 0;) {
        if (const pugi::xml_node compile = levels.nodes[level].child("compile")) {
            header = compile.attribute("header");
            define = compile.attribute("define");
            break;
        }
    }
    const std::string headerPath = trimXmlSpace(header.value());
    if (!headerPath.empty())
        settings.folders.push_back(headerFolder(pack, headerPath));
    std::string macro = trimXmlSpace(define.value());
    if (!macro.empty())
        settings.defines.push_back(std::move(macro));
    return true;
}

void addComponentSettings(const PackDescription& pack, const ProjectComponent& component, PackSettings& settings)
{
    std::vector<PackComponent> candidates = matchingComponents(pack.package(), component);
    // One pack may describe a component once per device, told apart only by its condition.
    if (std::any_of(candidates.begin(), candidates.end(), [&](const PackComponent& c) { return c.condition == component.condition; }))
        std::erase_if(candidates, [&](const PackComponent& c) { return c.condition != component.condition; });
    const PackComponent* chosen = nullptr;
    for (const PackComponent& candidate : candidates) {
        if (candidate.cversion == component.cversion) {
            chosen = &candidate;
            break;
        }
        if (chosen == nullptr || compareVersions(candidate.cversion, chosen->cversion) > 0)
            chosen = &candidate;
    }
    if (chosen != nullptr)
        addFileFolders(pack, chosen->node, settings);
}

bool addApiSettings(const PackDescription& pack, const ProjectComponent& component, PackSettings& settings)
{
    for (const pugi::xml_node& apis : pack.package().children("apis")) {
        for (const pugi::xml_node& api : apis.children("api")) {
            if (attribute(api, "Cclass") == component.cclass && attribute(api, "Cgroup") == component.cgroup) {
                addFileFolders(pack, api, settings);
                return true;
            }
        }
    }
    return false;
}
