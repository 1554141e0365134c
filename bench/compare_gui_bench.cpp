// The compare window on two large nodes, headless.
//
//   compare_gui_bench FIRST SECOND
//
// With FIRST open in a document window, the time from File | Compare With...
// (the second file chosen) until the compare window is shown and painted,
// against the whole `oryx-cli diff FIRST SECOND` (text to /dev/null) on the
// same pair. Both read both files and compare them; each figure is the best
// of its runs, which interleave so that a busy machine slows both alike.
// Also shown: the only-differences filter turned off and on again, and a
// thousand steps to the next difference.
#include <QApplication>
#include <QCheckBox>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "bench_util.h"
#include "compare/comparison.h"
#include "compare/diff_output.h"
#include "doc/common/dialogs.h"
#include "doc/compare/compare_tree_view.h"
#include "doc/compare/compare_window.h"
#include "shell/application.h"
#include "shell/main_form.h"

using namespace oryx;

namespace {

constexpr int kRuns = 3;
constexpr int kExitDiffer = 3;
constexpr int kSteps = 1000;

// Answers the Compare With dialog with the second file.
class ChosenFile final : public doc::Dialogs {
public:
    explicit ChosenFile(QString path) : path_(std::move(path)) { doc::SetDialogs(this); }
    ~ChosenFile() override { doc::SetDialogs(nullptr); }
    QString OpenFile(QWidget*, const QString&, const QString&, const QString&) override { return path_; }
    QString SaveFile(QWidget*, const QString&, const QString&, const QString&, const QString&, bool) override {
        return {};
    }
    bool Message(QWidget*, doc::MessageKind, const QString& caption, const QString& text) override {
        std::fprintf(stderr, "%s: %s\n", qPrintable(caption), qPrintable(text));
        return false;
    }
    bool Print(QWidget*, QPrinter&) override { return false; }
    std::unique_ptr<doc::Progress> ShowProgress(QWidget*, const QString&, const QString&) override {
        return nullptr;  // nothing here prints
    }

private:
    QString path_;
};

// Lets the window system lay out and paint what the last step changed.
void Settle() {
    QApplication::processEvents();
    QApplication::processEvents();
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    if (argc != 3) {
        std::fprintf(stderr, "usage: compare_gui_bench FIRST SECOND\n");
        return 2;
    }
    shell::OryxApplication app(argc, argv);
    const std::string first = argv[1], second = argv[2];
    ChosenFile dialogs(QString::fromLocal8Bit(argv[2]));
    shell::TMainForm form;
    form.resize(1200, 800);
    form.show();
    form.OpenWithTaskbarButton(QString::fromLocal8Bit(argv[1]));
    Settle();
    QAction* compareWith = form.findChild<QAction*>("FileCompareItem");

    double shown = 1e300, cli = 1e300, filter = 1e300, stepping = 1e300;
    std::size_t rows = 0, allRows = 0;
    std::string summary;
    for (int run = 0; run < kRuns; ++run) {
        cli = std::min(cli, bench::BestOf(1, [&] {
                           if (bench::PeakRssOfCommand({ORYX_CLI_PATH, "diff", first, second}, kExitDiffer) < 0) {
                               std::fprintf(stderr, "compare_gui_bench: the files must load and differ\n");
                               std::exit(1);
                           }
                       }));
        shown = std::min(shown, bench::BestOf(1, [&] {
                             compareWith->trigger();
                             Settle();
                         }));
        auto* window = qobject_cast<doc::CompareWindow*>(form.ActiveDocumentWindow()->widget());
        if (!window) {
            std::fprintf(stderr, "compare_gui_bench: no compare window\n");
            return 1;
        }
        rows = static_cast<std::size_t>(window->Tree()->model()->rowCount());
        summary = compare::SummaryLine(window->Comparison().Summary());
        filter = std::min(filter, bench::BestOf(1, [&] {
                              window->OnlyDifferencesBox()->setChecked(false);
                              Settle();
                              allRows = static_cast<std::size_t>(window->Tree()->model()->rowCount());
                              window->OnlyDifferencesBox()->setChecked(true);
                              Settle();
                          }));
        stepping = std::min(stepping, bench::BestOf(1, [&] {
                                for (int i = 0; i < kSteps; ++i) window->NextDifference();
                                Settle();
                            }));
        form.ActiveDocumentWindow()->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        // The document window is the active one again for the next run.
        form.findChild<QMdiArea*>()->setActiveSubWindow(form.findChild<QMdiSubWindow*>("MDIChild1"));
        Settle();
    }

    std::printf("%s against %s (%s; %zu rows shown)\n", first.c_str(), second.c_str(), summary.c_str(), rows);
    std::printf("  %-34s %9.3f s\n", "oryx-cli diff as a whole", cli);
    bench::Report("compare window shown", shown, "s", shown / cli, "of oryx-cli diff", 1.5);
    std::printf("  %-34s %9.3f s   (%zu rows without the filter)\n", "only differences off, then on", filter, allRows);
    std::printf("  %-34s %9.3f s\n", "1,000 times Next Difference", stepping);
    return 0;
}
