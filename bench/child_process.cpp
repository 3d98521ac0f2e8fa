// Runs child processes and measures them: wall time, exit status, peak memory and CPU time.
#include "child_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <stdexcept>

extern char** environ;

ChildResult runChild(const std::string& program, const std::vector<std::string>& arguments,
                     const std::string& outputFile)
{
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const char* target = outputFile.empty() ? "/dev/null" : outputFile.c_str();
    posix_spawn_file_actions_addopen(&actions, 1, target, O_WRONLY | O_CREAT | O_TRUNC, 0644);

    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int error = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
        throw std::runtime_error("cannot start " + program + ": " + std::strerror(error));

    // wait4 gives this one child's usage, so each run's peak memory is its own.
    int status = 0;
    rusage usage {};
    while (::wait4(pid, &status, 0, &usage) < 0)
        if (errno != EINTR)
            throw std::runtime_error("cannot wait for " + program + ": " + std::strerror(errno));
    const auto end = std::chrono::steady_clock::now();

    ChildResult result;
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.seconds = std::chrono::duration<double>(end - start).count();
    result.maxRssKiB = usage.ru_maxrss;
    result.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
                        + static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    return result;
}

ChildResult runMeasured(const std::string& launcher, const std::string& program,
                        const std::vector<std::string>& arguments, const std::filesystem::path& log)
{
    const std::filesystem::path report = log.string() + ".measured";
    std::vector<std::string> launch{report.string(), program};
    launch.insert(launch.end(), arguments.begin(), arguments.end());
    const ChildResult started = runChild(launcher, launch, log.string());
    ChildResult measured;
    std::ifstream in(report);
    if (started.exitStatus != 0
        || !(in >> measured.exitStatus >> measured.seconds >> measured.maxRssKiB >> measured.cpuSeconds))
        throw std::runtime_error("could not measure " + program);
    return measured;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}
