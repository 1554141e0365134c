// Saves a picture of the main window following references: a file open, a
// component selected, its values drawn as links and "Referenced by" listing
// what points at it and beneath it. The README's docs/refs.png.
//
//   oryx_refs_screenshot PROVISIONING_FILE PATH OUTPUT.png
#include <QApplication>
#include <QCheckBox>
#include <QMdiSubWindow>
#include <QPixmap>

#include <cstdio>

#include "doc/document/mdi_child.h"
#include "doc/refs/reference_navigator.h"
#include "doc/refs/referenced_by_model.h"
#include "doc/refs/referenced_by_panel.h"
#include "doc/tree/tz_tree_view.h"
#include "screenshot_window.h"
#include "search/component_path.h"
#include "shell/application.h"
#include "shell/main_form.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: oryx_refs_screenshot PROVISIONING_FILE PATH OUTPUT.png\n");
        return 2;
    }
    oryx::shell::OryxApplication app(argc, argv);
    oryx::shell::TMainForm form;
    oryx::testing::OpenForScreenshot(form, argv[1]);
    oryx::doc::TMDIChild& document = *form.ActiveDocument();
    const oryx::prov::ComponentNode* node =
        oryx::search::FindComponentAtPath(document.Store(), argv[2], oryx::search::QueryText::Bytes);
    if (!node) {
        std::fprintf(stderr, "no component %s\n", argv[2]);
        return 1;
    }
    document.Tree()->Select(node);
    document.Navigator()->Index();  // the list fills once the background build is done
    document.ReferencedBy()->IncludeBelow()->setChecked(true);
    QApplication::processEvents();

    if (!form.grab().save(QString::fromLocal8Bit(argv[3]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[3]);
        return 1;
    }
    return document.ReferencedBy()->Model()->rowCount() > 0 ? 0 : 1;
}
