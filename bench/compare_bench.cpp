// Speed and memory of the comparison of two large nodes.
//
//   compare_bench FIRST SECOND
//
// The load time of FIRST is the baseline. Printed: the comparison after both
// loads (and with the text written), the whole `oryx-cli diff FIRST SECOND`,
// and its peak memory against a process that only loads both files. Times
// are the best of five runs. The whole command is also given in processor
// time, which a busy machine disturbs less than the wall time, against a
// process that only loads FIRST: a new process pays the kernel for every
// page it touches, which the in-process load, reusing freed memory, does not.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench_util.h"
#include "compare/comparison.h"
#include "compare/diff_output.h"
#include "prov/component_store.h"
#include "prov/reader.h"

using namespace oryx;

namespace {

constexpr int kRuns = 5;
constexpr int kExitDiffer = 3;

// Processor time (user and system) of a command run with stdout to
// /dev/null; -1 when it exits with another status than `expectedExit`.
double CpuOfCommand(const std::vector<std::string>& argv, int expectedExit) {
    const bench::CommandRun run = bench::RunCommand(argv);
    return run.exitCode == expectedExit ? run.cpuSeconds : -1;
}

// The processes the diff is measured against: loading one or both files.
int LoadOnly(const std::vector<const char*>& files) {
    std::vector<prov::ComponentStore> stores(files.size());
    for (std::size_t i = 0; i < files.size(); ++i) prov::ReadProvisioningFile(files[i], stores[i]);
    for (const prov::ComponentStore& store : stores)
        if (store.NodeCount() == 0) return 1;
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "--load-only") == 0) return LoadOnly({argv + 2, argv + argc});
    if (argc != 3) {
        std::fprintf(stderr, "usage: compare_bench FIRST SECOND\n");
        return 2;
    }
    const std::string first = argv[1], second = argv[2];
    // Peak memory first, while this process is small: a forked child starts
    // out sharing the parent's pages and counts them.
    const std::vector<std::string> diff{ORYX_CLI_PATH, "diff", first, second};
    const long long diffRss = bench::PeakRssOfCommand(diff, kExitDiffer);
    const long long loadRss = bench::PeakRssOfCommand({"/proc/self/exe", "--load-only", first, second});
    if (diffRss < 0 || loadRss < 0) {
        std::fprintf(stderr, "compare_bench: the files must load and differ\n");
        return 1;
    }

    const double load = bench::BestOf(kRuns, [&] {
        prov::ComponentStore store;
        prov::ReadProvisioningFile(first, store);
    });
    double loadProcessCpu = 1e300;
    for (int run = 0; run < kRuns; ++run)
        loadProcessCpu = std::min(loadProcessCpu, CpuOfCommand({"/proc/self/exe", "--load-only", first}, 0));
    std::printf("%s against %s:\n", first.c_str(), second.c_str());
    std::printf("  %-34s %9.3f s\n", "one load (baseline)", load);
    std::printf("  %-34s %9.3f s\n", "a process loading it, processor", loadProcessCpu);

    prov::ComponentStore a, b;
    prov::ReadProvisioningFile(first, a);
    prov::ReadProvisioningFile(second, b);
    compare::DiffSummary summary;
    const double compared = bench::BestOf(kRuns, [&] { summary = compare::Comparison(a, b).Summary(); });
    std::printf("  %-34s %s\n", "differences", compare::SummaryLine(summary).c_str());
    bench::Report("comparison after both loads", compared, "s", compared / load, "of one load", 0.5);
    std::size_t bytes = 0;
    const double written = bench::BestOf(kRuns, [&] {
        bytes = 0;
        compare::WriteDiffText(compare::Comparison(a, b), [&](std::string_view t) { bytes += t.size(); });
    });
    std::printf("  %-34s %9.3f s %6.2fx of one load (%zu bytes of text)\n", "comparison with the text written", written,
                written / load, bytes);

    double wholeCpu = 1e300;
    const double whole = bench::BestOf(kRuns, [&] { wholeCpu = std::min(wholeCpu, CpuOfCommand(diff, kExitDiffer)); });
    bench::Report("oryx-cli diff as a whole", whole, "s", whole / load, "of one load", 2.6);
    bench::Report("  the same in processor time", wholeCpu, "s", wholeCpu / loadProcessCpu, "of that process", 2.6);
    bench::Report("peak memory of oryx-cli diff", static_cast<double>(diffRss) / 1e6, "MB",
                  static_cast<double>(diffRss) / static_cast<double>(loadRss), "of loading both", 1.1);
    std::printf("  %-34s %9.3f MB\n", "peak memory of loading both", static_cast<double>(loadRss) / 1e6);
    return 0;
}
