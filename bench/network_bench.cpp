// Speed and memory of a report over a whole network of nodes.
//
//   network_bench FOLDER
//
// Runs `oryx-cli report atmif-vcc FOLDER` with -j 1 and with -j 2 (stdout to
// /dev/null), best wall time of three runs each, and compares the peak memory
// of the -j 2 run with that of the same report on the largest file alone.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_util.h"

namespace {

constexpr int kRuns = 3;

// Runs the command with stdout to /dev/null; a failed run ends the benchmark.
oryx::bench::CommandRun RunOrEnd(const std::vector<std::string>& argv) {
    const oryx::bench::CommandRun run = oryx::bench::RunCommand(argv);
    if (run.exitCode != 0) {
        std::fprintf(stderr, "network_bench: %s failed\n", argv[0].c_str());
        std::exit(1);
    }
    return run;
}

// The best time and the highest peak of `kRuns` runs.
oryx::bench::CommandRun Best(const std::vector<std::string>& argv) {
    oryx::bench::CommandRun best{0, 1e300, 0, 0};
    for (int i = 0; i < kRuns; ++i) {
        const oryx::bench::CommandRun run = RunOrEnd(argv);
        best.seconds = std::min(best.seconds, run.seconds);
        best.peakRss = std::max(best.peakRss, run.peakRss);
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: network_bench FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    std::string largest;
    std::uintmax_t largestSize = 0;
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        ++files;
        if (entry.file_size() > largestSize) {
            largestSize = entry.file_size();
            largest = entry.path().string();
        }
    }
    if (files == 0) {
        std::fprintf(stderr, "network_bench: no file in %s\n", folder.c_str());
        return 1;
    }

    const std::string cli = ORYX_CLI_PATH;
    const oryx::bench::CommandRun single = Best({cli, "report", "atmif-vcc", largest});
    const oryx::bench::CommandRun serial = Best({cli, "report", "atmif-vcc", "-j", "1", folder});
    const oryx::bench::CommandRun parallel = Best({cli, "report", "atmif-vcc", "-j", "2", folder});

    std::printf("report atmif-vcc over %zu files in %s (largest %.1f MB)\n", files, folder.c_str(),
                static_cast<double>(largestSize) / 1e6);
    std::printf("  %-34s %9.3f s\n", "-j 1", serial.seconds);
    std::printf("  %-34s %9.3f MB\n", "peak memory, largest file alone", static_cast<double>(single.peakRss) / 1e6);
    oryx::bench::Report("-j 2", parallel.seconds, "s", parallel.seconds / serial.seconds, "of -j 1", 0.6);
    oryx::bench::Report("peak memory with -j 2", static_cast<double>(parallel.peakRss) / 1e6, "MB",
                        static_cast<double>(parallel.peakRss) / static_cast<double>(single.peakRss),
                        "of the largest file", 2.5);
    return 0;
}
