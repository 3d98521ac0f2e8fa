// Small text helpers of the benchmark programs: whole files and option values.
#include "bench_text.h"

#include <cmath>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

std::string readText(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<double> parseNumberList(const std::string& text, double low, double high, bool whole,
                                    const std::string& rule)
{
    std::vector<double> numbers;
    std::stringstream in(text);
    for (std::string item; std::getline(in, item, ',');) {
        std::size_t used = 0;
        double number = 0;
        try {
            number = std::stod(item, &used);
        } catch (const std::exception&) {
            used = 0;
        }
        if (used == 0 || used != item.size() || !(number >= low && number <= high)
            || (whole && number != std::floor(number)))
            throw std::runtime_error(rule + ": " + text);
        numbers.push_back(number);
    }
    if (numbers.empty())
        throw std::runtime_error(rule + ": " + text);
    return numbers;
}
