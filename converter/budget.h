// The limits that keep a hostile or broken project from exhausting the machine.
#pragma once

#include <cstddef>

#include "errors.h"

// What one run may build and write. Reading counts the nodes it makes, the project file's lines
// of the source files it lists, and a part of every other byte the output will surely hold (the
// names in its folder paths), so that a huge input stops before it fills the memory; the
// writer's check pass then counts every folder it plans as a node, and every byte of the output
// besides the listed files' lines, as it plans them.
class Budget {
public:
    // Counts one more node; past the limit this throws LimitExceeded Nodes.
    void countNode();

    // A listed source file's line, counted once by reading; past the limit this throws
    // LimitExceeded OutputBytes, as do the three below.
    void countListedLine(unsigned long long bytes);

    // Bytes that reading knows the output will hold besides the listed lines: the writer counts
    // them again, exactly, in place of this estimate.
    void countForeseen(unsigned long long bytes);

    // A folder the writer plans, of a path of pathBytes: a node, and its path's bytes.
    void countFolder(unsigned long long pathBytes);

    // Bytes of the output the writer plans besides the listed lines.
    void countOutput(unsigned long long bytes);

    std::size_t nodeLimit = maximumNodes;  // tests lower them
    unsigned long long outputLimit = maximumOutputBytes;

private:
    void check(unsigned long long other) const;

    std::size_t nodes = 1;  // the root
    unsigned long long listed = 0;
    unsigned long long foreseen = 0;
    unsigned long long planned = 0;
};
