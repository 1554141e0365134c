// Saves a picture of the main window with the find bar at work: a file open,
// a query typed, the tree showing only the matches and the second match gone
// to. The README's docs/find.png.
//
//   oryx_find_screenshot PROVISIONING_FILE QUERY names|paths|attr-names|values|all OUTPUT.png
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPixmap>

#include <cstdio>
#include <cstring>

#include "doc/document/mdi_child.h"
#include "doc/find/find_bar.h"
#include "doc/find/find_session.h"
#include "screenshot_window.h"
#include "shell/application.h"
#include "shell/main_form.h"

int main(int argc, char** argv) {
    // In the order the bar's list offers them.
    const char* const scopes[] = {"names", "paths", "attr-names", "values", "all"};
    int scope = -1;
    for (int i = 0; argc == 5 && i < 5; ++i)
        if (std::strcmp(argv[3], scopes[i]) == 0) scope = i;
    if (scope < 0) {
        std::fprintf(stderr,
                     "usage: oryx_find_screenshot PROVISIONING_FILE QUERY "
                     "names|paths|attr-names|values|all OUTPUT.png\n");
        return 2;
    }
    oryx::shell::OryxApplication app(argc, argv);
    oryx::shell::TMainForm form;
    oryx::testing::OpenForScreenshot(form, argv[1]);
    form.findChild<QAction*>("EditFindItem")->trigger();

    auto* bar = form.ActiveDocument()->findChild<oryx::doc::FindBar*>();
    bar->findChild<QComboBox*>("FindScope")->setCurrentIndex(scope);
    bar->findChild<QCheckBox*>("FindShowOnlyMatches")->setChecked(true);
    bar->findChild<QLineEdit*>("FindText")->setText(QString::fromLocal8Bit(argv[2]));
    bar->SearchNow();
    while (bar->Session().Searching()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    bar->Session().Next();
    QApplication::processEvents();

    if (!form.grab().save(QString::fromLocal8Bit(argv[4]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[4]);
        return 1;
    }
    return bar->Session().Count() > 0 ? 0 : 1;
}
