// Node names become folder names: checked and mended after reading, before anything is written.
#include "name_check.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "../errors.h"
#include "../sub_project.h"
#include "../text_util.h"

namespace {

// A character no Windows file name may hold; byte 0 is left to the writer, which refuses it.
bool refusedByWindows(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= 1 && byte <= 31) || std::string_view("<>:\"|?*").find(c) != std::string_view::npos;
}

// One part of a name, between separators, made safe in place: the device test sees the part
// as the other two rules left it, so "AUX." becomes "AUX_", no device any more.
void mendPart(std::string& part)
{
    for (char& c : part)
        if (refusedByWindows(c))
            c = '_';
    for (std::size_t end = part.size(); end > 0 && (part[end - 1] == '.' || part[end - 1] == ' '); --end)
        part[end - 1] = '_';
    if (namesWindowsDevice(part))
        part.insert(0, 1, '_');
}

}  // namespace

void refuseNamesLeavingTheDestination(const SubProject& node)
{
    // A target named ..\..\x in a project file from elsewhere would otherwise make folders and
    // files wherever it points.
    if (climbsUp(node.name))
        throw IOERROR(IOERROR::NameLeavesDestination, node.name);
    for (const SubProject* child : node.children)
        refuseNamesLeavingTheDestination(*child);
}

std::string windowsSafeName(std::string_view name)
{
    std::string safe;
    safe.reserve(name.size());
    forEachPart(name, "\\/", [&](std::string_view written) {
        std::string part(written);
        mendPart(part);
        safe += part;
        // The separator behind the part, as written.
        const std::size_t end = static_cast<std::size_t>(written.data() - name.data()) + written.size();
        if (end < name.size())
            safe += name[end];
    });
    return safe;
}

void makeNamesWindowsSafe(SubProject& node)
{
    node.name = windowsSafeName(node.name);
    for (SubProject* child : node.children)
        makeNamesWindowsSafe(*child);
}

namespace {

// The keys the nodes walked so far hold, and where the search for a free number goes on for
// each stem (the key of a name and " ("): numbers below it give keys that are taken, so a
// million nodes of one folder cost no more than a million look-ups.
struct FolderKeys {
    std::unordered_set<std::string> taken;
    std::unordered_map<std::string, unsigned long long> nextNumber;
};

std::string keyOf(const std::string& parentKey, const std::string& name)
{
    if (name.empty())
        return parentKey + "\\";
    return folderKey(parentKey + "\\" + name);
}

void makeKeysUnique(SubProject& node, const std::string& parentKey, FolderKeys& keys)
{
    std::string key = keyOf(parentKey, node.name);
    if (!keys.taken.insert(key).second) {
        // " (n)" holds no separator and no letter: the candidate's key is the stem and "n)".
        const std::string stem = folderKey(parentKey + "\\" + node.name + " (");
        unsigned long long& n = keys.nextNumber.try_emplace(stem, 2).first->second;
        for (;; ++n) {
            key = stem + std::to_string(n) + ")";
            if (keys.taken.insert(key).second)
                break;
        }
        node.name += " (" + std::to_string(n) + ")";
    }
    for (SubProject* child : node.children)
        makeKeysUnique(*child, key, keys);
}

}  // namespace

void makeFolderKeysUnique(SubProject& root)
{
    FolderKeys keys;
    makeKeysUnique(root, std::string(), keys);
}
