// Analyser personality files: a node's generated one, and the plain copy of the base.
#include "../errors.h"
#include "../node_settings.h"
#include "output_session.h"
#include "write_context.h"

namespace {

// Plans file as content followed by the base text, which every personality file shares.
void planWithBase(const std::string& file, std::string content, WriteContext& context)
{
    if (context.base.given && !context.base.readable)
        context.plan.progress(message::baseNotOpened);
    context.plan.writeFile(file, std::move(content), context.base.text);
}

}  // namespace

BasePersonality BasePersonality::load(const std::string& path, platform::FileIdentity& identity)
{
    BasePersonality base;
    base.given = !path.empty();
    std::string raw;
    if (!base.given || !platform::readWholeFile(path, raw, &identity))
        return base;
    base.readable = true;
    // As a text-mode copy on Windows: CR LF is read as LF, and every LF is written as CR LF;
    // a CR on its own stays.
    base.text.reserve(raw.size() + raw.size() / 16);
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n')
            continue;
        if (raw[i] == '\n')
            base.text += '\r';
        base.text += raw[i];
    }
    return base;
}

void planAnalyserPersonality(const NodeSettings& settings, const std::string& file, WriteContext& context)
{
    std::string content;
    settings.forEachIncludeFolder(
        [&](const std::string& folder) { content.append("-i \"").append(folder).append("\"\r\n"); });
    settings.forEachDefine([&](const std::string& macro, const DefineValue& value) {
        content.append("-d \"").append(macro);
        if (!value.text.empty() || value.assigned)
            content.append("=").append(value.text);
        content.append("\"\r\n");
    });
    planWithBase(file, std::move(content), context);
}

void planBaseAnalyserCopy(const std::string& file, WriteContext& context)
{
    planWithBase(file, {}, context);
}
