// Node names become folder names: checked and mended after reading, before anything is written.
#pragma once

class SubProject;

// Throws IOERROR 3 with the first name that holds a ".." part (between "\" or "/").
void refuseNamesLeavingTheDestination(const SubProject& node);

// Among the children of each node, a name equal to an earlier sibling's, ASCII letter case
// ignored as Windows folders are, gets " (2)", " (3)", ...: the first that is free. Siblings
// of one name would otherwise share a folder, and one's analyser personality replace the other's.
void makeSiblingNamesUnique(SubProject& node);
