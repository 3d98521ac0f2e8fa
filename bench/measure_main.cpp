// Runs one program and reports its wall time, exit status and peak memory. A child's peak
// memory as the kernel reports it is at least that of the process it was started from (the
// forked copy counts until exec), so the benchmark starts each measured program from this
// small, statically linked launcher rather than from the driver, whose memory would show.
// Usage: tamsel_measure <report_file> <program> [arguments...]; the report is one line:
// exit status (-1 when killed), wall seconds, peak resident set in KiB, CPU seconds (user and
// system).
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "Usage: tamsel_measure <report_file> <program> [arguments...]\n");
        return 2;
    }
    timespec start {};
    ::clock_gettime(CLOCK_MONOTONIC, &start);
    const pid_t pid = ::fork();
    if (pid < 0) {
        std::perror("tamsel_measure: fork");
        return 2;
    }
    if (pid == 0) {
        ::execv(argv[2], argv + 2);
        std::perror("tamsel_measure: exec");
        ::_exit(127);
    }
    int status = 0;
    rusage usage {};
    while (::wait4(pid, &status, 0, &usage) < 0) {
        if (errno != EINTR) {
            std::perror("tamsel_measure: wait4");
            return 2;
        }
    }
    timespec end {};
    ::clock_gettime(CLOCK_MONOTONIC, &end);
    const double seconds =
        static_cast<double>(end.tv_sec - start.tv_sec) + static_cast<double>(end.tv_nsec - start.tv_nsec) / 1e9;

    std::FILE* report = std::fopen(argv[1], "w");
    if (report == nullptr) {
        std::perror("tamsel_measure: report");
        return 2;
    }
    const double cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
                              + static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    std::fprintf(report, "%d %.6f %ld %.6f\n", WIFEXITED(status) ? WEXITSTATUS(status) : -1, seconds, usage.ru_maxrss,
                 cpuSeconds);
    return std::fclose(report) == 0 ? 0 : 2;
}
