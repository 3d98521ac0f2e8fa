// The limits of one run.
#include "budget.h"

void Budget::checkNodes(std::size_t folders) const
{
    if (nodes + folders > nodeLimit)
        throw LimitExceeded(LimitExceeded::Nodes);
}

void Budget::checkBytes(unsigned long long other) const
{
    if (listed + other > outputLimit)
        throw LimitExceeded(LimitExceeded::OutputBytes);
}

void Budget::countNode()
{
    ++nodes;
    checkNodes(foreseenFolders);
}

void Budget::countListedLine(unsigned long long bytes)
{
    listed += bytes;
    checkBytes(foreseen);
}

void Budget::countForeseen(unsigned long long bytes)
{
    foreseen += bytes;
    checkBytes(foreseen);
}

void Budget::countForeseenFolder(unsigned long long pathBytes)
{
    ++foreseenFolders;
    checkNodes(foreseenFolders);
    countForeseen(pathBytes);
}

void Budget::recountForeseen(unsigned long long before, unsigned long long after)
{
    foreseen -= before < foreseen ? before : foreseen;
    countForeseen(after);
}

void Budget::countFolder(unsigned long long pathBytes)
{
    ++plannedFolders;
    checkNodes(plannedFolders);
    countOutput(pathBytes);
}

void Budget::countOutput(unsigned long long bytes)
{
    planned += bytes;
    checkBytes(planned);
}
