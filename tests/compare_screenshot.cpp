// Saves a picture of the main window with a file open and compared with
// another, one difference selected: the compare window's picture in the README.
//
//   oryx_compare_screenshot FIRST SECOND COMPONENT_PATH OUTPUT.png
//
// COMPONENT_PATH is a component's path as oryx-cli diff prints it, such as
// "FrUni/41 Dlci/16". The main window is 1280 x 800 pixels.
#include <QMdiSubWindow>
#include <QPixmap>

#include <cstdio>

#include "compare/comparison.h"
#include "doc/common/text_codec.h"
#include "doc/compare/compare_tree_view.h"
#include "doc/compare/compare_window.h"
#include "fake_dialogs.h"
#include "shell/application.h"
#include "shell/main_form.h"

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: oryx_compare_screenshot FIRST SECOND COMPONENT_PATH OUTPUT.png\n");
        return 2;
    }
    oryx::shell::OryxApplication app(argc, argv);
    // Answers the Compare With dialog with the second file.
    oryx::testing::FakeDialogs dialogs;
    dialogs.openAnswers << QString::fromLocal8Bit(argv[2]);
    oryx::shell::TMainForm form;
    form.resize(1280, 800);
    form.show();
    form.OpenWithTaskbarButton(QString::fromLocal8Bit(argv[1]));
    form.findChild<QAction*>("FileCompareItem")->trigger();
    QMdiSubWindow* window = form.ActiveDocumentWindow();
    auto* comparison = window ? qobject_cast<oryx::doc::CompareWindow*>(window->widget()) : nullptr;
    if (!comparison) {
        for (const auto& shownMessage : dialogs.messages)
            std::fprintf(stderr, "%s: %s\n", qPrintable(shownMessage.caption), qPrintable(shownMessage.text));
        std::fprintf(stderr, "no compare window\n");
        return 1;
    }
    window->showMaximized();

    const oryx::compare::Comparison& shown = comparison->Comparison();
    const std::string path = oryx::doc::FileNameBytes(QString::fromLocal8Bit(argv[3]));
    oryx::compare::Comparison::Index found = oryx::compare::Comparison::kNone;
    for (oryx::compare::Comparison::Index i = 1; i < shown.Size() && found == oryx::compare::Comparison::kNone; ++i)
        if (shown.Path(i) == path) found = i;
    if (!comparison->Tree()->SelectEntry(found)) {
        std::fprintf(stderr, "no difference %s\n", argv[3]);
        return 1;
    }
    QApplication::processEvents();

    if (!form.grab().save(QString::fromLocal8Bit(argv[4]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[4]);
        return 1;
    }
    return 0;
}
