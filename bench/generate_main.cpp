// Writes the benchmark's synthetic Keil inputs, to convert or profile by hand: the workspace
// of one size, or one input of the reading rows.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>

#include "workspace_generator.h"

namespace {

int usage()
{
    std::fprintf(stderr, "Usage: tamsel_bench_generate <folder> <size, 1 for the base case>\n"
                         "       tamsel_bench_generate --reading blank|project <file.Uv2> <MB>\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        if (argc == 5 && std::strcmp(argv[1], "--reading") == 0) {
            const bool blank = std::strcmp(argv[2], "blank") == 0;
            const double megabytes = std::atof(argv[4]);
            if ((!blank && std::strcmp(argv[2], "project") != 0) || !(megabytes > 0))
                return usage();
            const std::uint64_t bytes =
                writeReadingInput(argv[3], blank ? ReadingInput::BlankLines : ReadingInput::ProjectLines,
                                  static_cast<std::uint64_t>(megabytes * 1e6));
            std::printf("%s\n%llu bytes\n", argv[3], static_cast<unsigned long long>(bytes));
            return 0;
        }
        const int scale = argc == 3 ? std::atoi(argv[2]) : 0;
        if (scale < 1)
            return usage();
        const GeneratedWorkspace workspace = generateWorkspace(argv[1], WorkspaceShape::scaled(scale));
        std::printf("%s\n%s\n%llu bytes in %llu source file lines\n", workspace.workspaceFile.c_str(),
                    workspace.basePersonality.c_str(), static_cast<unsigned long long>(workspace.inputBytes),
                    static_cast<unsigned long long>(workspace.sourceFiles));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tamsel_bench_generate: %s\n", error.what());
        return 1;
    }
    return 0;
}
