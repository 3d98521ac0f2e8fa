// The parts of the platform layer that are the same on every host.
#include "errors.h"
#include "platform.h"
#include "platform_files.h"
#include "text_util.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <iterator>

namespace platform {

std::size_t longestPart(std::string_view path)
{
    std::size_t longest = 0;
    forEachPart(path, "\\/", [&](std::string_view part) { longest = std::max(longest, part.size()); });
    return longest;
}

std::string environmentVariable(const char* name)
{
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

std::string fromHostPath(const std::string& path)
{
    std::string converted = path;
    convertSeparators(converted);
    return converted;
}

namespace {

std::atomic<unsigned> temporaryCount {0};

// Per call: how many calls more until the one that fails; 0 when none is to fail.
std::atomic<unsigned> untilFailure[std::size(files::allCalls)] {};

// True when this call is the one a test asked to fail.
bool failsNow(files::Call call)
{
    std::atomic<unsigned>& left = untilFailure[static_cast<std::size_t>(call)];
    unsigned now = left.load();
    while (now != 0 && !left.compare_exchange_weak(now, now - 1)) {
    }
    return now == 1;
}

files::NewFile createNew(const std::string& path, std::intptr_t& handle)
{
    return failsNow(files::Call::CreateNew) ? files::NewFile::Failed : files::createNew(path, handle);
}

bool writeAll(std::intptr_t handle, const char* data, std::size_t size)
{
    return !failsNow(files::Call::WriteAll) && files::writeAll(handle, data, size);
}

bool close(std::intptr_t handle)
{
    const bool fails = failsNow(files::Call::Close);
    return files::close(handle) && !fails;
}

bool replace(const std::string& from, const std::string& to)
{
    return !failsNow(files::Call::Replace) && files::replace(from, to);
}

bool remove(const std::string& path)
{
    return !failsNow(files::Call::Remove) && files::remove(path);
}

}  // namespace

namespace files {

void failNthCall(Call call, unsigned n)
{
    untilFailure[static_cast<std::size_t>(call)] = n;
}

namespace {

// Resizes text to size, holding no more room than that: a string that grows on its own may
// double its room, and a buffer at the input limit would then hold twice the limit.
void resizeExactly(std::string& text, std::size_t size)
{
    if (size > text.capacity()) {
        std::string larger;
        larger.reserve(size);
        larger.assign(text);
        text.swap(larger);
    }
    text.resize(size);
}

}  // namespace

ReadEnd readToEnd(std::intptr_t handle, std::size_t sizeHint, std::string& content)
{
    std::size_t filled = content.size();
    if (sizeHint > maximumInputBytes || filled > maximumInputBytes) {
        std::string().swap(content);
        return ReadEnd::TooLarge;
    }
    resizeExactly(content, std::max<std::size_t>(sizeHint + 1, filled + 4096));
    for (;;) {
        if (filled > maximumInputBytes) {
            std::string().swap(content);
            return ReadEnd::TooLarge;
        }
        // A block more than the limit shows a file too large; reads stay whole blocks, which
        // some files of the system (/proc/self/pagemap) insist on. The buffer goes straight to
        // its largest size rather than to the limit and then a block more, which would hold
        // twice the limit while it moved.
        if (filled == content.size()) {
            const std::size_t doubled = content.size() * 2;
            resizeExactly(content, doubled >= maximumInputBytes ? maximumInputBytes + 4096 : doubled);
        }
        const long long got = failsNow(Call::ReadSome) ? -1 : readSome(handle, content.data() + filled, content.size() - filled);
        if (got < 0)
            return ReadEnd::Failed;
        if (got == 0)
            break;
        filled += static_cast<std::size_t>(got);
    }
    content.resize(filled);
    return ReadEnd::Whole;
}

}  // namespace files

InputFile::~InputFile()
{
    if (opened)
        files::close(handle);
}

bool InputFile::open(const std::string& path, FileIdentity* identity)
{
    filePath = path;
    opened = files::openInput(path, handle, size, identity);
    if (opened && size > maximumInputBytes)
        throw FileTooLarge(path);
    return opened;
}

InputFile::Read InputFile::readMore(char* data, std::size_t most, std::size_t& got)
{
    got = 0;
    const long long result = failsNow(files::Call::ReadSome) ? -1 : files::readSome(handle, data, most);
    if (result <= 0)
        return result == 0 ? Read::End : Read::Failed;
    got = static_cast<std::size_t>(result);
    read += got;
    if (read > maximumInputBytes)
        throw FileTooLarge(filePath);
    return Read::More;
}

bool InputFile::readRest(std::string& content)
{
    const std::size_t before = content.size();
    const files::ReadEnd end = files::readToEnd(handle, size - std::min(size, read) + before, content);
    if (end == files::ReadEnd::TooLarge || read + (content.size() - before) > maximumInputBytes)
        throw FileTooLarge(filePath);
    read += content.size() - before;
    return end == files::ReadEnd::Whole;
}

bool readWholeFile(const std::string& path, std::string& content, FileIdentity* identity)
{
    content.clear();
    InputFile file;
    return file.open(path, identity) && file.readRest(content);
}

ReplacementFile::~ReplacementFile()
{
    discard();
}

namespace {

// ".tamsel-" and 16 hexadecimal digits (the process and a count) and ".tmp": short, and of one
// length, so the check pass can tell whether it fits before anything is made.
constexpr std::size_t temporaryNameLength = 28;

std::string temporaryName(unsigned long process, unsigned count)
{
    static constexpr char digits[] = "0123456789abcdef";
    std::string name = ".tamsel-";
    const unsigned long long number = (static_cast<unsigned long long>(process & 0xffffffffUL) << 32) | count;
    for (int shift = 60; shift >= 0; shift -= 4)
        name += digits[(number >> shift) & 0xf];
    return name + ".tmp";
}

// The folder part of path, with its last separator.
std::string folderOf(const std::string& path)
{
    const std::size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

}  // namespace

bool temporaryFits(const std::string& path)
{
    return nameFits(folderOf(path) + std::string(temporaryNameLength, 'x'));
}

bool ReplacementFile::open(const std::string& path)
{
    discard();
    failed = false;
    finished = false;
    if (files::hasNul(path))
        return false;
    finalPath = hostPath(path);
    const std::string folder = folderOf(finalPath);
    // A short name of its own: the final name may already be as long as the system allows.
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporaryPath = folder + temporaryName(files::processId(), temporaryCount++);
        const files::NewFile created = createNew(temporaryPath, handle);
        if (created == files::NewFile::Created) {
            buffer.reserve(1 << 16);
            return true;
        }
        if (created == files::NewFile::Failed)
            break;
    }
    temporaryPath.clear();
    return false;
}

bool ReplacementFile::flushBuffer()
{
    if (!failed && !writeAll(handle, buffer.data(), buffer.size()))
        failed = true;
    buffer.clear();
    return !failed;
}

bool ReplacementFile::finish()
{
    if (handle < 0)
        return false;
    flushBuffer();
    // A run may hold many finished files at once: their buffers go now.
    std::string().swap(buffer);
    if (!close(handle))
        failed = true;
    handle = -1;
    if (failed) {
        discard();
        return false;
    }
    finished = true;
    return true;
}

bool ReplacementFile::moveIntoPlace()
{
    if (!finished)
        return false;
    if (replace(temporaryPath, finalPath)) {
        temporaryPath.clear();
        finished = false;
        return true;
    }
    discard();
    return false;
}

void ReplacementFile::discard()
{
    if (handle >= 0)
        close(handle);
    handle = -1;
    finished = false;
    // A second try: on Windows a scanner may hold a file it has just seen being written.
    if (!temporaryPath.empty() && !remove(temporaryPath))
        remove(temporaryPath);
    temporaryPath.clear();
    std::string().swap(buffer);
}

bool ReplacementFile::writeLine(std::string_view line)
{
    // The common case, a line that fits the buffer, in one step.
    if (!failed && handle >= 0 && buffer.size() + line.size() + 2 <= buffer.capacity()) {
        buffer.append(line).append("\r\n");
        return true;
    }
    return write(line) && write("\r\n");
}

bool ReplacementFile::write(std::string_view bytes)
{
    if (failed || handle < 0)
        return false;
    if (buffer.size() + bytes.size() > buffer.capacity() && !flushBuffer())
        return false;
    if (bytes.size() >= buffer.capacity()) {
        // A large piece (a whole project file) goes to the file as it is, not through a copy.
        failed = !writeAll(handle, bytes.data(), bytes.size());
        return !failed;
    }
    buffer.append(bytes);
    return true;
}

}  // namespace platform
