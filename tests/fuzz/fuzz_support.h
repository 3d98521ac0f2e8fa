// Shared pieces of the fuzz targets: silenced standard output and the splitting of one input
// into several files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iostream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

// Swallows everything written to std::cout while it lives: the converter reports on standard
// output, and a fuzzer printing millions of lines would spend its time in the terminal.
class SilencedOutput {
public:
    SilencedOutput() : previous(std::cout.rdbuf(&sink)) {}
    ~SilencedOutput() { std::cout.rdbuf(previous); }
    SilencedOutput(const SilencedOutput&) = delete;
    SilencedOutput& operator=(const SilencedOutput&) = delete;

private:
    class NullBuffer : public std::streambuf {
    protected:
        int_type overflow(int_type c) override { return traits_type::not_eof(c); }
        std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
    };
    NullBuffer sink;
    std::streambuf* previous;
};

// The line that separates the files packed into one fuzz input.
inline constexpr std::string_view fileSeparator = "\n==== next file ====\n";

// Splits one input into the files packed into it; an input without separator is one file.
inline std::vector<std::string> splitFiles(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> files;
    std::size_t start = 0;
    for (std::size_t at = input.find(fileSeparator); at != std::string_view::npos;
         at = input.find(fileSeparator, start)) {
        files.emplace_back(input.substr(start, at - start));
        start = at + fileSeparator.size();
    }
    files.emplace_back(input.substr(start));
    return files;
}
