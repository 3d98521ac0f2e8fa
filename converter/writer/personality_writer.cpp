// Analyser personality files: a node's generated one, and the plain copy of the base.
#include <fstream>

#include "../console.h"
#include "../converter.h"
#include "../errors.h"
#include "../platform.h"
#include "../sub_project.h"

namespace {

std::ofstream openForWriting(const std::string& path)
{
    std::ofstream out;
    if (!platform::openOutput(path, out))
        throw IOERROR(IOERROR::CannotWriteFile, path);
    return out;
}

// A file cut short (a full disk) must not pass for a written one.
void finish(std::ofstream& out, const std::string& path, OutputSession& session)
{
    out.close();
    if (out.fail())
        throw IOERROR(IOERROR::CannotWriteFile, path);
    session.noteWritten(path);
}

}  // namespace

void SubProject::writeAnalyserPersonality(const std::string& file)
{
    std::ofstream out = openForWriting(file);
    std::string line;
    for (const std::string& folder : includePaths) {
        line.assign("-i \"").append(folder).append("\"");
        writeLine(out, line);
    }
    for (const auto& [macro, value] : defines) {
        line.assign("-d \"").append(macro);
        if (!value.text.empty() || value.assigned)
            line.append("=").append(value.text);
        line.append("\"");
        writeLine(out, line);
    }
    appendBaseAnalyserPersonality(out);
    finish(out, file, owner->session());
}

void SubProject::writeBaseAnalyserCopy(const std::string& file)
{
    std::ofstream out = openForWriting(file);
    appendBaseAnalyserPersonality(out);
    finish(out, file, owner->session());
}

void SubProject::appendBaseAnalyserPersonality(std::ostream& out)
{
    // The base text was read once before writing began.
    OutputSession& session = owner->session();
    if (!writeCachesOn)
        session.loadBaseAnalyserPersonality(owner->analyserPersonality);
    if (!session.baseGiven)
        return;
    if (!session.baseReadable) {
        printLine(message::baseNotOpened);
        return;
    }
    out.write(session.baseText.data(), static_cast<std::streamsize>(session.baseText.size()));
}
