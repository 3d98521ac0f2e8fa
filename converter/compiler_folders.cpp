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
    if (sorted) {
        // Unsorted, starts holds where every folder starts.
        starts.clear();
        for (std::size_t start = 0; start < text.size(); start = text.find('\n', start) + 1)
            starts.push_back(static_cast<std::uint32_t>(start));
        sorted = false;
    }
    starts.push_back(static_cast<std::uint32_t>(text.size()));
    text += folder;
    text += '\n';
}

void CompilerFolders::settle() const
{
    if (sorted)
        return;
    std::sort(starts.begin(), starts.end(),
              [&](std::uint32_t a, std::uint32_t b) { return platform::compareFileNames(at(a), at(b)) < 0; });
    // The sorted text, each folder once, is made beside the old one: for a moment twice the
    // file's size, where a start for every folder would have held four bytes more a folder for
    // the whole run.
    std::string settled;
    settled.reserve(text.size());
    std::vector<std::uint32_t> marks;
    std::size_t kept = 0;
    std::string_view last;
    for (const std::uint32_t start : starts) {
        const std::string_view folder = at(start);
        if (kept > 0 && platform::compareFileNames(folder, last) == 0)
            continue;
        last = folder;
        if (kept++ % markEvery == 0)
            marks.push_back(static_cast<std::uint32_t>(settled.size()));
        settled += folder;
        settled += '\n';
    }
    settled.shrink_to_fit();
    text = std::move(settled);
    starts = std::move(marks);
    sorted = true;
}

void CompilerFolders::clear()
{
    std::string().swap(text);
    std::vector<std::uint32_t>().swap(starts);
    sorted = true;
}

bool CompilerFolders::contains(std::string_view folder) const
{
    settle();
    // The last mark not after folder, then the folders up to the next one.
    const auto mark = std::upper_bound(starts.begin(), starts.end(), folder, [&](std::string_view name, std::uint32_t start) {
        return platform::compareFileNames(name, at(start)) < 0;
    });
    if (mark == starts.begin())
        return false;
    const std::size_t end = mark == starts.end() ? text.size() : *mark;
    for (std::size_t start = *(mark - 1); start < end;) {
        const std::string_view candidate = at(static_cast<std::uint32_t>(start));
        const int order = platform::compareFileNames(candidate, folder);
        if (order >= 0)
            return order == 0;
        start += candidate.size() + 1;
    }
    return false;
}

std::vector<std::string> CompilerFolders::list() const
{
    settle();
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
