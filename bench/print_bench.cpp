// Printing the tree text of a file with one very long attribute value: the
// time at 8n characters against the time at n may be at most 12 times (a
// linear cost gives about 8). Headless; the printer writes a PDF file.
//
//   print_bench [N]      (default 40,000 characters)
//
// Times are processor time of this process, best of three.
#include <QApplication>
#include <QPrinter>
#include <QTemporaryDir>

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "bench_util.h"
#include "doc/document/tree_printer.h"
#include "prov/component_store.h"
#include "prov/reader.h"

using namespace oryx;

namespace {

using bench::CpuSeconds;

double PrintTime(const QTemporaryDir& dir, long length) {
    const std::string file = dir.filePath(QStringLiteral("long.txt")).toStdString();
    std::ofstream(file, std::ios::binary)
        << "start prov\nadd Shelf\nset Shelf note " << std::string(static_cast<std::size_t>(length), 'v') << "\n";
    prov::ComponentStore store;
    prov::ReadProvisioningFile(file, store);
    double best = 1e300;
    for (int run = 0; run < 3; ++run) {
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("long.pdf")));
        const double start = CpuSeconds();
        if (!doc::PrintTreeText(printer, store).isEmpty()) std::printf("  printing failed!\n");
        best = std::min(best, CpuSeconds() - start);
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const long n = argc > 1 ? std::atol(argv[1]) : 40000;
    QTemporaryDir dir;
    const double atN = PrintTime(dir, n);
    const double at8N = PrintTime(dir, 8 * n);
    std::printf("printing the tree text:\n");
    std::printf("  %-50s n=%-8ld %8.3f s at n %8.3f s at 8n\n", "a value of n characters", n, atN, at8N);
    bench::Report("a value of n characters", at8N, "s", at8N / std::max(atN, 1e-9), "at 8n of at n", 12.0);
    return 0;
}
