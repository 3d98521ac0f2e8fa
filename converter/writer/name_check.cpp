// Node names become folder names: none may lead the output out of the destination folder.
#include "name_check.h"

#include <string_view>

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
