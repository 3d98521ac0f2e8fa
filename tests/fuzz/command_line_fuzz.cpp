// Fuzz target: the command-line scan (absolute paths, the default name, the options), with the
// arguments cut from the input at NUL bytes. The run itself is not started: arguments name
// files anywhere on the machine.
#include <cstdlib>
#include <string>
#include <vector>

#include "command_line.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    SilencedOutput silence;
    std::vector<std::string> arguments{"Tamsel"};
    std::string argument;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == '\0') {
            arguments.push_back(argument);
            argument.clear();
        } else {
            argument += static_cast<char>(data[i]);
        }
    }
    arguments.push_back(argument);
    if (arguments.size() < 3)
        return 0;

    RunSettings settings;
    settings.sourcePath = makeAbsolutePath(arguments[1]);
    settings.destinationFolder = makeAbsolutePath(arguments[2]);
    settings.projectName = defaultProjectName(settings.sourcePath);
    // The default name is a file name: it never holds a separator.
    if (settings.projectName.find('\\') != std::string::npos)
        std::abort();
    applyOptions(settings, arguments);

    // Every "-ext" value that has a value after it adds one entry more than it has commas.
    std::size_t expectedExtensions = 0;
    for (std::size_t i = 1; i + 1 < arguments.size(); ++i)
        if (arguments[i] == "-ext")
            for (const char c : arguments[i + 1] + ",")
                expectedExtensions += c == ',' ? 1 : 0;
    if (settings.extensions.size() != expectedExtensions)
        std::abort();
    return 0;
}
