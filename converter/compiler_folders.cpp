// The include folders the compiler personality names.
#include "compiler_folders.h"

#include <algorithm>

#include "platform.h"

CompilerFolders::CompilerFolders(std::initializer_list<std::string_view> folders)
{
    for (const std::string_view folder : folders)
        add(folder);
}

void CompilerFolders::add(std::string_view folder)
{
    starts.push_back(static_cast<std::uint32_t>(text.size()));
    text += folder;
    text += '\n';
    sorted = false;
}

bool CompilerFolders::contains(std::string_view folder) const
{
    const auto before = [&](std::uint32_t a, std::uint32_t b) { return platform::compareFileNames(at(a), at(b)) < 0; };
    if (!sorted)
        std::sort(starts.begin(), starts.end(), before);
    sorted = true;
    const auto found = std::lower_bound(starts.begin(), starts.end(), folder, [&](std::uint32_t start, std::string_view name) {
        return platform::compareFileNames(at(start), name) < 0;
    });
    return found != starts.end() && platform::compareFileNames(at(*found), folder) == 0;
}

std::vector<std::string> CompilerFolders::list() const
{
    std::vector<std::string> folders;
    for (std::size_t start = 0; start < text.size(); start = text.find('\n', start) + 1)
        folders.emplace_back(at(static_cast<std::uint32_t>(start)));
    return folders;
}

std::string_view CompilerFolders::at(std::uint32_t start) const
{
    const std::string_view rest = std::string_view(text).substr(start);
    return rest.substr(0, rest.find('\n'));
}
