// What the command line asks of one conversion.
#include "run_settings.h"

void RunSettings::addExtensions(const std::string& value)
{
    std::size_t start = 0;
    for (std::size_t comma = value.find(','); comma != std::string::npos; comma = value.find(',', start)) {
        extensions.push_back(value.substr(start, comma - start));
        start = comma + 1;
    }
    extensions.push_back(value.substr(start));
}
