// Fuzz target: one Keil project file, as any bytes, through the text reader.
#include <cstdlib>
#include <sstream>

#include "converter.h"
#include "errors.h"
#include "fuzz_support.h"
#include "sub_project.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    SilencedOutput silence;
    Converter converter("C:\\work\\demo.uv2", "C:\\out");
    // An include folder the compiler personality names is left out of every target.
    converter.compilerIncludePaths = {"C:\\work\\\\inc", "C:\\Keil\\INC"};
    converter.root->path = "C:\\work\\";
    converter.reader.projectNode = converter.root;
    converter.reader.converter = &converter;
    // Odd-sized inputs also go through the extension filter.
    if (size % 2 == 1)
        converter.reader.setExtensions({"c", "A51", ""});

    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    try {
        converter.reader.parse(in);
    } catch (const AsciiReaderError& error) {
        // Ending inside an option block is the only way reading a stream can fail.
        if (error.code != AsciiReaderError::UnexpectedEof)
            std::abort();
    }

    // The reader only ever hangs targets under the project node and groups under targets.
    for (const SubProject* target : converter.root->children) {
        if (target->owner != &converter || !target->files.empty() || !target->path.empty())
            std::abort();
        for (const SubProject* group : target->children)
            if (!group->children.empty() || group->hasSettings() || !group->path.empty())
                std::abort();
    }
    return 0;
}
