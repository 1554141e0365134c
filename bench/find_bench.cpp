// The find bar of the document window on a large file, headless.
//
//   find_bench FILE [QUERY_FOR_ABOUT_1%]
//
// Measured against the model's load time of the same file, each the best of
// a few runs, the clock started where the pause in typing ends:
//  - a query that matches only the last component in tree order, until that
//    component is selected and painted (the whole store is searched first);
//  - "Show only matches" on, a query that matches about 1% of the
//    components (default "Nep"), until the filtered tree is painted.
// Each is timed twice: on the wall clock, and in processor time of this
// process (the search thread's and the window's), which stays meaningful
// when other programs share the machine; the targets apply to the latter.
// The window waits while the search runs, so on a machine of its own the
// two agree.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "bench_util.h"
#include "doc/common/text_codec.h"
#include "doc/document/mdi_child.h"
#include "doc/find/find_bar.h"
#include "doc/find/find_session.h"
#include "doc/tree/component_tree_model.h"
#include "doc/tree/tz_tree_view.h"
#include "document_window_bench.h"
#include "prov/component_store.h"
#include "prov/reader.h"
#include "search/component_path.h"

using namespace oryx;

namespace {

constexpr int kRuns = 5;

// The scope list's entries, as the bar offers them.
constexpr int kPathsScope = 1;
constexpr int kAllScope = 4;

using bench::NoHost;
using bench::Settle;

// Waits, without spinning, for the search to hand over what `done` waits for.
template <typename Done>
void WaitFor(Done&& done) {
    while (!done()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

const prov::ComponentNode* LastInTreeOrder(const prov::ComponentStore& store) {
    const prov::ComponentNode* last = nullptr;
    for (const prov::ComponentNode* node = store.AddNode(); node;) {
        const prov::ComponentNode* next = nullptr;
        for (const prov::ComponentNode* child : node->Children())
            if (!child->Name().starts_with('&')) next = child;
        if (next) last = next;
        node = next;
    }
    return last;
}

using bench::CpuSeconds;

// Best wall and processor times of the runs.
struct Times {
    double wall = 1e300;
    double cpu = 1e300;

    template <typename Work>
    void Run(Work&& work) {
        const double cpuStart = CpuSeconds();
        wall = std::min(wall, bench::BestOf(1, work));
        cpu = std::min(cpu, CpuSeconds() - cpuStart);
    }
};

// One run of `query`, from the end of the pause until `shown` holds, painted.
template <typename Shown>
void TimeQuery(Times& times, doc::TMDIChild& window, doc::FindBar& bar, const QString& query, Shown&& shown) {
    auto& text = *bar.findChild<QLineEdit*>(QStringLiteral("FindText"));
    text.setText(QString());
    bar.SearchNow();
    window.Tree()->setCurrentIndex(window.Tree()->model()->index(0, 0));
    Settle(window);
    text.setText(query);
    times.Run([&] {
        bar.SearchNow();
        WaitFor(shown);
        Settle(window);
    });
    WaitFor([&] { return !bar.Session().Searching(); });
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: find_bench FILE [QUERY_FOR_ABOUT_1%%]\n");
        return 2;
    }
    const std::string file = argv[1];
    const QString onePercent = argc == 3 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("Nep");

    NoHost host;
    auto window = std::make_unique<doc::TMDIChild>(&host, QString::fromLocal8Bit(file.c_str()));
    window->resize(1200, 800);
    window->show();
    Settle(*window);
    window->ShowFindBar();
    auto& bar = *window->findChild<doc::FindBar*>();
    auto& scope = *bar.findChild<QComboBox*>(QStringLiteral("FindScope"));
    auto& onlyMatches = *bar.findChild<QCheckBox*>(QStringLiteral("FindShowOnlyMatches"));
    doc::TZTreeView& tree = *window->Tree();
    const doc::FindSession& session = bar.Session();
    std::size_t components = 0;
    tree.TreeModel()->ForEachDescendant(window->Store().AddNode(), [&](const prov::ComponentNode*) { ++components; });

    // The last component's path: over all scopes when nothing else holds
    // it, else over paths alone.
    const prov::ComponentNode* last = LastInTreeOrder(window->Store());
    const QString lastPath = doc::DisplayText(search::ComponentPath(*last));
    // Selected, or (were it never to be) the search over.
    const auto lastShown = [&] { return tree.Selected() == last || (session.HasQuery() && !session.Searching()); };
    const auto filterShown = [&] { return !session.Searching() && tree.TreeModel()->IsFiltered(); };
    int lastScope = kAllScope;
    scope.setCurrentIndex(lastScope);
    Times probe;
    TimeQuery(probe, *window, bar, lastPath, lastShown);
    if (session.Count() != 1) lastScope = kPathsScope;

    // Each figure is the best of its runs; the runs interleave loading with
    // finding, so that a busy machine slows both alike.
    Times load, toLast, filtered;
    bool selected = true;
    std::size_t lastMatches = 0, shown = 0;
    int rows = 0;
    for (int run = 0; run < kRuns; ++run) {
        load.Run([&] {
            prov::ComponentStore store;
            prov::ReadProvisioningFile(file, store);
        });
        onlyMatches.setChecked(false);
        scope.setCurrentIndex(lastScope);
        TimeQuery(toLast, *window, bar, lastPath, lastShown);
        selected = selected && tree.Selected() == last;
        lastMatches = session.Count();

        scope.setCurrentIndex(kAllScope);
        onlyMatches.setChecked(true);
        TimeQuery(filtered, *window, bar, onePercent, filterShown);
        shown = session.FilteredComponents();
        rows = tree.model()->rowCount();
    }
    window.reset();

    std::printf("%s (%zu components)\n", file.c_str(), components);
    std::printf("  %-34s %9.3f s, processor %.3f s\n", "load (ReadProvisioningFile)", load.wall, load.cpu);
    std::printf("  \"%s\" over %s: %zu match\n", lastPath.toLocal8Bit().constData(),
                lastScope == kAllScope ? "all scopes" : "paths", lastMatches);
    std::printf("  %-34s %9.3f s %6.2fx of load on the wall clock\n", "last component found and selected", toLast.wall,
                toLast.wall / load.wall);
    bench::Report("  in processor time", toLast.cpu, "s", toLast.cpu / load.cpu, "of load", 0.3);
    std::printf("  \"%s\": %zu components match (%.2f%%), %d rows shown\n", onePercent.toLocal8Bit().constData(), shown,
                components ? 100.0 * static_cast<double>(shown) / static_cast<double>(components) : 0.0, rows);
    std::printf("  %-34s %9.3f s %6.2fx of load on the wall clock\n", "filtered tree shown", filtered.wall,
                filtered.wall / load.wall);
    bench::Report("  in processor time", filtered.cpu, "s", filtered.cpu / load.cpu, "of load", 0.5);
    return lastMatches == 1 && selected && shown > 0 ? 0 : 1;
}
