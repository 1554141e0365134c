#pragma once

// Running code with little memory left, to see how running out is reported.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstddef>
#include <fstream>
#include <functional>

namespace oryx::testing {

// The address sanitizer reserves far more address space than a limit allows.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kMemoryLimitsWork = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kMemoryLimitsWork = false;
#else
inline constexpr bool kMemoryLimitsWork = true;
#endif
#else
inline constexpr bool kMemoryLimitsWork = true;
#endif

// Runs `body` in a child process whose address space may grow by `headroom`
// bytes beyond what it holds at the start, and returns its exit code.
inline int WithMemoryHeadroom(std::size_t headroom, const std::function<int()>& body) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::size_t pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        const rlim_t bytes = pages * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE)) + headroom;
        const rlimit limit{bytes, bytes};
        if (::setrlimit(RLIMIT_AS, &limit) != 0) ::_exit(99);
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace oryx::testing
