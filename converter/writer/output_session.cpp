// What the writer remembers during one write.
#include "output_session.h"

#include <fstream>
#include <iterator>
#include <ostream>

#include "../errors.h"
#include "../platform.h"

void writeLine(std::ostream& out, std::string_view text)
{
    // Straight into the buffer: ostream::write's sentry costs more than the copy for short lines.
    std::streambuf& buffer = *out.rdbuf();
    const auto size = static_cast<std::streamsize>(text.size());
    if (buffer.sputn(text.data(), size) != size || buffer.sputn("\r\n", 2) != 2)
        out.setstate(std::ios::badbit);
    // Without caches every line goes through at once, as with a flush after each line.
    if (!writeCachesOn)
        out.flush();
}

bool OutputSession::exists(const std::string& path)
{
    if (writeCachesOn && known.contains(path))
        return true;
    if (!platform::exists(path))
        return false;
    known.insert(path);
    return true;
}

void OutputSession::ensureDirectory(const std::string& folder)
{
    if (!writeCachesOn) {
        if (platform::exists(folder))
            return;
    } else if (known.contains(folder)) {
        return;
    }
    // Making the folder answers the existence question too: an entry already there counts as
    // made. Asking first cost a second look-up of every new folder, a tenth of a conversion.
    // A refusal is still no failure when something exists there (a drive's root, say).
    if (!platform::makeFolder(folder) && !platform::exists(folder))
        throw IOERROR(IOERROR::CannotCreateDirectory, folder);
    known.insert(folder);
}

void OutputSession::loadBaseAnalyserPersonality(const std::string& path)
{
    baseGiven = !path.empty();
    baseReadable = false;
    baseText.clear();
    if (!baseGiven)
        return;
    std::ifstream in;
    if (!platform::openInput(path, in))
        return;
    const std::string raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    baseReadable = true;
    // As a text-mode copy on Windows: CR LF is read as LF, and every LF is written as CR LF;
    // a CR on its own stays.
    baseText.reserve(raw.size() + raw.size() / 16);
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n')
            continue;
        if (raw[i] == '\n')
            baseText += '\r';
        baseText += raw[i];
    }
}
