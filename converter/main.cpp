// Tamsel: converts a Keil Uv project or workspace into an Ostra/Ostra++ project.
#include "command_line.h"
#include "platform.h"

int main(int argc, char** argv)
{
    platform::openClosedStandardStreams();
    platform::giveBackLargeBlocks();
    platform::catchInterruptions();
    return runTamsel(argc, argv, TreeAtEnd::LeftToProcessExit);
}
