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

void makeSiblingNamesUnique(SubProject& node)
{
    std::unordered_set<std::string> taken;
    // Where the search for a free number goes on for each name: numbers below it are taken,
    // so a million siblings of one name cost no more than a million look-ups.
    std::unordered_map<std::string, unsigned long long> nextNumber;
    for (SubProject* child : node.children) {
        std::string folded = asciiLowerCopy(child->name);
        if (!taken.insert(folded).second) {
            unsigned long long& n = nextNumber.try_emplace(folded, 2).first->second;
            std::string name;
            for (;; ++n) {
                name = child->name + " (" + std::to_string(n) + ")";
                if (taken.insert(asciiLowerCopy(name)).second)
                    break;
            }
            child->name = std::move(name);
        }
        makeSiblingNamesUnique(*child);
    }
}
