// Speed and memory of `oryx-cli history` over a series of versions.
//
//   history_bench NODE MODIFIED SMALL SMALL_MODIFIED
//
// A series alternates a node and its modified copy, so each version differs
// from the one before in about 1% of its values and 2,000 components. Ten
// versions of NODE: the wall time of `oryx-cli history` against a process
// that loads the ten files one after the other, and its peak memory against
// a process that loads NODE once. A hundred versions of SMALL: the wall time
// of `history --values` against the hundred loads alone. Best of three runs;
// stdout goes to /dev/null. The processor time of the ten-version run
// against that of the ten loads shows the work of the comparisons, which the
// wall time hides behind the reading on two idle cores.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench_util.h"
#include "prov/component_store.h"
#include "prov/reader.h"

using namespace oryx;

namespace {

constexpr int kRuns = 3;
constexpr int kExitDiffer = 3;

// The baseline process: each file loaded in turn, one store at a time.
int LoadEach(int count, char** files) {
    for (int i = 0; i < count; ++i) {
        prov::ComponentStore store;
        prov::ReadProvisioningFile(files[i], store);
        if (store.NodeCount() == 0) return 1;
    }
    return 0;
}

// The best wall time and the highest peak of kRuns runs; -1 seconds when a
// run exits with another status than `expectedExit`.
bench::CommandRun Best(const std::vector<std::string>& argv, int expectedExit) {
    bench::CommandRun best{expectedExit, 1e300, 1e300, 0};
    for (int i = 0; i < kRuns; ++i) {
        const bench::CommandRun run = bench::RunCommand(argv);
        if (run.exitCode != expectedExit) return {run.exitCode, -1, 0, 0};
        best.seconds = std::min(best.seconds, run.seconds);
        best.cpuSeconds = std::min(best.cpuSeconds, run.cpuSeconds);
        best.peakRss = std::max(best.peakRss, run.peakRss);
    }
    return best;
}

std::vector<std::string> Series(const std::string& node, const std::string& modified, int versions) {
    std::vector<std::string> files;
    for (int i = 0; i < versions; ++i) files.push_back(i % 2 == 0 ? node : modified);
    return files;
}

std::vector<std::string> Command(std::vector<std::string> head, const std::vector<std::string>& files) {
    head.insert(head.end(), files.begin(), files.end());
    return head;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "--load-each") == 0) return LoadEach(argc - 2, argv + 2);
    if (argc != 5) {
        std::fprintf(stderr, "usage: history_bench NODE MODIFIED SMALL SMALL_MODIFIED\n");
        return 2;
    }
    const std::vector<std::string> ten = Series(argv[1], argv[2], 10);
    const std::vector<std::string> hundred = Series(argv[3], argv[4], 100);

    // Peak memory first, while this process is small.
    const bench::CommandRun oneLoad = Best({"/proc/self/exe", "--load-each", argv[1]}, 0);
    const bench::CommandRun loads = Best(Command({"/proc/self/exe", "--load-each"}, ten), 0);
    const bench::CommandRun history = Best(Command({ORYX_CLI_PATH, "history"}, ten), kExitDiffer);
    const std::string path = "Shelf Card/1";
    const bench::CommandRun smallLoads = Best(Command({"/proc/self/exe", "--load-each"}, hundred), 0);
    const bench::CommandRun values = Best(Command({ORYX_CLI_PATH, "history", "--values", "--path", path}, hundred), 0);
    if (oneLoad.seconds < 0 || loads.seconds < 0 || history.seconds < 0 || smallLoads.seconds < 0 ||
        values.seconds < 0) {
        std::fprintf(stderr, "history_bench: a run failed (the versions must load and differ)\n");
        return 1;
    }

    std::printf("ten versions of %s and %s, alternating:\n", argv[1], argv[2]);
    std::printf("  %-34s %9.3f s\n", "ten loads in turn (baseline)", loads.seconds);
    bench::Report("oryx-cli history", history.seconds, "s", history.seconds / loads.seconds, "of the ten loads", 1.3);
    std::printf("  %-34s %9.3f s %6.2fx of the ten loads' %.3f s\n", "  the same in processor time", history.cpuSeconds,
                history.cpuSeconds / loads.cpuSeconds, loads.cpuSeconds);
    std::printf("  %-34s %9.3f MB\n", "peak memory of one load", static_cast<double>(oneLoad.peakRss) / 1e6);
    bench::Report("peak memory of oryx-cli history", static_cast<double>(history.peakRss) / 1e6, "MB",
                  static_cast<double>(history.peakRss) / static_cast<double>(oneLoad.peakRss), "of one load", 3.2);
    std::printf("a hundred versions of %s and %s:\n", argv[3], argv[4]);
    std::printf("  %-34s %9.3f s\n", "a hundred loads in turn (baseline)", smallLoads.seconds);
    bench::Report("oryx-cli history --values", values.seconds, "s", values.seconds / smallLoads.seconds, "of the loads",
                  1.2);
    return 0;
}
