// The limits of one run.
#include "budget.h"

void Budget::countNode()
{
    if (++nodes > nodeLimit)
        throw LimitExceeded(LimitExceeded::Nodes);
}

void Budget::countOutput(unsigned long long bytes)
{
    output += bytes;
    if (output > outputLimit)
        throw LimitExceeded(LimitExceeded::OutputBytes);
}
