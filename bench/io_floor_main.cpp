// The I/O floor: makes the folders and writes the files of a converter output tree, and
// nothing else, so the conversion can be timed against it. The tree is read into memory
// first; only the writing is timed: its wall and CPU seconds are printed on standard output.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>

#include "output_tree.h"

namespace {

double cpuSeconds()
{
    rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
           + static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

bool writeAll(int descriptor, const std::string& bytes)
{
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t count = ::write(descriptor, bytes.data() + written, bytes.size() - written);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        written += static_cast<std::size_t>(count);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "Usage: tamsel_io_floor <tree_to_copy> <existing_destination>\n");
        return 2;
    }
    OutputTree tree;
    try {
        tree = readTree(argv[1]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tamsel_io_floor: %s\n", error.what());
        return 1;
    }
    const std::string destination = std::string(argv[2]) + "/";

    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = cpuSeconds();
    // Folders in tree order, parents before their children, as the converter makes them.
    for (const std::string& folder : tree.folders) {
        const std::string path = destination + folder;
        if (::mkdir(path.c_str(), 0777) != 0 && errno != EEXIST) {
            std::fprintf(stderr, "tamsel_io_floor: cannot make %s: %s\n", path.c_str(), std::strerror(errno));
            return 1;
        }
    }
    for (const TreeFile& file : tree.files) {
        const std::string path = destination + file.path;
        const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        const bool written = descriptor >= 0 && writeAll(descriptor, file.bytes);
        if (descriptor < 0 || ::close(descriptor) != 0 || !written) {
            std::fprintf(stderr, "tamsel_io_floor: cannot write %s: %s\n", path.c_str(), std::strerror(errno));
            return 1;
        }
    }
    const auto end = std::chrono::steady_clock::now();
    std::printf("%.6f %.6f\n", std::chrono::duration<double>(end - start).count(), cpuSeconds() - cpuStart);
    return 0;
}
