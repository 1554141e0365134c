// Saves a picture of the main window with a file open, a component selected
// and a report shown: the screenshot of the README.
//
//   oryx_screenshot PROVISIONING_FILE COMPONENT_PATH OUTPUT.png
//
// COMPONENT_PATH is a path below the add node, such as "Shelf Card/3".
#include <QMdiSubWindow>
#include <QMenu>
#include <QPixmap>

#include <cstdio>

#include "doc/common/text_codec.h"
#include "doc/document/mdi_child.h"
#include "doc/tree/tz_tree_view.h"
#include "prov/component_store.h"
#include "screenshot_window.h"
#include "shell/application.h"
#include "shell/main_form.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: oryx_screenshot PROVISIONING_FILE COMPONENT_PATH OUTPUT.png\n");
        return 2;
    }
    oryx::shell::OryxApplication app(argc, argv);
    oryx::shell::TMainForm form;
    oryx::testing::OpenForScreenshot(form, argv[1]);

    oryx::doc::TMDIChild* child = form.ActiveDocument();
    const oryx::prov::ComponentNode* component =
        oryx::prov::FindComponent(child->Store().AddNode(), oryx::doc::FileNameBytes(QString::fromLocal8Bit(argv[2])));
    if (!component) {
        std::fprintf(stderr, "no component %s in %s\n", argv[2], argv[1]);
        return 1;
    }
    child->Tree()->Select(component);
    form.findChild<QAction*>("miVCCAtmIfReport")->trigger();
    QApplication::processEvents();

    if (!form.grab().save(QString::fromLocal8Bit(argv[3]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
