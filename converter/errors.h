// The converter's exception types and the one place their messages are spelled.
#pragma once

#include <cstddef>
#include <string>

// A Keil project, workspace or personality could not be read, or holds what cannot be converted.
class AsciiReaderError {
public:
    enum class Code {
        UnexpectedEof = 1,
        CannotOpen = 2,
        Malformed = 3,
        NotKeilProject = 4,
    };
    using enum Code;

    explicit AsciiReaderError(Code code, std::string path = {}) : code(code), path(std::move(path)) {}

    Code code;
    std::string path;  // the file concerned, where there is one
};

// The file system refused what the run needs, or the output would go where it must not.
class IOERROR {
public:
    enum class Code {
        CannotCreateDirectory = 1,
        CannotWriteFile = 2,
        NameLeavesDestination = 3,
        CurrentFolderUnknown = 4,
        OutputIsLink = 5,
        OverwritesInput = 6,
        DestinationInUse = 7,
        ProjectNameNotPlain = 8,
    };
    using enum Code;

    IOERROR(Code code, std::string path) : code(code), path(std::move(path)) {}

    Code code;
    std::string path;
};

// The run would go past one of its limits (see Budget): the project is too large to convert.
class LimitExceeded {
public:
    enum class Limit { Nodes, OutputBytes };
    using enum Limit;

    explicit LimitExceeded(Limit limit) : limit(limit) {}

    Limit limit;
};

// An input file larger than any Keil file, or one that never ends: refused before memory runs out.
class FileTooLarge {
public:
    explicit FileTooLarge(std::string path) : path(std::move(path)) {}

    std::string path;
};

// The run was interrupted (Ctrl-C, SIGTERM, SIGHUP) before its files were moved into place.
class Interrupted {};

// The limits that keep a hostile or broken project from exhausting the machine.
inline constexpr std::size_t maximumNodes = 1'000'000;
inline constexpr unsigned long long maximumOutputBytes = 256ULL << 20;
inline constexpr unsigned long long maximumInputBytes = 256ULL << 20;
// A line of a text input, or a stretch of an XML input without markup, longer than this makes
// the file too large: one value of hundreds of MB (a define, a folder, a path) would otherwise
// be held several times over while it is read. Real lines hold a few KB.
inline constexpr std::size_t maximumLineBytes = 64u << 20;

// Prints the one line that names the exception being handled and returns the exit status 1.
// Call it only inside a catch block; anything unforeseen gets a line too.
int reportFailure() noexcept;

namespace message {
inline constexpr const char* usageLine1 =
    "Usage: Tamsel <source_proj> <dest_folder> -cp <compiler_personality> [-pn dest_proj_name]";
inline constexpr const char* usageLine2 =
    "[-mp message_personality] [-ap analyser_personality] [-ext file_extension]";
inline constexpr const char* couldNotOpen = "Could not open file: ";
inline constexpr const char* unexpectedEof = "Keil Uv Project file parsing encountered unexpected EOF";
inline constexpr const char* couldNotCreateDirectory = "Could not create directory: ";
inline constexpr const char* couldNotWrite = "Could not write file: ";
inline constexpr const char* noTargetForOptions =
    "Couldnt find target for options, or options apply to a group which is currently not supported";
inline constexpr const char* baseNotOpened = "Couldnt open file";
inline constexpr const char* creatingProject = "Creating Ostra/Ostra++ Project ...";
inline constexpr const char* creatingGroup = "  Creating Group - ";
inline constexpr const char* creatingAnalyser = "  Creating Analyser Personality - ";
inline constexpr const char* projectCompleted = "Ostra/Ostra++ Project Completed!";
inline constexpr const char* runFailed = "Conversion failed: ";
inline constexpr const char* nameLeavesDestination = "Name would lead out of the destination folder: ";
inline constexpr const char* malformedXml = "Malformed Keil project file: ";
inline constexpr const char* fileOptionsNotCarried = "File options not carried over: ";
inline constexpr const char* notKeilProject = "Not a Keil project file: ";
inline constexpr const char* currentFolderUnknown = "Could not determine the current folder";
inline constexpr const char* outputIsLink = "Output path is a link: ";
inline constexpr const char* overwritesInput = "Output would overwrite an input: ";
inline constexpr const char* destinationInUse = "Destination is in use by another conversion: ";
inline constexpr const char* projectNameNotPlain = "Project name must be a plain file name: ";
inline constexpr const char* packNotInstalled = "Pack not installed: ";
inline constexpr const char* malformedPack = "Malformed pack description: ";
inline constexpr const char* deviceNotFound = "Device not found in pack: ";
inline constexpr const char* interrupted = "Conversion interrupted";
inline constexpr const char* tooManyNodes =
    "Project too large: more than 1000000 projects, targets and groups";
inline constexpr const char* tooMuchOutput = "Project too large: the output would exceed 256 MiB";
inline constexpr const char* fileTooLarge = "File too large: ";
}  // namespace message
