// Completing the relative paths of a Keil project against the project file's folder.
#include "path_completion.h"

#include "../sub_project.h"
#include "../text_util.h"

namespace {

std::string dropLeadingDotSeparator(const std::string& path)
{
    if (path.size() >= 2 && path[0] == '.' && isSeparator(path[1]))
        return path.substr(2);
    return path;
}

// "C:" of "C:\work\", "\\?\C:" of "\\?\C:\work\" (the prefix stays, so the path stays in
// the same namespace), or nothing when the folder has no drive.
std::string driveOf(const std::string& folder)
{
    if (folder.size() >= 2 && folder[1] == ':')
        return folder.substr(0, 2);
    const bool prefixed = folder.starts_with("\\\\?\\") || folder.starts_with("\\\\.\\");
    if (prefixed && folder.size() >= 6 && folder[5] == ':')
        return folder.substr(0, 6);
    return {};
}

// Paths stay in Windows form in everything the converter writes.
std::string windowsForm(std::string path)
{
    convertSeparators(path);
    return path;
}

}  // namespace

SplitFilePath splitFilePath(std::string_view path)
{
    if (contains(path, ":"))
        return {SplitFilePath::None, path};
    if (!path.empty() && isSeparator(path[0]))
        return {SplitFilePath::Drive, path};
    if (path.size() >= 2 && path[0] == '.' && isSeparator(path[1]))
        path.remove_prefix(2);
    return {SplitFilePath::Folder, path};
}

std::string filePathBase(SplitFilePath::Base base, const std::string& projectFolder)
{
    switch (base) {
    case SplitFilePath::Drive: return windowsForm(driveOf(projectFolder));
    case SplitFilePath::Folder: return windowsForm(joinPath(projectFolder, {}));
    case SplitFilePath::None: break;
    }
    return {};
}

std::string completeFilePath(const std::string& path, const std::string& projectFolder)
{
    const SplitFilePath split = splitFilePath(path);
    return filePathBase(split.base, projectFolder) + windowsForm(std::string(split.rest));
}

bool completeIncludeFolder(const std::string& element, const std::string& projectFolder, std::string& folder)
{
    const std::string trimmed = trimAny(element, " \t");
    if (trimmed.empty())
        return false;
    if (contains(trimmed, ":")) {
        folder = windowsForm(trimmed);
        return true;
    }
    if (isSeparator(trimmed[0])) {
        folder = windowsForm(driveOf(projectFolder) + trimmed);
        return true;
    }
    const std::string rest = dropLeadingDotSeparator(trimmed);
    if (rest.empty() || rest == ".") {
        folder = projectFolder;
        if (!folder.empty() && folder.back() == '\\')
            folder.pop_back();
        return true;
    }
    folder = windowsForm(joinPath(projectFolder, rest));
    return true;
}

void forEachIncludeFolder(std::string_view list, const std::string& projectFolder,
                          const std::function<void(const std::string&)>& each)
{
    forEachPart(list, ";", [&](std::string_view element) {
        std::string folder;
        if (completeIncludeFolder(std::string(element), projectFolder, folder))
            each(folder);
    });
}

void addIncludeList(NodeSettings& target, const std::string& value, const std::string& projectFolder,
                    const CompilerFolders& compilerFolders)
{
    forEachIncludeFolder(value, projectFolder, [&](const std::string& folder) { target.addIncludeFolder(folder, compilerFolders); });
}

void addIncludeFolder(SubProject& target, std::string folder, const CompilerFolders& compilerFolders)
{
    target.settings.addIncludeFolder(std::move(folder), compilerFolders);
}
