// Analyser personality files: a node's generated one, and the plain copy of the base.
#include "../errors.h"
#include "../node_settings.h"
#include "output_session.h"
#include "write_context.h"

namespace {

// Every personality file ends in the base text: one that could not be read is said at each.
void sayWhenBaseUnreadable(WriteContext& context)
{
    if (context.base.given && !context.base.readable)
        context.plan.progress(message::baseNotOpened);
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
    sayWhenBaseUnreadable(context);
    context.plan.writePersonality(file, settings, context.base.text);
}

void planBaseAnalyserCopy(const std::string& file, WriteContext& context)
{
    sayWhenBaseUnreadable(context);
    context.plan.writeFile(file, {}, context.base.text);
}
