// What reading needs from the run: the extension filter, and the nodes and files it counts.
#include "reading_context.h"

#include "../sub_project.h"
#include "define_list.h"
#include "kept_paths.h"
#include "path_completion.h"
#include "../text_util.h"

SubProject* ReadingContext::addChild(SubProject& parent, std::string name) const
{
    budget.countNode();
    // A parent gets a folder for the personalities its children refer to.
    if (parent.children.empty())
        budget.countForeseenFolder(parent.folderPathBytes + 8);
    // Each leading part of a name with separators is a folder ("a/b" makes a first): a name of
    // many parts makes many folders, each with a long path.
    for (std::size_t end = 1; end < name.size(); ++end)
        if (isSeparator(name[end]) && !isSeparator(name[end - 1]))
            budget.countForeseenFolder(parent.folderPathBytes + 1 + end);
    // The node's folder and its output folder, and the project file's FolderName= line with its
    // name and OutputPath= line with its output folder: a million long names stop here, not in
    // memory.
    const unsigned long long folder = parent.folderPathBytes + 1 + name.size();
    budget.countForeseenFolder(folder);
    budget.countForeseenFolder(folder + 8);
    budget.countForeseen(name.size() + folder + 8);
    SubProject* child = parent.addChild(std::move(name));
    child->folderPathBytes = folder;
    return child;
}

void ReadingContext::addSettingLists(NodeSettings& settings, std::string_view defines, std::string_view includes,
                                     const std::string& projectFolder) const
{
    forEachDefineToken(defines, [&](const std::string& token) { changeSettings(settings, [&] { addDefine(settings, token); }); });
    forEachIncludeFolder(includes, projectFolder, [&](const std::string& folder) {
        changeSettings(settings, [&] { settings.addIncludeFolder(folder, compilerIncludePaths); });
    });
}

void ReadingContext::overlay(NodeSettings& settings, const NodeSettings& below) const
{
    const unsigned long long before = settings.personalityBytesSoFar();
    settings.overlay(below);
    budget.recountForeseen(before, settings.personalityBytes());
}

const unsigned char* ReadingContext::addFile(KeptFileList& list, const SplitFilePath& file) const
{
    // The line's text and its CR LF.
    budget.countListedLine(list.keptPaths().completedSize(file) + 2);
    return list.add(file);
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
