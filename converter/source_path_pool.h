// Storage for copies of source paths that must stay where they are.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

// Millions of short paths in large blocks, instead of a string each, cost little more than their
// text, and a view of one stays valid however many follow. Nothing is freed before the pool.
class SourcePathPool {
public:
    // Copies path into the pool; the view stays valid as long as the pool.
    std::string_view keep(std::string_view path);

private:
    // Room for size bytes (at least one), valid as long as the pool.
    char* allocate(std::size_t size);

    static constexpr std::size_t blockSize = 64 * 1024;

    std::vector<std::unique_ptr<char[]>> blocks;
    char* next = nullptr;
    std::size_t left = 0;
};
