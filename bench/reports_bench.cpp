// Speed of the eight fixed reports on large files.
//
//   reports_bench FILE [HALF_FILE]
//
// Loads FILE, builds every report on it and compares the time of all eight
// together with the load time. With HALF_FILE (the same kind of node with
// half as many lines), each report's time on FILE is compared with its time
// on HALF_FILE: a report that stays linear takes about twice as long.
//
// Times are processor time of the one thread that does the work (best of
// several runs), which stays meaningful when other programs share the
// machine. Each report is timed twice:
//   - first build: the first run in this process after loading, when the
//     rows' memory is new to the process and the kernel maps it in page by
//     page (the store itself sits on large pages);
//   - rebuild: later runs, with the heap keeping the memory between them (a
//     window that has built reports before), which shows the report's own work.
#include <malloc.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_util.h"
#include "prov/component_store.h"
#include "prov/reader.h"
#include "reports/fixed_reports.h"
#include "reports/report_registry.h"

using namespace oryx;

namespace {

constexpr int kRuns = 7;
// Below this a report's time is mostly noise; its growth is not judged.
constexpr double kMeasurable = 0.02;

using bench::CpuSeconds;

// One build of the report, timed; the rows are released untimed (the window
// keeps them).
double TimedBuild(reports::ReportId id, const prov::ComponentStore& store, std::size_t& rows) {
    reports::ReportRows built;
    const double start = CpuSeconds();
    reports::BuildReportRows(id, store, built);
    const double took = CpuSeconds() - start;
    rows = built.size();
    return took;
}

struct Timing {
    double load = 0;
    std::vector<double> first, rebuild;  // by ReportId
    std::vector<std::size_t> rows;
    long lines = 0;
};

long CountLines(const prov::ComponentStore& store) {
    long lines = 0;
    std::vector<const prov::ComponentNode*> pending{&store.Root()};
    while (!pending.empty()) {
        const prov::ComponentNode* node = pending.back();
        pending.pop_back();
        lines += static_cast<long>(node->Attributes().FileLines().size()) + 1;
        for (const prov::ComponentNode* child : node->Children()) pending.push_back(child);
    }
    return lines;
}

Timing Measure(const std::string& file) {
    Timing t;
    t.load = 1e300;
    for (int run = 0; run < kRuns; ++run) {
        const double start = CpuSeconds();
        prov::ComponentStore store;
        prov::ReadProvisioningFile(file, store);
        t.load = std::min(t.load, CpuSeconds() - start);
    }
    prov::ComponentStore store;
    prov::ReadProvisioningFile(file, store);
    t.lines = CountLines(store);
    // Keep freed memory in the heap between runs instead of handing it back
    // to the system after each one.
    ::mallopt(M_TRIM_THRESHOLD, 1 << 30);
    ::mallopt(M_MMAP_THRESHOLD, 1 << 30);
    for (const reports::ReportInfo& info : reports::FixedReports()) {
        std::size_t rows = 0;
        const double first = TimedBuild(info.id, store, rows);
        double rebuild = 1e300;
        for (int run = 0; run < kRuns; ++run) rebuild = std::min(rebuild, TimedBuild(info.id, store, rows));
        t.first.push_back(first);
        t.rebuild.push_back(rebuild);
        t.rows.push_back(rows);
    }
    return t;
}

// Measure(file) in a child process, so that each file's first builds meet
// memory new to their process, whatever was measured before.
Timing MeasureApart(const std::string& file) {
    const std::size_t reportCount = reports::FixedReports().size();
    const std::size_t values = 2 + 3 * reportCount;
    int fds[2];
    if (::pipe(fds) != 0) return Measure(file);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        const Timing t = Measure(file);
        std::vector<double> out{t.load, static_cast<double>(t.lines)};
        for (std::size_t i = 0; i < reportCount; ++i) {
            out.push_back(t.first[i]);
            out.push_back(t.rebuild[i]);
            out.push_back(static_cast<double>(t.rows[i]));
        }
        const auto bytes = static_cast<ssize_t>(out.size() * sizeof(double));
        ::_exit(::write(fds[1], out.data(), static_cast<std::size_t>(bytes)) == bytes ? 0 : 1);
    }
    ::close(fds[1]);
    std::vector<double> in(values);
    std::size_t got = 0;
    while (got < values * sizeof(double)) {
        const ssize_t n = ::read(fds[0], reinterpret_cast<char*>(in.data()) + got, values * sizeof(double) - got);
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (got != values * sizeof(double) || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "reports_bench: measuring %s failed\n", file.c_str());
        std::exit(1);
    }
    Timing t;
    t.load = in[0];
    t.lines = static_cast<long>(in[1]);
    for (std::size_t i = 0; i < reportCount; ++i) {
        t.first.push_back(in[2 + 3 * i]);
        t.rebuild.push_back(in[3 + 3 * i]);
        t.rows.push_back(static_cast<std::size_t>(in[4 + 3 * i]));
    }
    return t;
}

