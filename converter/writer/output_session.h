// What the writer remembers during one write: folders and files known to exist, the base
// analyser personality's text, and which default files were already made.
#pragma once

#include <string>
#include <unordered_set>

// The benchmark's reference build defines TAMSEL_NO_WRITE_CACHE: every answer is then asked
// of the file system again and every file written again, so comparing its output with the
// normal build's shows that the caches change no byte.
#ifdef TAMSEL_NO_WRITE_CACHE
inline constexpr bool writeCachesOn = false;
#else
inline constexpr bool writeCachesOn = true;
#endif

class OutputSession {
public:
    // True when anything exists at path. Only positive answers are remembered: nothing is
    // ever removed during a write, so a path that existed once still exists.
    bool exists(const std::string& path);

    // Makes one folder unless something exists there; throws IOERROR 1 when it cannot.
    void ensureDirectory(const std::string& folder);

    // Records a file the writer has just created.
    void noteWritten(const std::string& path) { known.insert(path); }

    // Reads the base analyser personality once, converting its line ends to CR LF as a
    // Windows text-mode copy would. An empty path means none was given.
    void loadBaseAnalyserPersonality(const std::string& path);

    bool baseGiven = false;
    bool baseReadable = false;
    std::string baseText;

    bool messageDefaultMade = false;
    bool compilerDefaultMade = false;

private:
    std::unordered_set<std::string> known;
};

// Writes text and CR LF: every output file is read by Windows tools.
void writeLine(std::ostream& out, std::string_view text);
