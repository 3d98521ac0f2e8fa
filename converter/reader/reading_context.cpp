// What reading needs from the run: the extension filter, and the nodes and files it counts.
#include "reading_context.h"

#include "../budget.h"
#include "../sub_project.h"
#include "../text_util.h"

SubProject* ReadingContext::addChild(SubProject& parent, std::string name) const
{
    budget.countNode();
    // A node's name stands at least three times in the output (its block's FolderName= line, its
    // folder's and its output folder's paths): a million long names stop here, not in memory.
    budget.countForeseen(3ULL * name.size());
    return parent.addChild(std::move(name));
}

void ReadingContext::addFile(SubProject& node, std::string_view file) const
{
    // The line's text and its CR LF.
    budget.countListedLine(file.size() + 2);
    node.files.push_back(file);
}

bool acceptsFile(std::string_view path, const std::list<std::string>& extensions)
{
    if (extensions.empty())
        return true;
    const std::size_t dot = path.rfind('.');
    const std::string_view extension = dot == std::string_view::npos ? path : path.substr(dot + 1);
    for (const std::string& entry : extensions)
        if (equalIgnoringAsciiCase(entry, extension))
            return true;
    return false;
}
