#pragma once

#include <chrono>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace oryx::prov {

// Polls `ready` for at most `limit` and says whether it became true.
// Two threads that hand each other work thousands of times a second lose more
// to waking one that went to sleep (on a virtual machine, often longer than
// the work handed over) than to polling a little first.
template <typename Ready>
bool SpinUntil(Ready&& ready, std::chrono::microseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (unsigned i = 1;; ++i) {
        if (ready()) return true;
#if defined(__x86_64__) || defined(__i386__)
        _mm_pause();
#endif
        if (i % 64 == 0 && std::chrono::steady_clock::now() >= deadline) return false;
    }
}

}  // namespace oryx::prov
