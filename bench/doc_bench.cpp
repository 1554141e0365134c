// The document window on a file that nests as deep as it is long, headless.
//
//   doc_bench [DEPTH]      (default 1,000,000)
//
// A configure file enters one component per line, so DEPTH lines nest DEPTH
// components. Measured against the model's load time of the same file:
// opening the window, Expand All then Collapse All, and revealing and
// painting the deepest component. The tree must neither recurse on the
// depth nor cost more than a flat file of the same size.
#include <QApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "bench_util.h"
#include "doc/document/mdi_child.h"
#include "doc/tree/component_tree_model.h"
#include "doc/tree/tz_tree_view.h"
#include "document_window_bench.h"
#include "prov/component_store.h"
#include "prov/reader.h"

using namespace oryx;

using bench::NoHost;
using bench::Settle;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const long depth = argc > 1 ? std::atol(argv[1]) : 1000000;
    QTemporaryDir dir;
    const std::string file = dir.filePath(QStringLiteral("deep.txt")).toStdString();
    {
        std::ofstream out(file, std::ios::binary);
        for (long i = 0; i < depth; ++i) out << "configure N" << i << "\n";
        out << "set depth deepest\n";
    }

    const double load = bench::BestOf(3, [&] {
        prov::ComponentStore store;
        prov::ReadProvisioningFile(file, store);
    });

    NoHost host;
    std::unique_ptr<doc::TMDIChild> window;
    const double open = bench::BestOf(1, [&] {
        window = std::make_unique<doc::TMDIChild>(&host, QString::fromStdString(file));
        window->show();
        Settle(*window);
    });
    const double expandCollapse = bench::BestOf(1, [&] {
        window->ExpandAll();
        Settle(*window);
        window->CollapseAll();
        Settle(*window);
    });
    doc::TZTreeView& tree = *window->Tree();
    const prov::ComponentNode* deepest = &window->Store().Root();
    while (!deepest->Children().empty()) deepest = deepest->Children().front();
    const double reveal = bench::BestOf(1, [&] {
        tree.Select(deepest);
        Settle(*window);
    });
    const int rows = tree.model()->rowCount();
    window.reset();

    std::printf("configure file nesting %ld components (%d rows once revealed)\n", depth, rows);
    std::printf("  %-34s %9.3f s\n", "load (ReadProvisioningFile)", load);
    bench::Report("window open and shown", open, "s", open / load, "of load", 1.3);
    bench::Report("Expand All then Collapse All", expandCollapse, "s", expandCollapse / load, "of load", 2.0);
    bench::Report("deepest item revealed and painted", reveal, "s", reveal / load, "of load", 2.0);
    return rows == depth ? 0 : 1;
}
