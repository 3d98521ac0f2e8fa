// The writer's entry: the Ostra project file and the folder tree below the destination.
#pragma once

#include <string>
#include <vector>

#include "../platform.h"

class Budget;
class SubProject;

// The run's settings the output depends on.
struct OutputSettings {
    const std::string& destination;
    const std::string& projectName;
    const std::string& messagePersonality;
    const std::string& analyserPersonality;
    const std::string& compilerPersonality;
};

// Writes the tree below root into the destination. Reads the personalities first, then plans
// the whole output and checks it against the disk (inputs are the files the run read: no
// output replaces one) and counts its bytes into budget, and only then writes it and prints
// its progress lines. Throws IOERROR, or LimitExceeded from budget.
void writeOutput(const SubProject& root, const OutputSettings& settings, std::vector<platform::FileIdentity> inputs,
                 Budget& budget);
