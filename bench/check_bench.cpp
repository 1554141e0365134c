// Speed and memory of oryx-cli check.
//
//   check_bench NODE RULES FOLDER
//
// On NODE (the full-size start-prov node): `oryx-cli check --rules RULES`
// against `oryx-cli attrs NODE Shelf`, whole process, best of three; the
// load with diagnostics against the load without, in this process, and the
// bytes per line the line numbers hold. Over FOLDER (the network): check
// with -j 2 against -j 1.
#include <cstdio>
#include <string>
#include <vector>

#include "bench_util.h"
#include "prov/component_store.h"
#include "prov/read_diagnostics.h"
#include "prov/reader.h"

namespace {

constexpr int kRuns = 5;

// Best wall time of a command; check exits with 3 when it finds something.
double BestSeconds(const std::vector<std::string>& argv) {
    double best = 1e300;
    for (int i = 0; i < kRuns; ++i) {
        const oryx::bench::CommandRun run = oryx::bench::RunCommand(argv);
        if (run.exitCode != 0 && run.exitCode != 3) {
            std::fprintf(stderr, "check_bench: %s %s failed\n", argv[0].c_str(), argv[1].c_str());
            std::exit(1);
        }
        best = std::min(best, run.seconds);
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: check_bench NODE RULES FOLDER\n");
        return 2;
    }
    std::setvbuf(stdout, nullptr, _IOLBF, 0);  // each figure as soon as it is known
    const std::string node = argv[1], rules = argv[2], folder = argv[3];
    const std::string cli = ORYX_CLI_PATH;
    using namespace oryx;

    std::printf("oryx-cli check on %s\n", node.c_str());
    const double attrs = BestSeconds({cli, "attrs", node, "Shelf"});
    const double check = BestSeconds({cli, "check", "--rules", rules, node});
    std::printf("  %-34s %9.3f s\n", "attrs (baseline)", attrs);
    bench::Report("check with the example rules", check, "s", check / attrs, "of attrs", 1.5);

    const double plain = bench::BestOf(kRuns, [&] {
        prov::ComponentStore store;
        prov::ReadProvisioningFile(node, store);
    });
    std::size_t lines = 0, bytes = 0;
    const double noted = bench::BestOf(kRuns, [&] {
        prov::ComponentStore store;
        prov::ReadDiagnostics diagnostics;
        lines = prov::ReadProvisioningFile(node, store, &diagnostics).lines;
        bytes = diagnostics.LineNumberBytes();
    });
    std::printf("  %-34s %9.3f s\n", "load (baseline)", plain);
    bench::Report("load with diagnostics", noted, "s", noted / plain, "of the load", 1.05);
    std::printf("  %-34s %9.3f bytes (target <= 4) %s\n", "line numbers per line",
                static_cast<double>(bytes) / static_cast<double>(lines), bytes <= 4 * lines ? "ok" : "MISSED");

    std::printf("oryx-cli check over %s\n", folder.c_str());
    const double serial = BestSeconds({cli, "check", "--rules", rules, "-j", "1", folder});
    const double parallel = BestSeconds({cli, "check", "--rules", rules, "-j", "2", folder});
    std::printf("  %-34s %9.3f s\n", "-j 1", serial);
    bench::Report("-j 2", parallel, "s", parallel / serial, "of -j 1", 0.6);
    return 0;
}
