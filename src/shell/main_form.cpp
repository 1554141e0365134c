#include "shell/main_form.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include "doc/dialogs.h"
#include "doc/mdi_child.h"
#include "doc/wait_cursor.h"
#include "shell/about_box.h"
#include "shell/app_settings.h"
#include "shell/compare_command.h"
#include "shell/images.h"
#include "shell/main_toolbar.h"
#include "shell/options_form.h"
#include "shell/recent_file_list.h"
#include "shell/report_menu.h"
#include "shell/taskbar.h"
#include "shell/window_menu.h"

namespace oryx::shell {

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent), settings_(std::make_unique<AppSettings>()) {
    setObjectName("MainForm");
    setWindowTitle("ORYX");
    setWindowIcon(ProgramIcon());
    // The document windows' area with the taskbar of window buttons below it.
    auto* client = new QWidget(this);
    auto* clientLayout = new QVBoxLayout(client);
    clientLayout->setContentsMargins(0, 0, 0, 0);
    clientLayout->setSpacing(0);
    mdiArea_ = new QMdiArea(client);
    mdiArea_->setObjectName("ClientArea");
    clientLayout->addWidget(mdiArea_, 1);
    taskbar_ = new Taskbar(client);
    connect(taskbar_, &Taskbar::windowRequested, this, &TMainForm::ActivateDocument);
    clientLayout->addWidget(taskbar_);
    compare_ = new CompareCommand(*this, *mdiArea_, *taskbar_, documentCounter_);
    setCentralWidget(client);
    recentFiles_ = new RecentFileList(*settings_, this, [this](const QString& path) { OpenWithTaskbarButton(path); });
    reportMenu_ = new ReportMenu(
        this, [this](reports::ReportId id) { OnActiveDocument([id](doc::TMDIChild& document) {
            const doc::WaitCursor hourglass;
            document.ShowReport(id);
        }); },
        [this](const QString& section) { OnActiveDocument([&section](doc::TMDIChild& document) {
            document.ShowCustomReport(section, ReportMenu::ConfigFile());
        }); });
    createActions();
    createMenus();
    reportsButton_ = AddMainToolBar(*this, recentFiles_->PopupMenu(), reportMenu_->Menu());
    statusBar()->setObjectName("StatusBar");
    statusBar()->setSizeGripEnabled(false);
    resize(468, 305);

    connect(mdiArea_, &QMdiArea::subWindowActivated, this, &TMainForm::UpdateMenuItems);
    recentFiles_->Load();
    reportMenu_->AddCustomReports(ReportMenu::ConfigFile());
    recentFiles_->RefreshItems();
    aboutBox_ = new TAboutBox(this);  // hidden until Help | About
    // The stored options size and show the taskbar, and are stored back at once.
    optionsForm_ = new TOptionsForm(settings_->ViewTaskbar(), settings_->ButtonWidth(), this);
    taskbar_->ApplyOptions(*optionsForm_, *settings_);
    UpdateMenuItems();
}

TMainForm::~TMainForm() {
    // The document windows go first, while this frame is whole: nothing they
    // do on their way out may call back into a half-destroyed main window.
    disconnect(mdiArea_, nullptr, this, nullptr);
    for (QMdiSubWindow* window : mdiArea_->subWindowList()) {
        disconnect(window, nullptr, this, nullptr);
        delete window;
    }
}

void TMainForm::closeEvent(QCloseEvent* event) {
    // With no document window open the stored state stays as it was.
    if (QMdiSubWindow* window = ActiveDocumentWindow())
        settings_->StoreOpenDocumentsMaximized(window->isMaximized());
    recentFiles_->Save();
    recentFiles_->Clear();
    event->accept();
}

