// Following references in the document window on a large file, headless.
//
//   refs_gui_bench FILE [COMPONENT]   (COMPONENT default "Lp/0": one with an exact reference)
//
// In processor time of this process, best of a few runs, against the load of
// the same file (ReadProvisioningFile):
//  - opening the window until the tree shows, on the wall clock: the index
//    for "Referenced by" is built in the background meanwhile;
//  - the index ready for "Referenced by", waited for after the window opened;
//  - the first follow of a reference: selecting COMPONENT and following its
//    first reference;
//  - a later follow (Back, then the same follow again);
//  - "Referenced by" of a component that 100,000 components name, in a file
//    of its own, until the list shows.
#include <QApplication>
#include <QTemporaryDir>

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "bench_util.h"
#include "doc/document/attribute_list.h"
#include "doc/document/attribute_list_model.h"
#include "doc/document/mdi_child.h"
#include "doc/refs/reference_navigator.h"
#include "doc/refs/referenced_by_model.h"
#include "doc/refs/referenced_by_panel.h"
#include "doc/tree/tz_tree_view.h"
#include "document_window_bench.h"
#include "prov/component_store.h"
#include "prov/reader.h"
#include "search/component_path.h"

using namespace oryx;

namespace {

constexpr int kRuns = 3;

using bench::CpuSeconds;

double Cpu(const std::function<void()>& work) {
    const double start = CpuSeconds();
    work();
    return CpuSeconds() - start;
}

int FirstReferenceRow(const doc::TMDIChild& window) {
    const doc::AttributeListModel& model = *window.Attributes()->Model();
    for (int row = 0; row < model.rowCount(); ++row)
        if (model.RowReference(row).kind == refs::ReferenceKind::Exact) return row;
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: refs_gui_bench FILE [COMPONENT]\n");
        return 2;
    }
    const QString file = QString::fromLocal8Bit(argv[1]);
    const std::string component = argc > 2 ? argv[2] : "Lp/0";
    bench::NoHost host;

    double load = 1e300;
    for (int i = 0; i < kRuns; ++i)
        load = std::min(load, Cpu([&] {
                            prov::ComponentStore store;
                            prov::ReadProvisioningFile(argv[1], store);
                        }));
    const double loadWall = bench::BestOf(kRuns, [&] {
        prov::ComponentStore store;
        prov::ReadProvisioningFile(argv[1], store);
    });
    std::printf("%s\n  %-34s %9.3f s\n  %-34s %9.3f s\n", argv[1], "load (processor time)", load, "load (wall clock)",
                loadWall);

    double open = 1e300, ready = 1e300, first = 1e300, later = 1e300;
    for (int i = 0; i < kRuns; ++i) {
        std::unique_ptr<doc::TMDIChild> window;
        open = std::min(open, bench::BestOf(1, [&] {
                            window = std::make_unique<doc::TMDIChild>(&host, file);
                            window->show();
                            bench::Settle(*window);
                        }));
        ready = std::min(ready, bench::BestOf(1, [&] { window->Navigator()->Index(); }));
        const prov::ComponentNode* from =
            search::FindComponentAtPath(window->Store(), component, search::QueryText::Bytes);
        if (!from) {
            std::fprintf(stderr, "no component %s\n", component.c_str());
            return 1;
        }
        first = std::min(first, Cpu([&] {
                             window->Tree()->Select(from);
                             window->Navigator()->FollowRow(FirstReferenceRow(*window));
                             bench::Settle(*window);
                         }));
        window->Back();
        later = std::min(later, Cpu([&] {
                             window->Navigator()->FollowRow(FirstReferenceRow(*window));
                             bench::Settle(*window);
                         }));
    }
    bench::Report("open the window (wall clock)", open, "s", open / loadWall, "of load (wall)", 1.3);
    std::printf("  %-34s %9.3f s more on the wall clock\n", "index ready for Referenced by", ready);
    bench::Report("first follow", first, "s", first / load, "of load", 0.3);
    bench::Report("a later follow", later * 1000, "ms", later / 0.020, "of 20 ms", 1.0);

    // 100,000 components naming one.
    QTemporaryDir dir;
    const std::string many = dir.filePath(QStringLiteral("many.txt")).toStdString();
    {
        std::ofstream out(many, std::ios::binary);
        out << "start prov\nadd Shelf\nadd Shelf Card/0\n";
        for (int i = 0; i < 100000; ++i) out << "add Lp/" << i << "\nset Lp/" << i << " mainCard Shelf Card/0\n";
    }
    double shown = 1e300;
    int rows = 0;
    for (int i = 0; i < kRuns; ++i) {
        doc::TMDIChild window(&host, QString::fromStdString(many));
        window.show();
        bench::Settle(window);
        const prov::ComponentNode* card =
            search::FindComponentAtPath(window.Store(), "Shelf Card/0", search::QueryText::Bytes);
        shown = std::min(shown, Cpu([&] {
                             window.Tree()->Select(card);
                             window.Navigator()->Index();
                             bench::Settle(window);
                         }));
        rows = window.ReferencedBy()->Model()->rowCount();
    }
    std::printf("  %d rows in Referenced by\n", rows);
    bench::Report("Referenced by, 100,000 referrers", shown, "s", shown / load, "of load", 0.2);
    return 0;
}
