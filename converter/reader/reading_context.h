// What reading a Keil file needs from the run: its filter, the compiler's folders, its budget.
#pragma once

#include <list>
#include <string>
#include <string_view>

#include "../budget.h"
#include "../node_settings.h"

class CompilerFolders;
class KeptFileList;
class PackIndex;
struct SplitFilePath;
class SubProject;

// The run's settings that reading depends on, handed to each reader explicitly.
struct ReadingContext {
    const std::list<std::string>& extensions;            // accepted source extensions; empty accepts all
    const CompilerFolders& compilerIncludePaths;  // folders the compiler personality names
    Budget& budget;                                       // counts the nodes and listed files
    PackIndex* packs = nullptr;                           // the installed packs; none without a pack root

    // Appends a new child of that name to parent and returns it; the budget counts it, its
    // folders and the names and paths the output will hold of it.
    SubProject* addChild(SubProject& parent, std::string name) const;

    // Runs change, which adds to settings of their own (not yet laid over others), and counts
    // what their personality gains.
    template <class Change>
    void changeSettings(NodeSettings& settings, Change&& change) const
    {
        const unsigned long long before = settings.personalityBytesSoFar();
        change();
        budget.recountForeseen(before, settings.personalityBytesSoFar());
    }

    // Adds a define list and an include list (completed against projectFolder) to settings of
    // their own, counting each define and folder as it is added: a list of millions stops at the
    // output limit as it is read, not once all of it is in memory.
    void addSettingLists(NodeSettings& settings, std::string_view defines, std::string_view includes,
                         const std::string& projectFolder) const;

    // Lays settings over below (NodeSettings::overlay) and counts the lines they take over.
    void overlay(NodeSettings& settings, const NodeSettings& below) const;

    // Lists file after the others of list, whose room it must have, and returns its entry; the
    // budget counts its line of the project file.
    const unsigned char* addFile(KeptFileList& list, const SplitFilePath& file) const;
};

// True when extensions is empty or names the text after the last "." of path (the whole path
// when it has none), compared without regard to ASCII letter case.
bool acceptsFile(std::string_view path, const std::list<std::string>& extensions);
