// Splitting a Keil define list into defines.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class NodeSettings;

// Splits a define list at commas, blanks and tabs (a run of them is one separator), but not
// inside a double-quoted section or parentheses, so MSG="a, b" and MAX(a,b)=x stay whole.
// Blanks before an "=", and after one that had blanks before it, do not split: "PORT = UART0"
// is PORT=UART0, while "EMPTY= NEXT" is two defines.
// A token wholly in double quotes loses those two quotes.
std::vector<std::string> splitDefineList(std::string_view value);

// The same, calling visit with each token instead of keeping them: a list of ten million
// defines costs no ten million strings.
void forEachDefineToken(std::string_view value, const std::function<void(const std::string&)>& visit);

// Stores one token as a define of target: the name is cut at the first "="; a value with a
// double quote is rewritten to use the HBX_STRINGIFY(x) helper, which is then defined too.
void addDefine(NodeSettings& target, const std::string& token);

// Splits the list and stores every define.
void addDefineList(NodeSettings& target, std::string_view value);
