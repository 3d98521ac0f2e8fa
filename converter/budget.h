// The limits that keep a hostile or broken project from exhausting the machine.
#pragma once

#include <cstddef>

#include "errors.h"

// What one run may build and write. Reading counts the nodes it makes, the project file's lines
// of the source files it lists, and what it knows the output will surely hold besides: the
// folders each node makes with their paths, the names in the project file, and the lines of
// every generated personality, those a group takes over from its target included. A huge input
// then stops while it is read, before it fills the memory. The writer's check pass counts every
// folder and every byte of the output again, exactly, as it plans them, in place of reading's
// count, which never exceeds its own.
class Budget {
public:
    // Counts one more node; past the limit this throws LimitExceeded Nodes, as do the folder
    // counts below.
    void countNode();

    // A listed source file's line, counted once by reading; past the limit this throws
    // LimitExceeded OutputBytes, as do the counts of bytes below.
    void countListedLine(unsigned long long bytes);

    // Bytes, and a folder of a path of pathBytes, that reading knows the output will hold.
    void countForeseen(unsigned long long bytes);
    void countForeseenFolder(unsigned long long pathBytes);

    // Bytes reading counted as before that are now after (a define's value replaced, a group's
    // own settings laid over its target's).
    void recountForeseen(unsigned long long before, unsigned long long after);

    // The bytes of the output reading has counted so far.
    unsigned long long countedByReading() const { return listed + foreseen; }

    // A folder the writer plans, of a path of pathBytes.
    void countFolder(unsigned long long pathBytes);

    // Bytes of the output the writer plans besides the listed lines.
    void countOutput(unsigned long long bytes);

    std::size_t nodeLimit = maximumNodes;  // tests lower them
    unsigned long long outputLimit = maximumOutputBytes;

private:
    void checkNodes(std::size_t folders) const;
    void checkBytes(unsigned long long other) const;

    std::size_t nodes = 1;  // the root
    std::size_t foreseenFolders = 0;
    std::size_t plannedFolders = 0;
    unsigned long long listed = 0;
    unsigned long long foreseen = 0;
    unsigned long long planned = 0;
};
