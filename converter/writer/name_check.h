// Node names become folder names: none may lead the output out of the destination folder.
#pragma once

class SubProject;

// Throws IOERROR 3 with the first name that holds a ".." part (between "\" or "/").
void refuseNamesLeavingTheDestination(const SubProject& node);
