// The extension filter that every reader applies to source files.
#include "reading_context.h"

bool acceptsFile(std::string_view path, const std::list<std::string>& extensions)
{
    if (extensions.empty())
        return true;
    const std::size_t dot = path.rfind('.');
    const std::string_view extension = dot == std::string_view::npos ? path : path.substr(dot + 1);
    // Compared as upper-case copies would compare, without making copies per file.
    auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    for (const std::string& entry : extensions) {
        if (entry.size() != extension.size())
            continue;
        bool same = true;
        for (std::size_t i = 0; same && i < entry.size(); ++i)
            same = upper(entry[i]) == upper(extension[i]);
        if (same)
            return true;
    }
    return false;
}
