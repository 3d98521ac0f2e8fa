// The limits of one run.
#include "budget.h"

void Budget::countNode()
{
    if (++nodes > nodeLimit)
        throw LimitExceeded(LimitExceeded::Nodes);
}

void Budget::check(unsigned long long other) const
{
    if (listed + other > outputLimit)
        throw LimitExceeded(LimitExceeded::OutputBytes);
}

void Budget::countListedLine(unsigned long long bytes)
{
    listed += bytes;
    check(foreseen);
}

void Budget::countForeseen(unsigned long long bytes)
{
    foreseen += bytes;
    check(foreseen);
}

void Budget::countFolder(unsigned long long pathBytes)
{
    countNode();
    countOutput(pathBytes);
}

void Budget::countOutput(unsigned long long bytes)
{
    planned += bytes;
    check(planned);
}
