// Storage for the source file paths of one run: the tree's groups hold views into it.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

// A text project lists each file once for all its targets, and a large workspace has tens of
// thousands of them: one copy in large blocks, instead of a string per target, keeps the
// tree small and the reading quick. Nothing is freed before the pool itself.
class SourcePathPool {
public:
    // Copies path into the pool; the view stays valid as long as the pool.
    std::string_view keep(std::string_view path);

    // Room for size bytes (at least one), valid as long as the pool.
    char* allocate(std::size_t size);

private:
    static constexpr std::size_t blockSize = 64 * 1024;

    std::vector<std::unique_ptr<char[]>> blocks;
    char* next = nullptr;
    std::size_t left = 0;
};