bool TMainForm::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        DisplayHint(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void TMainForm::DisplayHint(const QString& hint) { statusBar()->showMessage(hint); }

QString TMainForm::ReportConfigFile() { return ReportMenu::ConfigFile(); }

int TMainForm::DocumentCount() const {
    int count = 0;
    for (QMdiSubWindow* window : mdiArea_->subWindowList())
        if (!window->isHidden() && qobject_cast<doc::TMDIChild*>(window->widget()))
            ++count;
    return count;
}

QMdiSubWindow* TMainForm::ActiveDocumentWindow() const {
    // currentSubWindow, not activeSubWindow: the latter is null whenever the
    // application itself is not the active one (another program in front).
    QMdiSubWindow* window = mdiArea_->currentSubWindow();
    return window && !window->isHidden() ? window : nullptr;
}

doc::TMDIChild* TMainForm::ActiveDocument() const {
    QMdiSubWindow* window = ActiveDocumentWindow();
    return window ? qobject_cast<doc::TMDIChild*>(window->widget()) : nullptr;
}

void TMainForm::OnActiveDocument(const std::function<void(doc::TMDIChild&)>& command) {
    if (doc::TMDIChild* document = ActiveDocument()) command(*document);
}

void TMainForm::UpdateMenuItems() {
    const bool open = DocumentCount() > 0 && !CompareCommand::IsCompareWindow(ActiveDocumentWindow());
    for (QAction* command : documentCommands_)
        command->setEnabled(open);
    for (QAction* command : windowCommands_)
        command->setEnabled(DocumentCount() > 0 || compare_->WindowCount() > 0);
    reportsButton_->setEnabled(open);
}

void TMainForm::OpenDocument(const QString& path) {
    const doc::WaitCursor hourglass;
    auto* document = new doc::TMDIChild(this, path);
    QMdiSubWindow* window = mdiArea_->addSubWindow(document);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(document->windowTitle());
    window->setWindowIcon(document->windowIcon());
    // A window that closes changes the count after the active-window signal
    // has already fired; look again once it is gone.
    connect(window, &QObject::destroyed, this, &TMainForm::UpdateMenuItems, Qt::QueuedConnection);
    if (settings_->OpenDocumentsMaximized())
        window->showMaximized();
    else
        window->show();
    mdiArea_->setActiveSubWindow(window);

    const QString name = Taskbar::WindowName(++documentCounter_);
    window->setObjectName(name);
    document->setObjectName(name);
    reportMenu_->ClearChecks();
    UpdateMenuItems();
}

void TMainForm::OpenWithTaskbarButton(const QString& path) {
    QPointer<QAbstractButton> previouslyPressed = taskbar_->PressedButton();
    QPushButton* button = taskbar_->AddButton(QFileInfo(path).fileName(), documentCounter_ + 1, taskbar_->ButtonCount());
    try {
        OpenDocument(path);
    } catch (...) {
        taskbar_->DiscardButton(button, previouslyPressed);
        throw;
    }
}

void TMainForm::OpenChosenFile() {
    const QString path =
        doc::CurrentDialogs().OpenFile(this, "Open", "All files (*)", recentFiles_->OpenDialogFolder());
    if (path.isEmpty())
        return;
    recentFiles_->Remember(path);
    OpenWithTaskbarButton(path);
}

void TMainForm::ActivateDocument(const QString& windowName) {
    const QList<QMdiSubWindow*> windows = mdiArea_->subWindowList();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        auto* document = qobject_cast<doc::TMDIChild*>((*it)->widget());
        if (!document || (*it)->objectName() != windowName)
            continue;
        mdiArea_->setActiveSubWindow(*it);
        reportMenu_->ShowChecksOf(*document);
    }
}

void TMainForm::SetReportChecked(int reportCode, bool checked) { reportMenu_->SetChecked(reportCode, checked); }

void TMainForm::DocumentClosing(const QString& windowName) {
    if (!taskbar_->RemoveButton(windowName))
        doc::CurrentDialogs().Message(this, doc::MessageKind::Error, "Error", "An internal error has occured.");
}

}  // namespace oryx::shell