double Sum(const std::vector<double>& times) {
    double sum = 0;
    for (double t : times) sum += t;
    return sum;
}

void PrintReports(const std::string& file, const Timing& t) {
    std::printf("%s: %ld components and attribute lines\n", file.c_str(), t.lines);
    std::printf("  %-34s %9.3f s\n", "load (ReadProvisioningFile)", t.load);
    std::printf("  %-34s %9s   %9s  %8s\n", "report", "first", "rebuild", "rows");
    for (const reports::ReportInfo& info : reports::FixedReports()) {
        const std::size_t i = static_cast<std::size_t>(info.id);
        std::printf("  %-34s %9.3f s %9.3f s %8zu\n", std::string(info.cliName).c_str(), t.first[i], t.rebuild[i],
                    t.rows[i]);
    }
    const double first = Sum(t.first), rebuild = Sum(t.rebuild);
    bench::Report("all eight reports, first build", first, "s", first / t.load, "of load", 1.0);
    bench::Report("all eight reports, rebuild", rebuild, "s", rebuild / t.load, "of load", 1.0);
}

void PrintGrowth(const Timing& full, const Timing& half) {
    const double lineRatio = static_cast<double>(full.lines) / static_cast<double>(half.lines);
    std::printf("growth of the rebuild time from the half-size node (%.2fx the lines):\n", lineRatio);
    for (const reports::ReportInfo& info : reports::FixedReports()) {
        const std::size_t i = static_cast<std::size_t>(info.id);
        const std::string name(info.cliName);
        if (full.rebuild[i] < kMeasurable) {
            std::printf("  %-34s %9.3f s  too fast to judge\n", name.c_str(), full.rebuild[i]);
            continue;
        }
        bench::Report(name.c_str(), full.rebuild[i], "s", full.rebuild[i] / half.rebuild[i], "of the half-size node",
                      2.2);
    }
}

// The peak memory of `oryx-cli report atmif-vcc` in each format against that
// of `oryx-cli summary`, which loads the file and writes a few lines: the
// report's rows go out as they are made, so it should cost little more.
void PrintReportMemory(const std::string& file) {
    const long long load = bench::PeakRssOfCommand({ORYX_CLI_PATH, "summary", file});
    if (load <= 0) return;
    std::printf("peak memory of oryx-cli summary (the load): %.1f MB\n", static_cast<double>(load) / 1e6);
    for (const char* format : {"csv", "tsv", "json"}) {
        const long long rss = bench::PeakRssOfCommand({ORYX_CLI_PATH, "report", "atmif-vcc", "--format", format, file});
        const std::string name = std::string("peak memory of report atmif-vcc --format ") + format;
        bench::Report(name.c_str(), static_cast<double>(rss) / 1e6, "MB",
                      static_cast<double>(rss) / static_cast<double>(load), "of the load", 1.5);
    }
}

// A start-prov node of a million connections, 1,000 on each of 1,000
// interfaces, written to a file of its own; empty on failure.
std::string WriteConnectionsNode() {
    char name[] = "/tmp/reports_bench_vcc_XXXXXX";
    const int fd = ::mkstemp(name);
    if (fd < 0) return {};
    std::string text = "start prov\n";
    for (int i = 0; i < 1000; ++i) {
        text += "add AtmIf/" + std::to_string(i) + "\n";
        for (int v = 0; v < 1000; ++v) text += "add AtmIf/" + std::to_string(i) + " Vcc/0." + std::to_string(v) + "\n";
    }
    const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ::close(fd);
    if (!written) {
        ::unlink(name);
        return {};
    }
    return name;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: reports_bench FILE [HALF_FILE]\n");
        return 2;
    }
    // Memory first, while this process is small.
    PrintReportMemory(argv[1]);
    if (const std::string connections = WriteConnectionsNode(); !connections.empty()) {
        std::printf("a node of 1,000,000 connections:\n");
        PrintReportMemory(connections);
        ::unlink(connections.c_str());
    }
    const Timing full = MeasureApart(argv[1]);
    PrintReports(argv[1], full);
    if (argc == 3) {
        const Timing half = MeasureApart(argv[2]);
        PrintReports(argv[2], half);
        PrintGrowth(full, half);
    }
    return 0;
}
