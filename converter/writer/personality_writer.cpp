// Analyser personality files: a node's generated one, and the plain copy of the base.
#include "../console.h"
#include "../converter.h"
#include "../errors.h"
#include "../sub_project.h"

void SubProject::writeAnalyserPersonality(const std::string& file)
{
    std::string content;
    for (const std::string& folder : settings.includePaths)
        content.append("-i \"").append(folder).append("\"\r\n");
    for (const auto& [macro, value] : settings.defines) {
        content.append("-d \"").append(macro);
        if (!value.text.empty() || value.assigned)
            content.append("=").append(value.text);
        content.append("\"\r\n");
    }
    appendBaseAnalyserPersonality(content);
    owner->session().writeFile(file, content);
}

void SubProject::writeBaseAnalyserCopy(const std::string& file)
{
    std::string content;
    appendBaseAnalyserPersonality(content);
    owner->session().writeFile(file, content);
}

void SubProject::appendBaseAnalyserPersonality(std::string& content)
{
    // The base text was read once before writing began.
    OutputSession& session = owner->session();
    if (!session.baseGiven)
        return;
    if (!session.baseReadable) {
        if (session.writing())
            printLine(message::baseNotOpened);
        return;
    }
    content.append(session.baseText);
}
