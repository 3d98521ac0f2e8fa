// The check pass of one write: every decision made, every output path checked, the plan made.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "../platform.h"
#include "write_plan.h"

class Budget;
class NodeSettings;
class SubProject;

// What stands at an output path, as the check pass and the write pass judge it: a link, and a
// file the run reads, are refused wherever output would go.
class OutputCheck {
public:
    OutputCheck(const std::string& destination, const std::vector<platform::FileIdentity>& inputs);

    // What stands at path; throws IOERROR OutputIsLink or OverwritesInput. Below a folder found
    // missing nothing stands yet, and the disk is not asked.
    platform::Entry at(const std::string& path);

    // True for the destination itself (whatever separators end path), which may be a link, as
    // users point it where they like.
    bool isDestination(std::string_view path) const;

private:
    std::string destination;
    const std::vector<platform::FileIdentity>& inputs;
    std::string missingFolder;  // the last folder found missing
};

// Walks with the writer over the tree once and writes nothing: it refuses links and inputs
// where output would go, finds folders blocked by files and counts the folders and bytes
// (throwing LimitExceeded before the plan outgrows the limits), while it puts
// every folder, file, progress line and project line into the plan.
class OutputSession {
public:
    OutputSession(const std::string& destination, const std::vector<platform::FileIdentity>& inputs, Budget& budget);

    // True when anything exists at path, or the plan already writes a file there.
    bool exists(const std::string& path);

    // Plans one folder; throws IOERROR when a link or a file stands there.
    void ensureDirectory(const std::string& folder);

    // Plans a whole file, content and then tail (which must outlive the plan); throws IOERROR
    // when what stands at path cannot be replaced.
    void writeFile(const std::string& path, std::string content, std::string_view tail = {});

    // Plans a generated analyser personality: the lines of settings, then tail. Both must
    // outlive the plan, which writes the lines out of settings only when it is carried out: a
    // target's million defines are never held twice.
    void writePersonality(const std::string& path, const NodeSettings& settings, std::string_view tail);

    // A progress line, printed when the plan is carried out.
    void progress(std::string text) { plan.line(std::move(text)); }

    // The project file: checked first, its lines kept in the plan.
    void openProjectFile(const std::string& path);
    void projectLine(std::string_view text);
    // A node's source files, a line each, which reading counted already; they are not copied
    // (the tree, the run's pool and the readers keep them).
    void listedFileLines(const SubProject& node);

    // The finished plan.
    WritePlan& result() { return plan; }

private:
    OutputCheck check;
    std::unordered_set<std::string> known;  // files the plan writes, and paths found to exist
    Budget& budget;                         // counts every folder and byte planned, as planned
    WritePlan plan;
};
