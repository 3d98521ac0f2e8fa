// The converter's two exception types and the one place their messages are spelled.
#pragma once

#include <string>

// A Keil project or workspace file could not be read to its end.
class AsciiReaderError {
public:
    enum Code { UnexpectedEof = 1, CannotOpen = 2, Malformed = 3 };

    explicit AsciiReaderError(int code, std::string path = {}) : code(code), path(std::move(path)) {}

    int code;
    std::string path;  // the file that could not be opened (2) or understood (3)
};

// An output folder or file could not be made.
class IOERROR {
public:
    enum Code { CannotCreateDirectory = 1, CannotWriteFile = 2, NameLeavesDestination = 3 };

    IOERROR(int code, std::string path) : code(code), path(std::move(path)) {}

    int code;
    std::string path;
};

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
}  // namespace message
