// Small text helpers of the benchmark programs: whole files and option values.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

// The whole of a file, such as a child's log; empty when it cannot be read.
std::string readText(const std::filesystem::path& file);

// Numbers separated by commas, each from low to high, and whole numbers only when whole is set.
// Throws std::runtime_error(rule + ": " + text) on anything else, and when there is none.
std::vector<double> parseNumberList(const std::string& text, double low, double high, bool whole,
                                    const std::string& rule);
