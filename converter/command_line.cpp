// The converter's command line.
#include "command_line.h"

#include "console.h"
#include "errors.h"
#include "platform.h"
#include "text_util.h"

void printUsage()
{
    printLine(message::usageLine1);
    printLine(message::usageLine2);
}

std::string makeAbsolutePath(const std::string& written)
{
    const std::string path = platform::fromHostPath(written);
    if (path.size() >= 2 && path[1] == ':') {
        if (path.size() >= 3 && path[2] == '\\')
            return path;
        std::string absolute;
        if (!platform::driveRelativeToAbsolute(path, absolute))
            throw IOERROR(IOERROR::CurrentFolderUnknown, path);
        return absolute;
    }
    if (platform::isRooted(path))
        return path;
    // Without its folder a relative path would quietly become "\name", a different file.
    std::string current;
    if (!platform::currentFolder(current))
        throw IOERROR(IOERROR::CurrentFolderUnknown, path);
    if (path == ".")
        return current;
    return joinPath(current, path);
}

std::string defaultProjectName(const std::string& sourcePath)
{
    const std::size_t lastDot = sourcePath.rfind('.');
    const std::string withoutExtension = sourcePath.substr(0, lastDot);
    const std::size_t slash = withoutExtension.rfind('\\');
    const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t innerDot = withoutExtension.rfind('.');
    if (innerDot != std::string::npos && innerDot >= start)
        return withoutExtension.substr(start, innerDot - start);
    return withoutExtension.substr(start);
}

void applyOptions(RunSettings& settings, const std::vector<std::string>& arguments)
{
    // An option in the last place has no value; it is ignored.
    for (std::size_t i = 1; i + 1 < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        const std::string& value = arguments[i + 1];
        if (option == "-pn")
            settings.projectName = value;
        else if (option == "-mp")
            settings.messagePersonality = makeAbsolutePath(value);
        else if (option == "-ap")
            settings.analyserPersonality = makeAbsolutePath(value);
        else if (option == "-cp")
            settings.compilerPersonality = makeAbsolutePath(value);
        else if (option == "-pack")
            settings.packRoot = makeAbsolutePath(value);
        else if (option == "-ext")
            settings.addExtensions(value);
    }
}

int runTamsel(int argc, const char* const* argv, TreeAtEnd treeAtEnd)
{
    if (argc < 4) {
        // Nothing was converted, so this is no success.
        printUsage();
        return 1;
    }
    platform::ignoreQuietSignals();
    try {
        const std::vector<std::string> arguments(argv, argv + argc);
        // The source first: making a drive-relative path absolute may change folders.
        RunSettings settings;
        settings.sourcePath = makeAbsolutePath(arguments[1]);
        settings.destinationFolder = makeAbsolutePath(arguments[2]);
        settings.projectName = defaultProjectName(settings.sourcePath);
        applyOptions(settings, arguments);
        return runConversion(settings, treeAtEnd);
    } catch (...) {
        return reportFailure();
    }
}
