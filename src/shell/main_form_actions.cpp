// The main window's commands: building the menus, toolbar and status bar, and
// the handlers behind them. Each handler calls one operation.
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include "doc/dialogs.h"
#include "doc/mdi_child.h"
#include "shell/about_box.h"
#include "shell/images.h"
#include "shell/main_form.h"
#include "shell/window_arrange.h"

namespace oryx::shell {

namespace {

QAction* MakeAction(QObject* owner, const char* name, const QString& text, const QString& hint) {
    auto* action = new QAction(text, owner);
    action->setObjectName(name);
    action->setStatusTip(hint);
    return action;
}

}  // namespace

void TMainForm::createActions() {
    FileOpenItem = MakeAction(this, "FileOpenItem", "&Open", "Open an existing file");
    FileOpenItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    connect(FileOpenItem, &QAction::triggered, this, &TMainForm::FileOpenItemClick);
    FileCloseItem = MakeAction(this, "FileCloseItem", "&Close", "Close current file");
    connect(FileCloseItem, &QAction::triggered, this, &TMainForm::FileCloseItemClick);
    FileSaveItem = MakeAction(this, "FileSaveItem", "&Save", "Save current file");
    FileSaveItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(FileSaveItem, &QAction::triggered, this, &TMainForm::FileSaveItemClick);
    // Printing is reached through the toolbar's print button only.
    FilePrintItem = MakeAction(this, "FilePrintItem", "&Print", "Print current file");
    FilePrintItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    FilePrintItem->setEnabled(false);
    for (std::size_t i = 0; i < miMRU.size(); ++i) {
        const QString caption = QStringLiteral("MRU%1").arg(i + 1);
        miMRU[i] = MakeAction(this, qPrintable(QStringLiteral("miMRU%1").arg(i + 1)), caption, QString());
        connect(miMRU[i], &QAction::triggered, this, &TMainForm::miMRU1Click);
        popMRU[i] = MakeAction(this, qPrintable(QStringLiteral("popMRU%1").arg(i + 1)), caption, QString());
        popMRU[i]->setVisible(false);
        connect(popMRU[i], &QAction::triggered, this, &TMainForm::miMRU1Click);
    }
    FileExitItem = MakeAction(this, "FileExitItem", "E&xit", "Exit the application");
    connect(FileExitItem, &QAction::triggered, this, &TMainForm::FileExitItemClick);

    miOptions = MakeAction(this, "miOptions", "&Options", "Edit ORYX Options");
    connect(miOptions, &QAction::triggered, this, &TMainForm::miOptionsClick);

    WindowCascadeItem = MakeAction(this, "WindowCascadeItem", "&Cascade", "Arrange windows to overlap");
    connect(WindowCascadeItem, &QAction::triggered, this, &TMainForm::WindowCascadeItemClick);
    WindowTileItem = MakeAction(this, "WindowTileItem", "&Tile", "Arrange windows without overlap");
    connect(WindowTileItem, &QAction::triggered, this, &TMainForm::WindowTileItemClick);
    WindowArrangeItem = MakeAction(this, "WindowArrangeItem", "&Arrange Icons",
                                   "Arrange window icons at bottom of main window");
    connect(WindowArrangeItem, &QAction::triggered, this, &TMainForm::WindowArrangeItemClick);
    WindowMinimizeItem = MakeAction(this, "WindowMinimizeItem", "&Minimize All", "Minimize all windows");
    connect(WindowMinimizeItem, &QAction::triggered, this, &TMainForm::WindowMinimizeItemClick);

    HelpAboutItem = MakeAction(this, "HelpAboutItem", "&About...", QString());
    connect(HelpAboutItem, &QAction::triggered, this, &TMainForm::HelpAboutItemClick);

    // The toolbar's buttons carry hints of their own, so they are actions of their own.
    OpenBtn = MakeAction(this, "OpenBtn", "Open", "Open File...");
    OpenBtn->setIcon(ToolbarImage("open"));
    connect(OpenBtn, &QAction::triggered, this, &TMainForm::FileOpenItemClick);
    SaveBtn = MakeAction(this, "SaveBtn", "Save", "Save Tree Structure");
    SaveBtn->setIcon(ToolbarImage("save"));
    connect(SaveBtn, &QAction::triggered, this, &TMainForm::FileSaveItemClick);
    btnPrint = MakeAction(this, "btnPrint", "Print", "Print Tree Structure");
    btnPrint->setIcon(ToolbarImage("print"));
    connect(btnPrint, &QAction::triggered, this, &TMainForm::btnPrintClick);
    btnExpand = MakeAction(this, "btnExpand", "Expand All", "Expand All");
    btnExpand->setIcon(ToolbarImage("expand"));
    connect(btnExpand, &QAction::triggered, this, &TMainForm::btnExpandClick);
    btnCollapse = MakeAction(this, "btnCollapse", "Collapse All", "Collapse All");
    btnCollapse->setIcon(ToolbarImage("collapse"));
    connect(btnCollapse, &QAction::triggered, this, &TMainForm::btnCollapseClick);
    ExitBtn = MakeAction(this, "ExitBtn", "Exit", "Exit ORYX");
    ExitBtn->setIcon(ToolbarImage("exit"));
    connect(ExitBtn, &QAction::triggered, this, &TMainForm::FileExitItemClick);
    for (QAction* button : {OpenBtn, SaveBtn, btnPrint, btnExpand, btnCollapse, ExitBtn})
        button->setToolTip(button->statusTip());

    createReportActions();
}

void TMainForm::createReportActions() {
    popReportMenu = new QMenu(this);
    popReportMenu->setObjectName("popReportMenu");
    const auto add = [this](QAction*& item, const char* name, const char* caption, void (TMainForm::*handler)()) {
        item = MakeAction(this, name, caption, QString());
        item->setCheckable(true);
        connect(item, &QAction::triggered, this, handler);
        popReportMenu->addAction(item);
    };
    add(miAtmIfReport, "miAtmIfReport", "AtmIf Report", &TMainForm::miAtmIfReportClick);
    add(miVCCAtmIfReport, "miVCCAtmIfReport", "AtmIf Vcc Report", &TMainForm::miVCCAtmIfReportClick);
    add(miFrAtmReport, "miFrAtmReport", "FrAtm Report", &TMainForm::miFrAtmReportClick);
    add(miFrAtmDlciReport, "miFrAtmDlciReport", "FrAtm Dlci Report", &TMainForm::miFrAtmDlciReportClick);
    add(miFrUniDlciReport, "miFrUniDlciReport", "FrUni Dlci Report", &TMainForm::miFrUniDlciReportClick);
    add(miCommonReport, "miCommonReport", "Node Summary", &TMainForm::miCommonReportClick);
    add(miOverviewReport, "miOverviewReport", "Halyard Overview Report", &TMainForm::miOverviewReportClick);
    add(miVirtualRouterReport, "miVirtualRouterReport", "Virtual Router", &TMainForm::miVirtualRouterReportClick);
    miReportMenuSeparator = popReportMenu->addSeparator();
    miReportMenuSeparator->setObjectName("miReportMenuSeparator");
    miReportMenuSeparator->setVisible(false);
}

void TMainForm::createMenus() {
    File1 = menuBar()->addMenu("&File");
    File1->setObjectName("File1");
    File1->menuAction()->setStatusTip("File related commands");
    File1->addActions({FileOpenItem, FileCloseItem, FileSaveItem, FilePrintItem});
    File1->addSeparator();
    for (QAction* slot : miMRU)
        File1->addAction(slot);
    File1->addSeparator();
    File1->addAction(FileExitItem);
    connect(File1, &QMenu::aboutToShow, this, &TMainForm::File1Click);

    Edit1 = menuBar()->addMenu("&Edit");
    Edit1->setObjectName("Edit1");
    Edit1->addAction(miOptions);

    Window1 = menuBar()->addMenu("&Window");
    Window1->setObjectName("Window1");
    Window1->menuAction()->setStatusTip("Window related commands such as Tile and Cascade");
    connect(Window1, &QMenu::aboutToShow, this, &TMainForm::updateWindowMenu);
    updateWindowMenu();

    Help1 = menuBar()->addMenu("&Help");
    Help1->setObjectName("Help1");
    Help1->menuAction()->setStatusTip("Help topics");
    Help1->addAction(HelpAboutItem);
}

void TMainForm::updateWindowMenu() {
    Window1->clear();
    Window1->addActions({WindowCascadeItem, WindowTileItem, WindowArrangeItem, WindowMinimizeItem});
    const QList<QMdiSubWindow*> windows = mdiArea_->subWindowList();
    QMdiSubWindow* active = ActiveDocumentWindow();
    bool first = true;
    int number = 0;
    for (QMdiSubWindow* window : windows) {
        if (window->isHidden())
            continue;
        if (first)
            Window1->addSeparator();
        first = false;
        ++number;
        const QString title = window->windowTitle();
        const QString text = number < 10 ? QStringLiteral("&%1 %2").arg(number).arg(title)
                                         : QStringLiteral("%1 %2").arg(number).arg(title);
        QAction* item = Window1->addAction(text);
        item->setCheckable(true);
        item->setChecked(window == active);
        connect(item, &QAction::triggered, window, [this, window] { mdiArea_->setActiveSubWindow(window); });
    }
}

void TMainForm::createToolBars() {
    ToolBar1 = addToolBar("ToolBar1");
    ToolBar1->setObjectName("ToolBar1");
    ToolBar1->setMovable(false);
    ToolBar1->setIconSize(QSize(20, 20));

    MRUPopup = new QMenu(this);
    MRUPopup->setObjectName("MRUPopup");
    for (QAction* slot : popMRU)
        MRUPopup->addAction(slot);
    connect(MRUPopup, &QMenu::aboutToShow, this, &TMainForm::File1Click);
    auto* openButton = new QToolButton(ToolBar1);
    openButton->setObjectName("OpenBtn");
    openButton->setDefaultAction(OpenBtn);
    openButton->setMenu(MRUPopup);
    openButton->setPopupMode(QToolButton::MenuButtonPopup);
    ToolBar1->addWidget(openButton);

    ToolBar1->addAction(SaveBtn);
    ToolBar1->addAction(btnPrint);
    ToolBar1->addSeparator();
    ToolBar1->addAction(btnExpand);
    ToolBar1->addAction(btnCollapse);
    ToolBar1->addSeparator();
    ToolBar1->addAction(ExitBtn);
    ToolBar1->addSeparator();
    for (QAction* action : {SaveBtn, btnPrint, btnExpand, btnCollapse, ExitBtn})
        ToolBar1->widgetForAction(action)->setObjectName(action->objectName());

    btnReports = new QToolButton(ToolBar1);
    btnReports->setObjectName("btnReports");
    btnReports->setIcon(ToolbarImage("reports"));
    btnReports->setText("Reports");
    btnReports->setMenu(popReportMenu);
    btnReports->setPopupMode(QToolButton::InstantPopup);
    ToolBar1->addWidget(btnReports);
}

void TMainForm::createStatusBar() {
    statusBar()->setObjectName("StatusBar");
    statusBar()->setSizeGripEnabled(false);
}

void TMainForm::FileOpenItemClick() {
    const QString path = doc::CurrentDialogs().OpenFile(this, "Open", "All files (*)", openDialogFolder_);
    if (path.isEmpty())
        return;
    RememberRecentFile(path);
    OpenWithTaskbarButton(path);
}

void TMainForm::FileCloseItemClick() {
    if (QMdiSubWindow* window = ActiveDocumentWindow())
        window->close();
}

void TMainForm::FileSaveItemClick() {
    if (doc::TMDIChild* child = ActiveDocument())
        child->SaveTreeStructure();
}

void TMainForm::FileExitItemClick() {
    close();
}

void TMainForm::btnPrintClick() {
    if (doc::TMDIChild* child = ActiveDocument())
        child->PrintTreeStructure();
}

void TMainForm::btnExpandClick() {
    if (doc::TMDIChild* child = ActiveDocument())
        child->ExpandAll();
}

void TMainForm::btnCollapseClick() {
    if (doc::TMDIChild* child = ActiveDocument())
        child->CollapseAll();
}

void TMainForm::WindowCascadeItemClick() {
    mdiArea_->cascadeSubWindows();
}

void TMainForm::WindowTileItemClick() {
    TileHorizontally(*mdiArea_);
}

void TMainForm::WindowArrangeItemClick() {
    ArrangeIcons(*mdiArea_);
}

void TMainForm::WindowMinimizeItemClick() {
    MinimizeAll(*mdiArea_);
}

void TMainForm::HelpAboutItemClick() {
    AboutBox->exec();
}

void TMainForm::miAtmIfReportClick() {
    RunReport(&doc::TMDIChild::ShowAtmIfReport);
}

void TMainForm::miVCCAtmIfReportClick() {
    RunReport(&doc::TMDIChild::ShowAtmIfVccReport);
}

void TMainForm::miFrAtmReportClick() {
    RunReport(&doc::TMDIChild::ShowFrAtmReport);
}

void TMainForm::miFrAtmDlciReportClick() {
    RunReport(&doc::TMDIChild::ShowFrAtmDlciReport);
}

void TMainForm::miFrUniDlciReportClick() {
    RunReport(&doc::TMDIChild::ShowFrUniDlciReport);
}

void TMainForm::miCommonReportClick() {
    RunReport(&doc::TMDIChild::ShowNodeSummaryReport);
}

void TMainForm::miOverviewReportClick() {
    RunReport(&doc::TMDIChild::ShowOverviewReport);
}

void TMainForm::miVirtualRouterReportClick() {
    RunReport(&doc::TMDIChild::ShowVirtualRouterReport);
}

}  // namespace oryx::shell
