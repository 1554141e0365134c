// Speed and memory of the comparison of two large nodes.
//
//   compare_bench FIRST SECOND
//
// The load time of FIRST is the baseline. Printed: the comparison after both
// loads (and with the text written), the whole `oryx-cli diff FIRST SECOND`,
// and its peak memory against a process that only loads both files.
#include <cstdio>
#include <cstring>
#include <string>

#include "bench_util.h"
#include "compare/comparison.h"
#include "compare/diff_output.h"
#include "prov/component_store.h"
#include "prov/reader.h"

using namespace oryx;

namespace {

constexpr int kRuns = 5;
constexpr int kCommandRuns = 3;
constexpr int kExitDiffer = 3;

// The process the diff's memory is measured against.
int LoadOnly(const char* first, const char* second) {
    prov::ComponentStore a, b;
    prov::ReadProvisioningFile(first, a);
    prov::ReadProvisioningFile(second, b);
    return a.NodeCount() > 0 && b.NodeCount() > 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--load-only") == 0) return LoadOnly(argv[2], argv[3]);
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
    std::printf("%s against %s:\n", first.c_str(), second.c_str());
    std::printf("  %-34s %9.3f s\n", "one load (baseline)", load);

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
    std::printf("  %-34s %9.3f s %6.2fx of one load (%zu bytes of text)\n", "comparison with the text written",
                written, written / load, bytes);

    const double whole = bench::BestOf(kCommandRuns, [&] { bench::PeakRssOfCommand(diff, kExitDiffer); });
    bench::Report("oryx-cli diff as a whole", whole, "s", whole / load, "of one load", 2.6);
    bench::Report("peak memory of oryx-cli diff", diffRss / 1e6, "MB", static_cast<double>(diffRss) / loadRss,
                  "of loading both", 1.1);
    std::printf("  %-34s %9.3f MB\n", "peak memory of loading both", loadRss / 1e6);
    return 0;
}
