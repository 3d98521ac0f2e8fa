// A stand-in for the converter in the wizard's runner tests; WENLOCK_STAND_IN tells it what to do.
//
// The plan is a list of steps separated by blanks, done in order:
//   args       print each argument as "[argument]" on a line of its own
//   out:HEX    write these bytes (two hex digits each) to standard output at once
//   wait:MS    sleep for MS milliseconds
//   exit:N     end with exit status N (the end of the plan ends with 0)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <thread>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

void writeNow(const std::string& bytes)
{
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
}

std::string fromHex(const std::string& hex)
{
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}

} // namespace

int main(int argc, char** argv)
{
#ifdef _WIN32
    // The bytes go out as given: no line-end translation.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    const char* plan = std::getenv("WENLOCK_STAND_IN");
    std::istringstream steps(plan ? plan : "");
    std::string step;
    while (steps >> step) {
        const std::size_t colon = step.find(':');
        const std::string verb = step.substr(0, colon);
        const std::string value = colon == std::string::npos ? std::string() : step.substr(colon + 1);
        if (verb == "args") {
            // Appended piece by piece: GCC 12 warns falsely about "[" + std::string(...).
            for (int i = 1; i < argc; ++i)
                writeNow(std::string("[").append(argv[i]).append("]\n"));
        } else if (verb == "out") {
            writeNow(fromHex(value));
        } else if (verb == "wait") {
            std::this_thread::sleep_for(std::chrono::milliseconds(std::stoi(value)));
        } else if (verb == "exit") {
            return std::stoi(value);
        } else {
            std::fprintf(stderr, "stand-in: unknown step %s\n", step.c_str());
            return 2;
        }
    }
    return 0;
}
