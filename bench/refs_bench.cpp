// The reference index on a large file, against the load of the same file.
//
//   refs_bench FILE [PATH]     (PATH default "Lp/0": a component many values name)
//
// In processor time of this process, best of a few runs, so the figures stay
// meaningful when other programs share the machine:
//  - building the index of the loaded store, against the load;
//  - the memory the index holds (malloc'd bytes), against the peak resident
//    memory of `oryx-cli attrs FILE PATH` (a load and little else);
//  - `oryx-cli refs FILE PATH --below` and `refs FILE --unresolved`, whole
//    process, against `oryx-cli attrs FILE PATH`: time and peak memory.
#include <malloc.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>

#include "bench_util.h"
#include "prov/component_store.h"
#include "prov/reader.h"
#include "refs/reference_index.h"

using namespace oryx;

namespace {

constexpr int kRuns = 3;

using bench::BestCpuOf;
using bench::CpuSeconds;

bench::CommandRun BestRun(const std::vector<std::string>& argv, int expectedExit) {
    bench::CommandRun best;
    best.cpuSeconds = 1e300;
    for (int i = 0; i < kRuns; ++i) {
        const bench::CommandRun run = bench::RunCommand(argv);
        if (run.exitCode != expectedExit) {
            std::printf("  %s exited with %d\n", argv[1].c_str(), run.exitCode);
            return run;
        }
        if (run.cpuSeconds < best.cpuSeconds) best = run;
    }
    return best;
}

std::size_t MallocedBytes() { return mallinfo2().uordblks; }

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: refs_bench FILE [PATH]\n");
        return 2;
    }
    const std::string file = argv[1];
    const std::string path = argc > 2 ? argv[2] : "Lp/0";

    const double load = BestCpuOf(kRuns, [&] {
        prov::ComponentStore store;
        prov::ReadProvisioningFile(file, store);
    });
    prov::ComponentStore store;
    prov::ReadProvisioningFile(file, store);
    std::size_t references = 0;
    const double build = BestCpuOf(kRuns, [&] { references = refs::ReferenceIndex(store).All().size(); });
    const std::size_t before = MallocedBytes();
    std::size_t held = 0;
    {
        const refs::ReferenceIndex index(store);
        held = MallocedBytes() - before;
    }
    std::printf("%s: %zu references\n", file.c_str(), references);
    std::printf("  %-34s %9.3f s\n", "load (processor time)", load);
    bench::Report("index build", build, "s", build / load, "of load", 0.2);

    const std::string cli = ORYX_CLI_PATH;
    const bench::CommandRun attrs = BestRun({cli, "attrs", file, path}, 0);
    const double heldMb = static_cast<double>(held) / 1e6;
    bench::Report("index memory", heldMb, "MB", static_cast<double>(held) / static_cast<double>(attrs.peakRss),
                  "of attrs' peak", 0.2);
    std::printf("  %-34s %9.3f s %9.1f MB peak\n", "oryx-cli attrs FILE PATH", attrs.cpuSeconds,
                static_cast<double>(attrs.peakRss) / 1e6);
    const struct {
        const char* what;
        std::vector<std::string> argv;
    } runs[] = {
        {"oryx-cli refs FILE PATH --below", {cli, "refs", file, path, "--below"}},
        {"oryx-cli refs FILE --unresolved", {cli, "refs", file, "--unresolved"}},
    };
    for (const auto& r : runs) {
        const bench::CommandRun run = BestRun(r.argv, 0);
        bench::Report(r.what, run.cpuSeconds, "s", run.cpuSeconds / attrs.cpuSeconds, "of attrs", 1.3);
        bench::Report("  its peak memory", static_cast<double>(run.peakRss) / 1e6, "MB",
                      static_cast<double>(run.peakRss) / static_cast<double>(attrs.peakRss), "of attrs' peak", 1.2);
    }
    return 0;
}
