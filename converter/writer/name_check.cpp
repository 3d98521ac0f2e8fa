// Node names become folder names: checked and mended after reading, before anything is written.
#include "name_check.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "../errors.h"
#include "../sub_project.h"

namespace {

bool climbsUp(std::string_view name)
{
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = name.find_first_of("\\/", start);
        if (end == std::string_view::npos)
            end = name.size();
        if (name.substr(start, end - start) == "..")
            return true;
        start = end + 1;
    }
    return false;
}

std::string foldedCase(std::string_view name)
{
    std::string folded(name);
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return folded;
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

void makeSiblingNamesUnique(SubProject& node)
{
    std::unordered_set<std::string> taken;
    // Where the search for a free number goes on for each name: numbers below it are taken,
    // so a million siblings of one name cost no more than a million look-ups.
    std::unordered_map<std::string, unsigned long long> nextNumber;
    for (SubProject* child : node.children) {
        std::string folded = foldedCase(child->name);
        if (!taken.insert(folded).second) {
            unsigned long long& n = nextNumber.try_emplace(folded, 2).first->second;
            std::string name;
            for (;; ++n) {
                name = child->name + " (" + std::to_string(n) + ")";
                if (taken.insert(foldedCase(name)).second)
                    break;
            }
            child->name = std::move(name);
        }
        makeSiblingNamesUnique(*child);
    }
}
