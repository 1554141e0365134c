#pragma once

// Timing and memory helpers shared by the benchmark programs.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <string>
#include <vector>

namespace oryx::bench {

// Best wall time of `runs` runs, in seconds.
inline double BestOf(int runs, const std::function<void()>& work) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        if (took.count() < best) best = took.count();
    }
    return best;
}

// Processor time of this process so far, in seconds: figures that stay
// meaningful when other programs share the machine.
inline double CpuSeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Best processor time of `runs` runs, in seconds.
inline double BestCpuOf(int runs, const std::function<void()>& work) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        const double start = CpuSeconds();
        work();
        best = std::min(best, CpuSeconds() - start);
    }
    return best;
}

// What a command run with stdout to /dev/null took.
struct CommandRun {
    int exitCode = -1;      // -1 when it did not exit normally
    double seconds = 0;     // on the wall clock
    double cpuSeconds = 0;  // user and system
    long long peakRss = 0;  // resident memory at the peak, in bytes
};

inline CommandRun RunCommand(const std::vector<std::string>& argv) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int devnull = ::open("/dev/null", O_WRONLY);
        ::dup2(devnull, STDOUT_FILENO);
        std::vector<char*> args;
        for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
    int status = 0;
    struct rusage usage {};
    ::wait4(pid, &status, 0, &usage);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, took.count(),
            seconds(usage.ru_utime) + seconds(usage.ru_stime), static_cast<long long>(usage.ru_maxrss) * 1024};
}

// Peak resident memory in bytes of a command run with stdout to /dev/null;
// -1 when it fails or exits with another status than `expectedExit`.
inline long long PeakRssOfCommand(const std::vector<std::string>& argv, int expectedExit = 0) {
    const CommandRun run = RunCommand(argv);
    return run.exitCode == expectedExit ? run.peakRss : -1;
}

inline void Report(const char* what, double value, const char* unit, double ratio, const char* against, double target) {
    std::printf("  %-34s %9.3f %-3s %6.2fx %-22s (target <= %.2fx) %s\n", what, value, unit, ratio, against, target,
                ratio <= target ? "ok" : "MISSED");
}

}  // namespace oryx::bench
