// What the writer remembers during one write, and the two passes it makes over the tree.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "../platform.h"

// The writer walks the tree twice. The check pass writes nothing: it makes every decision,
// refuses links and inputs where output would go, finds folders blocked by files, and counts
// the bytes. Only then does the write pass make the folders and write the files, each file
// under a temporary name first, and print the progress lines.
class OutputSession {
public:
    enum class Pass { Check, Write };

    // Starts a pass over the tree rooted at destination (which may itself be a link).
    void begin(Pass pass, const std::string& destination);
    bool writing() const { return currentPass == Pass::Write; }

    // A file the run reads: no output may replace it.
    void noteInput(const platform::FileIdentity& identity);

    // True when anything exists at path, or the pass has already written (or planned) a file there.
    bool exists(const std::string& path);

    // Makes one folder unless a folder stands there; throws IOERROR when it cannot, or when a
    // link or a file stands there.
    void ensureDirectory(const std::string& folder);

    // Writes a whole file at path, replacing any file there only once the new one is complete.
    // Throws IOERROR CannotWriteFile when it cannot be written.
    void writeFile(const std::string& path, std::string_view content);

    // The project file: opened first, written line by line, moved into place at the end.
    void openProjectFile(const std::string& path);
    void projectLine(std::string_view text);
    // A source file's line, which reading counted already.
    void listedFileLine(std::string_view file);
    void closeProjectFile();
    // After a failure: the unfinished project file leaves nothing behind.
    void abandonProjectFile();

    // Reads the base analyser personality once, converting its line ends to CR LF as a
    // Windows text-mode copy would. An empty path means none was given.
    void loadBaseAnalyserPersonality(const std::string& path);

    // Bytes the check pass found the output would hold, less the listed files' lines.
    unsigned long long bytesCounted() const { return bytes; }

    bool baseGiven = false;
    bool baseReadable = false;
    std::string baseText;

    bool messageDefaultMade = false;
    bool compilerDefaultMade = false;

private:
    // What stands at an output path: refuses a link, and a file the run reads. Below a folder
    // the check pass found missing nothing stands yet, and the disk is not asked.
    platform::Entry checkOutputPath(const std::string& path);
    bool isDestination(const std::string& path) const;

    Pass currentPass = Pass::Check;
    std::string destination;
    std::unordered_set<std::string> known;
    std::string missingFolder;  // the last folder the check pass found missing
    std::vector<platform::FileIdentity> inputs;
    unsigned long long bytes = 0;
    std::string projectPath;
    platform::ReplacementFile projectFile;
};
