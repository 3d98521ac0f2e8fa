// Fuzz target: one Keil project file, as any bytes, through the text reader.
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

#include "budget.h"
#include "compiler_folders.h"
#include "errors.h"
#include "fuzz_support.h"
#include "reader/uv_project_reader.h"
#include "sub_project.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    SilencedOutput silence;
    // A tree and what reading needs, without a run.
    SubProject root("demo", nullptr);
    root.path = "C:\\work\\";
    // An include folder the compiler personality names is left out of every target.
    const CompilerFolders compilerFolders = {"C:\\work\\\\inc", "C:\\Keil\\INC"};
    // Odd-sized inputs also go through the extension filter.
    std::list<std::string> extensions;
    if (size % 2 == 1)
        extensions = {"c", "A51", ""};
    Budget budget;
    const ReadingContext context{extensions, compilerFolders, budget};
    UvProjectReader reader(context);
    reader.projectNode = &root;
    bool complete = true;
    try {
        reader.parse(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const AsciiReaderError& error) {
        // Ending inside an option block is the only way reading a text can fail; the run then
        // stops, so a group's settings need not hold its target's yet.
        if (error.code != AsciiReaderError::UnexpectedEof)
            std::abort();
        complete = false;
    }

    // The reader only ever hangs targets under the project node and groups under targets;
    // a group has settings only when its target's are part of them.
    for (const SubProject* target : root.children) {
        if (target->owner != root.owner || target->files || !target->path.empty())
            std::abort();
        for (const SubProject* group : target->children) {
            if (!group->children.empty() || !group->path.empty())
                std::abort();
            if (complete && !group->settings.empty()) {
                const std::set<std::string> folders = group->settings.allIncludeFolders();
                for (const std::string& folder : target->settings.includePaths.get())
                    if (!folders.contains(folder))
                        std::abort();
            }
        }
    }
    return 0;
}
