// Speed and memory of the provisioning model on large files.
//
//   prov_bench FILE...
//
// For each file: a baseline pass reading it line by line with std::getline,
// the load time (ReadProvisioningFile into a fresh store), the tree-text time
// and their ratios; the peak memory of `oryx-cli tree FILE` (the first file, a
// start-prov node, within 1.6 times its size); the cost per line of a node
// with 200,000 children added in reverse order; and the memory each of 20
// million empty attributes costs.
#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "bench_util.h"
#include "prov/component_store.h"
#include "prov/reader.h"
#include "prov/tree_text.h"

using namespace oryx;

namespace {

constexpr int kRuns = 5;

long long FileSize(const std::string& file) {
    struct stat st {};
    return ::stat(file.c_str(), &st) == 0 ? st.st_size : 0;
}

long CountLinesWithGetline(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::string line;
    long lines = 0;
    while (std::getline(in, line)) ++lines;
    return lines;
}

double LoadTime(const std::string& file) {
    return bench::BestOf(kRuns, [&] {
        prov::ComponentStore store;
        prov::ReadProvisioningFile(file, store);
    });
}

void BenchFile(const std::string& file, long long rss, double rssTarget) {
    const long long size = FileSize(file);
    long lines = 0;
    const double baseline = bench::BestOf(kRuns, [&] { lines = CountLinesWithGetline(file); });
    std::printf("%s: %.1f MB, %ld lines\n", file.c_str(), static_cast<double>(size) / 1e6, lines);
    std::printf("  %-34s %9.3f s\n", "baseline (std::getline)", baseline);

    const double load = LoadTime(file);
    bench::Report("load (ReadProvisioningFile)", load, "s", load / baseline, "of baseline", 4.0);

    prov::ComponentStore store;
    prov::ReadProvisioningFile(file, store);
    std::size_t bytes = 0;
    const double tree = bench::BestOf(kRuns, [&] {
        bytes = 0;
        prov::WriteTreeText(store, [&](std::string_view t) { bytes += t.size(); });
    });
    bench::Report("tree text", tree, "s", tree / load, "of load", 1.0);

    bench::Report("peak memory of oryx-cli tree", static_cast<double>(rss) / 1e6, "MB",
                  static_cast<double>(rss) / static_cast<double>(size), "of file size", rssTarget);
    std::printf("  %-34s %9.3f us\n", "load per line", load / static_cast<double>(lines) * 1e6);
}

// One shelf whose cards come in reverse order, each with the attribute lines
// of a typical component; `families` spreads the same cards over that many
// shelves instead, the same lines in a file without a large family.
void WriteCardsFile(const std::string& file, int cards, int families) {
    std::ofstream out(file, std::ios::binary);
    out << "start prov\r\n";
    const int perFamily = cards / families;
    for (int f = 0; f < families; ++f) {
        const std::string shelf = families == 1 ? "Shelf" : "Shelf/" + std::to_string(f);
        out << "add " << shelf << "\r\n";
        for (int i = perFamily - 1; i >= 0; --i) {
            const std::string path = shelf + " Card/" + std::to_string(i);
            out << "add " << path << "\r\n"
                << "set " << path << " cardType e3Atm, spareCard " << (i + 1) % 16 << ", adminState unlocked\r\n"
                << "set " << path << " cardFunction forwarding, customerIdentifier " << 100000 + i
                << ", shapingIndicator disabled\r\n";
        }
    }
}

void BenchWideNode(const std::string& typical, const std::string& scratch) {
    constexpr int kChildren = 200'000;
    WriteCardsFile(scratch, kChildren, 1);
    const double wide = LoadTime(scratch) / static_cast<double>(CountLinesWithGetline(scratch));
    WriteCardsFile(scratch, kChildren, 2'000);
    const double spread = LoadTime(scratch) / static_cast<double>(CountLinesWithGetline(scratch));
    const double normal = LoadTime(typical) / static_cast<double>(CountLinesWithGetline(typical));
    std::printf("node with %d children added in reverse order:\n", kChildren);
    bench::Report("load per line", wide * 1e6, "us", wide / normal, "of the typical file", 1.0);
    bench::Report("load per line", wide * 1e6, "us", wide / spread, "of same lines, 100/node", 1.0);
    std::remove(scratch.c_str());
}

// One component with 20 million attribute lines, each made of one comma of
// a set line: the memory per attribute line beyond the process at rest.
void BenchEmptyAttributes(const std::string& scratch) {
    constexpr long kLines = 20'000, kPerLine = 1'000;
    {
        std::ofstream out(scratch, std::ios::binary);
        out << "start prov\nadd Shelf\n";
        const std::string line = "set Shelf " + std::string(kPerLine - 1, ',') + "\n";
        for (long i = 0; i < kLines; ++i) out << line;
    }
    const long long rss = bench::PeakRssOfCommand({ORYX_CLI_PATH, "summary", scratch});
    const long long idle = bench::PeakRssOfCommand({ORYX_CLI_PATH, "--help"});
    std::remove(scratch.c_str());
    if (rss < 0 || idle < 0) {
        std::printf("  empty attributes: could not run oryx-cli\n");
        return;
    }
    const double perLine = static_cast<double>(rss - idle) / static_cast<double>(kLines * kPerLine);
    std::printf("%ld empty attributes:\n", kLines * kPerLine);
    bench::Report("peak memory of oryx-cli summary", static_cast<double>(rss) / 1e6, "MB", perLine,
                  "bytes per attribute", 10.0);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: prov_bench FILE...\n");
        return 2;
    }
    // Peak memory first, while this process is small: a forked child starts
    // out sharing the parent's pages and counts them.
    std::vector<long long> rss;
    for (int i = 1; i < argc; ++i) rss.push_back(bench::PeakRssOfCommand({ORYX_CLI_PATH, "tree", argv[i]}));
    // The first file is the start-prov node, whose peak has the tighter bound.
    for (int i = 1; i < argc; ++i) BenchFile(argv[i], rss[static_cast<std::size_t>(i - 1)], i == 1 ? 1.6 : 2.5);
    BenchWideNode(argv[1], std::string(argv[1]) + ".wide.tmp");
    BenchEmptyAttributes(std::string(argv[1]) + ".empty.tmp");
    return 0;
}
