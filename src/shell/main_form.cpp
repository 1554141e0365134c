#include "shell/main_form.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include "doc/mdi_child.h"
#include "doc/wait_cursor.h"
#include "settings/registry_enhanced.h"
#include "shell/about_box.h"
#include "shell/images.h"
#include "shell/options_form.h"

namespace oryx::shell {

namespace {
constexpr auto kMaximizedSetting = "Maximized";
}

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent), Reg(std::make_unique<settings::TRegistryEnhanced>()) {
    Reg->RootKey = settings::TRootKey::hkLocalMachine;
    Reg->Key = "\\SOFTWARE\\Corvex\\ORYX\\";
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
    createTaskbar(client);
    clientLayout->addWidget(Taskbar);
    setCentralWidget(client);

    createActions();
    createMenus();
    createToolBars();
    createStatusBar();
    resize(468, 305);

    FormCreate();
    // Created after the frame, hidden until Help | About.
    AboutBox = new TAboutBox(this);
    // Then the options dialog; what it read from the settings store sizes and
    // shows the taskbar, and is stored back at once.
    OptionsForm = new TOptionsForm(*Reg, this);
    ApplyOptions();
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

void TMainForm::FormCreate() {
    // The hint handler is event() below; the active-window handler:
    connect(mdiArea_, &QMdiArea::subWindowActivated, this, &TMainForm::UpdateMenuItems);
    RecentFiles.clear();
    DocumentCounter = 0;
    LoadRecentFiles();
    BuildCustomReportMenu();
    File1Click();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    StoreMaximized();
    SaveRecentFiles();
    RecentFiles.clear();
    event->accept();
}

void TMainForm::StoreMaximized() {
    // With no document window open the stored value stays as it was.
    if (QMdiSubWindow* window = ActiveDocumentWindow())
        Reg->WriteValue(kMaximizedSetting, window->isMaximized() ? 1 : 0);
}

bool TMainForm::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        DisplayHint(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void TMainForm::DisplayHint(const QString& hint) {
    statusBar()->showMessage(hint);
}

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

void TMainForm::UpdateMenuItems() {
    const bool open = DocumentCount() > 0;
    for (QAction* item : {FileCloseItem, FileSaveItem, SaveBtn, btnExpand, btnCollapse, btnPrint, WindowCascadeItem,
                          WindowTileItem, WindowArrangeItem, WindowMinimizeItem})
        item->setEnabled(open);
    btnReports->setEnabled(open);
}

void TMainForm::OpenDocument(const QString& path) {
    const doc::WaitCursor hourglass;
    auto* child = new doc::TMDIChild(this, path);
    QMdiSubWindow* window = mdiArea_->addSubWindow(child);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(child->windowTitle());
    window->setWindowIcon(child->windowIcon());
    // A window that closes changes the count after the active-window signal
    // has already fired; look again once it is gone.
    connect(window, &QObject::destroyed, this, &TMainForm::UpdateMenuItems, Qt::QueuedConnection);

    const settings::SettingValue maximized = Reg->ReadValue(kMaximizedSetting, 0);
    if (maximized.IsInteger() && maximized.AsInteger() == 1)
        window->showMaximized();
    else
        window->show();
    mdiArea_->setActiveSubWindow(window);

    ++DocumentCounter;
    const QString name = QStringLiteral("MDIChild%1").arg(DocumentCounter);
    window->setObjectName(name);
    child->setObjectName(name);
    ClearReportChecks();
    UpdateMenuItems();
}

void TMainForm::DocumentClosing(const QString& windowName) {
    RemoveTaskbarButton(windowName);
}

QAction* TMainForm::ReportItem(int reportCode) const {
    switch (reportCode) {
    case 1: return miOverviewReport;
    case 2: return miVCCAtmIfReport;
    case 3: return miFrAtmDlciReport;
    case 4: return miFrUniDlciReport;
    case 5: return miFrAtmReport;
    case 6: return miAtmIfReport;
    case 7: return miCommonReport;
    case 8: return miVirtualRouterReport;
    default: return nullptr;
    }
}

void TMainForm::SetReportChecked(int reportCode, bool checked) {
    if (QAction* item = ReportItem(reportCode))
        item->setChecked(checked);
}

void TMainForm::ClearReportChecks() {
    for (int code = 1; code <= 8; ++code)
        SetReportChecked(code, false);
}

void TMainForm::RunReport(void (doc::TMDIChild::*report)()) {
    // A click flips the item's own mark; the report panel sets every mark
    // afresh (it clears all eight first), so the flip never shows.
    doc::TMDIChild* child = ActiveDocument();
    if (!child)
        return;
    const doc::WaitCursor hourglass;
    (child->*report)();
}

}  // namespace oryx::shell
