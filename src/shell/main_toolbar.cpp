#include "shell/main_toolbar.h"

#include <QAction>
#include <QMainWindow>
#include <QToolBar>
#include <QToolButton>

#include "shell/images.h"

namespace oryx::shell {

QToolButton* AddMainToolBar(QMainWindow& window, QMenu* recentFiles, QMenu* reports) {
    QToolBar* toolbar = window.addToolBar("ToolBar1");
    toolbar->setObjectName("ToolBar1");
    toolbar->setMovable(false);
    toolbar->setIconSize(QSize(20, 20));

    auto* openButton = new QToolButton(toolbar);
    openButton->setObjectName("OpenBtn");
    openButton->setDefaultAction(window.findChild<QAction*>("OpenBtn"));
    openButton->setMenu(recentFiles);
    openButton->setPopupMode(QToolButton::MenuButtonPopup);
    toolbar->addWidget(openButton);
    for (const char* name :
         {"SaveBtn", "btnPrint", "", "btnExpand", "btnCollapse", "", "btnBack", "btnForward", "", "ExitBtn", ""}) {
        if (!*name) {
            toolbar->addSeparator();
            continue;
        }
        auto* action = window.findChild<QAction*>(name);
        toolbar->addAction(action);
        toolbar->widgetForAction(action)->setObjectName(name);
    }

    auto* reportsButton = new QToolButton(toolbar);
    reportsButton->setObjectName("btnReports");
    reportsButton->setIcon(ToolbarImage("reports"));
    reportsButton->setText("Reports");
    reportsButton->setMenu(reports);
    reportsButton->setPopupMode(QToolButton::InstantPopup);
    toolbar->addWidget(reportsButton);
    return reportsButton;
}

}  // namespace oryx::shell
