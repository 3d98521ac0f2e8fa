// Writes the benchmark's synthetic Keil workspace for one size, to convert by hand.
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "workspace_generator.h"

int main(int argc, char** argv)
{
    const int scale = argc == 3 ? std::atoi(argv[2]) : 0;
    if (scale < 1) {
        std::fprintf(stderr, "Usage: tamsel_bench_generate <folder> <size, 1 for the base case>\n");
        return 2;
    }
    try {
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
