// The limits that keep a hostile or broken project from exhausting the machine.
#pragma once

#include <cstddef>

#include "errors.h"

// What one run may build and write, each counted once: reading counts the nodes it makes and
// the project file's lines of the source files it lists, as it goes, so that a huge input stops
// early; the writer's plan adds every other byte of the output.
class Budget {
public:
    // Counts one more node; past the limit this throws LimitExceeded Nodes.
    void countNode();

    // Counts bytes more output; past the limit this throws LimitExceeded OutputBytes.
    void countOutput(unsigned long long bytes);

    std::size_t nodeLimit = maximumNodes;  // tests lower them
    unsigned long long outputLimit = maximumOutputBytes;

private:
    std::size_t nodes = 1;  // the root
    unsigned long long output = 0;
};
