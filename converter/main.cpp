// Tamsel: converts a Keil Uv project or workspace into an Ostra/Ostra++ project.
#include "command_line.h"

int main(int argc, char** argv)
{
    return runTamsel(argc, argv, TreeAtEnd::LeftToProcessExit);
}
