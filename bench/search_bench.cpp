// Speed of the search core on large files.
//
//   search_bench FILE...
//
// For each file: the load time (ReadProvisioningFile into a fresh store), then
// searches over all scopes (component names, paths, attribute names and
// values), each collecting its hits as the find bar does, and their ratios to
// the load time. Times are processor time of this process, best of several
// runs, which stays meaningful when other programs share the machine.
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_util.h"
#include "prov/component_store.h"
#include "prov/reader.h"
#include "search/search_cursor.h"
#include "search/search_query.h"

using namespace oryx;

namespace {

constexpr int kRuns = 9;

double CpuSeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double BestCpu(const auto& work) {
    double best = 1e300;
    for (int run = 0; run < kRuns; ++run) {
        const double start = CpuSeconds();
        work();
        best = std::min(best, CpuSeconds() - start);
    }
    return best;
}

struct Search {
    const char* label;
    const char* query;
    bool regex;
    double target;  // of the load time
};

// A word typed into the find bar, and a pattern over paths and values.
constexpr Search kSearches[] = {
    {"substring \"unlocked\", all scopes", "unlocked", false, 0.25},
    {"substring \"vcc/0.4\", all scopes", "vcc/0.4", false, 0.25},
    {"regex \"^(un)?locked$\", all scopes", "^(un)?locked$", true, 0.5},
    {"regex \"vcc/0\\.4\\d+\", all scopes", R"(vcc/0\.4\d+)", true, 0.5},
};

void BenchFile(const std::string& file) {
    const double load = BestCpu([&] {
        prov::ComponentStore store;
        prov::ReadProvisioningFile(file, store);
    });
    prov::ComponentStore store;
    prov::ReadProvisioningFile(file, store);
    std::printf("%s: %zu components\n", file.c_str(), store.NodeCount());
    std::printf("  %-34s %9.3f s\n", "load (ReadProvisioningFile)", load);
    std::vector<search::SearchHit> hits;
    for (const Search& s : kSearches) {
        search::SearchOptions options;
        options.regex = s.regex;
        const search::SearchQuery query(s.query, options);
        const double took = BestCpu([&] {
            hits.clear();
            search::ForEachHit(store, query, [&](const search::SearchHit& hit) {
                hits.push_back(hit);
                return true;
            });
        });
        bench::Report(s.label, took, "s", took / load, "of load", s.target);
        std::printf("  %-34s %9zu\n", "  hits", hits.size());
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: search_bench FILE...\n");
        return 2;
    }
    for (int i = 1; i < argc; ++i) BenchFile(argv[i]);
    return 0;
}
