// The Problems list in the document window on a large file, headless.
//
//   problems_gui_bench FILE RULES   (FILE the generated start-prov node, RULES the example rules)
//
// Against the load of the same file (ReadProvisioningFile), best of a few runs:
//  - opening the window with RULES until the tree shows, on the wall clock;
//  - the status bar's counts known (ProblemsCheck::Counted), on the wall clock
//    after the tree shows: the file is checked in the background;
//  (these two against the load run just before each window, the median of
//  eleven pairs: the machine's speed drifts by more than the margin)
//  - how long stopping a check that has just begun takes (a reload or a close);
//  - the Problems list shown, in processor time, once the check is done, with
//    RULES and one rule more that finds a line on every VCC's VCD (about
//    100,000 findings in all on the generated node).
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeView>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench_util.h"
#include "doc/document/mdi_child.h"
#include "doc/problems/problems_check.h"
#include "doc/report/report_panel.h"
#include "doc/report/report_table_model.h"
#include "doc/report/report_window_info.h"
#include "document_window_bench.h"
#include "prov/component_store.h"
#include "prov/reader.h"

using namespace oryx;

namespace {

constexpr int kRuns = 5;
constexpr int kPairs = 11;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

class RulesHost final : public doc::DocumentHost {
public:
    explicit RulesHost(QString rules) : rules_(std::move(rules)) {}
    void SetReportChecked(reports::ReportId, bool) override {}
    void DocumentClosing(const QString&) override {}
    QString RulesFile() const override { return rules_; }

private:
    QString rules_;
};

void WaitForProblems(doc::TMDIChild& window) {
    while (!window.Problems()->Ready()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: problems_gui_bench FILE RULES\n");
        return 2;
    }
    std::setvbuf(stdout, nullptr, _IOLBF, 0);  // each figure as soon as it is known
    const QString file = QString::fromLocal8Bit(argv[1]);
    const QString rules = QString::fromLocal8Bit(argv[2]);

    const auto loadFile = [&] {
        prov::ComponentStore store;
        prov::ReadProvisioningFile(argv[1], store);
    };
    const double load = bench::BestCpuOf(kRuns, loadFile);
    std::printf("%s\n  %-34s %9.3f s\n", argv[1], "load (processor time)", load);

    // The load and the window take turns, each window against the load just
    // before it: on a shared machine the speed of memory and processors
    // drifts from run to run, and pairs cancel most of that. Medians of the
    // pairs' ratios, with the median times.
    RulesHost host(rules);
    std::vector<double> loads, opens, counts, openRatios, countRatios;
    QString summary;
    for (int i = 0; i < kPairs; ++i) {
        const double loaded = bench::BestOf(1, loadFile);
        std::unique_ptr<doc::TMDIChild> window;
        bool known = false;
        const double opened = bench::BestOf(1, [&] {
            window = std::make_unique<doc::TMDIChild>(&host, file);
            QObject::connect(window->Problems(), &doc::ProblemsCheck::Counted, [&] { known = true; });
            window->show();
            bench::Settle(*window);
        });
        const double counted = bench::BestOf(1, [&] {
            while (!known) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        });
        summary = window->ProblemsSummary();
        WaitForProblems(*window);
        window.reset();
        loads.push_back(loaded);
        opens.push_back(opened);
        counts.push_back(counted);
        openRatios.push_back(opened / loaded);
        countRatios.push_back(counted / loaded);
    }
    std::printf("  %-34s %9.3f s (median of %d)\n", "load (wall clock)", Median(loads), kPairs);
    bench::Report("open the window (wall clock)", Median(opens), "s", Median(openRatios), "of load (wall)", 1.3);
    std::printf("  status bar: \"%s\"\n", qPrintable(summary));
    bench::Report("counts after the tree (wall)", Median(counts), "s", Median(countRatios), "of load (wall)", 0.6);

    // What a reload or a close waits for a check that has just begun: it gives up.
    double stopped = 1e300;
    for (int i = 0; i < kRuns; ++i) {
        doc::TMDIChild window(&host, file);
        QApplication::processEvents();  // the check begins
        stopped = std::min(stopped, bench::BestOf(1, [&] { window.Problems()->Stop(); }));
    }
    std::printf("  %-34s %9.3f s on the wall clock\n", "a running check stopped", stopped);

    // About 100,000 findings: the example rules and one that finds a line on every VCD.
    QTemporaryDir dir;
    const QString manyRules = dir.filePath(QStringLiteral("many-rules.yaml"));
    {
        QFile in(rules), out(manyRules);
        if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly)) {
            std::fprintf(stderr, "cannot copy %s\n", argv[2]);
            return 1;
        }
        QByteArray text = in.readAll();
        text.replace("rules:\n",
                     "rules:\n"
                     "  - id: no-usage-parameter-control\n"
                     "    path: \"AtmIf/* Vcc/* Vcd\"\n"
                     "    forbid: [usageParameterControl]\n");
        out.write(text);
    }
    RulesHost manyHost(manyRules);
    double shown = 1e300;
    int rows = 0;
    for (int i = 0; i < kRuns; ++i) {
        doc::TMDIChild window(&manyHost, file);
        window.show();
        bench::Settle(window);
        WaitForProblems(window);
        bench::Settle(window);
        shown = std::min(shown, bench::BestCpuOf(1, [&] {
                             window.ShowProblems();
                             bench::Settle(window);
                         }));
        rows = window.findChild<doc::ReportPanel*>()->ListModel(doc::PanelReport::Problems())->rowCount();
    }
    std::printf("  %d rows in the Problems list\n", rows);
    bench::Report("Problems list shown", shown, "s", shown / load, "of load", 0.3);
    return 0;
}
