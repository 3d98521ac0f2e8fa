// The extension filter that every reader applies to source files.
#include "reading_context.h"

#include "../text_util.h"

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
