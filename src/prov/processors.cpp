#include "prov/processors.h"

#include <sched.h>

#include <thread>

namespace oryx::prov {

unsigned UsableProcessors() {
    static const unsigned count = [] {
        cpu_set_t set;
        CPU_ZERO(&set);
        if (sched_getaffinity(0, sizeof set, &set) == 0) return static_cast<unsigned>(CPU_COUNT(&set));
        return std::thread::hardware_concurrency();
    }();
    return count;
}

}  // namespace oryx::prov
