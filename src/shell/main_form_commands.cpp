// The main window's menus and toolbar. Each command calls one operation of
// the active document window or of one of the window's parts.
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>

#include "doc/document/mdi_child.h"
#include "shell/about_box.h"
#include "shell/compare_command.h"
#include "shell/document_area.h"
#include "shell/file_opener.h"
#include "shell/images.h"
#include "shell/main_form.h"
#include "shell/options_form.h"
#include "shell/recent_file_list.h"
#include "shell/report_menu.h"
#include "shell/taskbar.h"
#include "shell/window_menu.h"

namespace oryx::shell {

QAction* TMainForm::AddCommand(const char* name, const QString& text, const QString& hint, std::function<void()> run) {
    auto* action = new QAction(text, this);
    action->setObjectName(name);
    action->setStatusTip(hint);
    connect(action, &QAction::triggered, this, std::move(run));
    return action;
}

void TMainForm::createActions() {
    const auto onDocument = [this](void (doc::TMDIChild::*command)()) {
        return [this, command] { OnActiveDocument([command](doc::TMDIChild& document) { (document.*command)(); }); };
    };
    const auto closeDocument = [this] {
        if (QMdiSubWindow* window = ActiveDocumentWindow()) window->close();
    };
    QAction* open =
        AddCommand("FileOpenItem", "&Open", "Open an existing file", [this] { fileOpener_->OpenChosenFile(); });
    open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    QAction* compare = AddCommand("FileCompareItem", "Compare &With...", "Compare the active file with another file",
                                  [this] { compare_->CompareActiveDocument(); });
    QAction* close = AddCommand("FileCloseItem", "&Close", "Close current file", closeDocument);
    QAction* reload =
        AddCommand("FileReloadItem", "&Reload", "Reload current file", onDocument(&doc::TMDIChild::Reload));
    reload->setShortcut(QKeySequence(Qt::Key_F5));
    QAction* save =
        AddCommand("FileSaveItem", "&Save", "Save current file", onDocument(&doc::TMDIChild::SaveTreeStructure));
    save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    // Printing is reached through the toolbar's print button only.
    QAction* print = AddCommand("FilePrintItem", "&Print", "Print current file", [] {});
    print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    print->setEnabled(false);
    AddCommand("FileExitItem", "E&xit", "Exit the application", [this] { this->close(); });
    QAction* find =
        AddCommand("EditFindItem", "&Find...", "Find in the component tree", onDocument(&doc::TMDIChild::ShowFindBar));
    find->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    AddCommand("miOptions", "&Options", "Edit ORYX Options", [this] {
        if (optionsForm_->exec() == QDialog::Accepted) ApplyOptions();
    });
    AddCommand("HelpAboutItem", "&About...", QString(), [this] { aboutBox_->exec(); });

    // The toolbar's buttons carry hints of their own, so they are actions of their own.
    const struct {
        const char* name;
        const char* text;
        const char* hint;
        const char* image;
        std::function<void()> run;
    } buttons[] = {
        {"OpenBtn", "Open", "Open File...", "open", [this] { fileOpener_->OpenChosenFile(); }},
        {"SaveBtn", "Save", "Save Tree Structure", "save", onDocument(&doc::TMDIChild::SaveTreeStructure)},
        {"btnPrint", "Print", "Print Tree Structure", "print", onDocument(&doc::TMDIChild::PrintTreeStructure)},
        {"btnExpand", "Expand All", "Expand All", "expand", onDocument(&doc::TMDIChild::ExpandAll)},
        {"btnCollapse", "Collapse All", "Collapse All", "collapse", onDocument(&doc::TMDIChild::CollapseAll)},
        {"ExitBtn", "Exit", "Exit ORYX", "exit", [this] { this->close(); }},
    };
    for (const auto& button : buttons) {
        QAction* action = AddCommand(button.name, button.text, button.hint, button.run);
        action->setIcon(ToolbarImage(button.image));
        action->setToolTip(action->statusTip());
    }
    // The View menu's items do what the toolbar's buttons do, under texts with access keys.
    QAction* expand =
        AddCommand("ViewExpandAllItem", "&Expand All", "Expand All", onDocument(&doc::TMDIChild::ExpandAll));
    QAction* collapse =
        AddCommand("ViewCollapseAllItem", "&Collapse All", "Collapse All", onDocument(&doc::TMDIChild::CollapseAll));
    // Back and Forward move through the active window's own history of jumps.
    AddCommand("ViewBackItem", "&Back", "Back to the component before the last jump",
               onDocument(&doc::TMDIChild::Back));
    AddCommand("ViewForwardItem", "&Forward", "Forward to the component left by going back",
               onDocument(&doc::TMDIChild::Forward));
    const struct {
        const char* name;
        const char* text;
        QStyle::StandardPixmap icon;
        void (doc::TMDIChild::*run)();
    } historyButtons[] = {
        {"btnBack", "Back", QStyle::SP_ArrowBack, &doc::TMDIChild::Back},
        {"btnForward", "Forward", QStyle::SP_ArrowForward, &doc::TMDIChild::Forward},
    };
    for (const auto& button : historyButtons) {
        QAction* action = AddCommand(button.name, button.text, button.text, onDocument(button.run));
        action->setIcon(style()->standardIcon(button.icon));
        action->setToolTip(action->statusTip());
    }
    documentCommands_ = {reload, save, compare, find, expand, collapse};
    for (const char* button : {"SaveBtn", "btnExpand", "btnCollapse", "btnPrint"})
        documentCommands_ << findChild<QAction*>(button);
    windowCommands_ = {close};
}

void TMainForm::createMenus() {
    QMenu* file = menuBar()->addMenu("&File");
    file->setObjectName("File1");
    file->menuAction()->setStatusTip("File related commands");
    for (const char* name :
         {"FileOpenItem", "FileCompareItem", "FileCloseItem", "FileReloadItem", "FileSaveItem", "FilePrintItem"})
        file->addAction(findChild<QAction*>(name));
    file->addSeparator();
    for (QAction* item : recentFiles_->MenuItems()) file->addAction(item);
    file->addSeparator();
    file->addAction(findChild<QAction*>("FileExitItem"));
    connect(file, &QMenu::aboutToShow, recentFiles_, &RecentFileList::RefreshItems);

    QMenu* edit = menuBar()->addMenu("&Edit");
    edit->setObjectName("Edit1");
    edit->addAction(findChild<QAction*>("EditFindItem"));
    edit->addSeparator();
    edit->addAction(findChild<QAction*>("miOptions"));

    QMenu* view = menuBar()->addMenu("&View");
    view->setObjectName("View1");
    view->addActions({findChild<QAction*>("ViewExpandAllItem"), findChild<QAction*>("ViewCollapseAllItem")});
    view->addSeparator();
    view->addActions({findChild<QAction*>("ViewBackItem"), findChild<QAction*>("ViewForwardItem")});
    QMenu* reports = menuBar()->addMenu("&Reports");
    reports->setObjectName("Reports1");
    reportMenu_->ShareWith(reports);
    documentCommands_ << reports->menuAction();

    windowMenu_ =
        new WindowMenu(menuBar()->addMenu("&Window"), *documents_->Area(), [this] { return ActiveDocumentWindow(); });
    for (QAction* item : windowMenu_->ArrangeItems()) windowCommands_ << item;

    QMenu* help = menuBar()->addMenu("&Help");
    help->setObjectName("Help1");
    help->menuAction()->setStatusTip("Help topics");
    help->addAction(findChild<QAction*>("HelpAboutItem"));

    // A menu's hint, and its items', go with it when it closes.
    for (QMenu* menu : findChildren<QMenu*>())
        connect(menu, &QMenu::aboutToHide, statusBar(), &QStatusBar::clearMessage);
}

}  // namespace oryx::shell
