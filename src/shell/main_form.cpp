#include "shell/main_form.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include "doc/common/command.h"
#include "doc/common/dialogs.h"
#include "doc/common/wait_cursor.h"
#include "doc/document/mdi_child.h"
#include "doc/refs/reference_navigator.h"
#include "shell/about_box.h"
#include "shell/app_settings.h"
#include "shell/compare_command.h"
#include "shell/document_area.h"
#include "shell/file_opener.h"
#include "shell/images.h"
#include "shell/main_toolbar.h"
#include "shell/options_form.h"
#include "shell/recent_file_list.h"
#include "shell/report_menu.h"
#include "shell/taskbar.h"
#include "shell/window_geometry.h"
#include "shell/window_menu.h"

namespace oryx::shell {

namespace {
const QString kSettingsNotSaved = QStringLiteral("Settings could not be saved");
}

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent), settings_(std::make_unique<AppSettings>()) {
    setObjectName("MainForm");
    setWindowTitle("ORYX");
    setWindowIcon(ProgramIcon());
    // The document windows' area with the taskbar of window buttons below it.
    auto* client = new QWidget(this);
    auto* clientLayout = new QVBoxLayout(client);
    clientLayout->setContentsMargins(0, 0, 0, 0);
    clientLayout->setSpacing(0);
    taskbar_ = new Taskbar(client);
    documents_ = new DocumentArea(client, *taskbar_);
    clientLayout->addWidget(documents_->Area(), 1);
    clientLayout->addWidget(taskbar_);
    connect(taskbar_, &Taskbar::windowRequested, this,
            [this](const QString& name) { doc::RunCommand([&] { ActivateWindow(name); }); });
    compare_ = new CompareCommand(*this, *documents_);
    setCentralWidget(client);
    recentFiles_ = new RecentFileList(*settings_, this, [this](const QString& path) { OpenWithTaskbarButton(path); });
    fileOpener_ = new FileOpener(*this, *recentFiles_, [this](const QString& path) { OpenWithTaskbarButton(path); });
    reportMenu_ = new ReportMenu(this, [this] { return ActiveDocument(); });
    createActions();
    createMenus();
    reportsButton_ = AddMainToolBar(*this, recentFiles_->PopupMenu(), reportMenu_->Menu());
    statusBar()->setObjectName("StatusBar");
    statusBar()->setSizeGripEnabled(false);
    // Beside the hint panel: hints neither hide it nor are hidden by it.
    problemsStatus_ = new QLabel(statusBar());
    problemsStatus_->setObjectName("lblProblemsStatus");
    statusBar()->addPermanentWidget(problemsStatus_);
    RestoreWindowGeometry(*this, *settings_);

    connect(documents_, &DocumentArea::documentsChanged, this, &TMainForm::UpdateMenuItems);
    recentFiles_->Load();
    reportMenu_->AddCustomReports(ReportMenu::ConfigFile());
    recentFiles_->RefreshItems();
    aboutBox_ = new TAboutBox(this);  // hidden until Help | About
    // The stored options size and show the taskbar, and are stored back at once.
    optionsForm_ = new TOptionsForm(settings_->ViewTaskbar(), settings_->ButtonWidth(), this);
    optionsForm_->SetRulesFile(settings_->RulesFile());
    ApplyOptions();
    UpdateMenuItems();
}

void TMainForm::ApplyOptions() {
    taskbar_->ApplyOptions(*optionsForm_, *settings_);
    settings_->StoreRulesFile(optionsForm_->RulesFile());
    if (settings_->TakeWriteFailure()) statusBar()->showMessage(kSettingsNotSaved);
}

TMainForm::~TMainForm() {
    // The document windows go first, while this frame is whole: nothing they
    // do on their way out may call back into a half-destroyed main window.
    disconnect(documents_, nullptr, this, nullptr);
    for (QMdiSubWindow* window : documents_->Area()->subWindowList()) {
        disconnect(window, nullptr, this, nullptr);
        delete window;
    }
}

void TMainForm::closeEvent(QCloseEvent* event) {
    // With no document window open the stored state stays as it was.
    if (QMdiSubWindow* window = ActiveDocumentWindow()) settings_->StoreOpenDocumentsMaximized(window->isMaximized());
    StoreWindowGeometry(*this, *settings_);
    recentFiles_->Save();
    recentFiles_->Clear();
    if (settings_->TakeWriteFailure())
        doc::CurrentDialogs().Message(this, doc::MessageKind::Error, "Error", kSettingsNotSaved);
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

int TMainForm::DocumentCount() const { return documents_->DocumentCount(); }

QMdiSubWindow* TMainForm::ActiveDocumentWindow() const { return documents_->ActiveWindow(); }

doc::TMDIChild* TMainForm::ActiveDocument() const { return documents_->ActiveDocument(); }

void TMainForm::OnActiveDocument(const std::function<void(doc::TMDIChild&)>& command) {
    if (doc::TMDIChild* document = ActiveDocument()) command(*document);
}

void TMainForm::UpdateMenuItems() {
    const bool open = DocumentCount() > 0 && !CompareCommand::IsCompareWindow(ActiveDocumentWindow());
    for (QAction* command : documentCommands_) command->setEnabled(open);
    for (QAction* command : windowCommands_) command->setEnabled(DocumentCount() > 0 || compare_->WindowCount() > 0);
    doc::ReferenceNavigator* navigator = open && ActiveDocument() ? ActiveDocument()->Navigator() : nullptr;
    if (navigator)
        connect(navigator, &doc::ReferenceNavigator::HistoryChanged, this, &TMainForm::UpdateMenuItems,
                Qt::UniqueConnection);
    for (const char* name : {"ViewBackItem", "btnBack"})
        findChild<QAction*>(name)->setEnabled(navigator && navigator->CanGoBack());
    for (const char* name : {"ViewForwardItem", "btnForward"})
        findChild<QAction*>(name)->setEnabled(navigator && navigator->CanGoForward());
    reportsButton_->setEnabled(open);
    problemsStatus_->setText(open && ActiveDocument() ? ActiveDocument()->ProblemsSummary() : QString());
}

void TMainForm::OpenWithTaskbarButton(const QString& path) {
    doc::TMDIChild* document = nullptr;
    documents_->OpenWindow(
        QFileInfo(path).fileName(), QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()),
        settings_->OpenDocumentsMaximized(),
        [&] { return document = new doc::TMDIChild(this, path, doc::TMDIChild::LoadLater{}); },
        [&] { document->Load(); });
    reportMenu_->ClearChecks();
}

void TMainForm::OpenFiles(const QStringList& paths) { fileOpener_->OpenFiles(paths); }

void TMainForm::ActivateWindow(const QString& windowName) {
    QMdiSubWindow* window = documents_->Activate(windowName);
    if (auto* document = window ? qobject_cast<doc::TMDIChild*>(window->widget()) : nullptr)
        reportMenu_->ShowChecksOf(*document);
}

void TMainForm::SetReportChecked(reports::ReportId report, bool checked) { reportMenu_->SetChecked(report, checked); }

void TMainForm::SetProblemsChecked(bool checked) { reportMenu_->SetProblemsChecked(checked); }

QString TMainForm::RulesFile() const { return settings_->EffectiveRulesFile(); }

void TMainForm::ProblemsCounted(const QString& windowName) {
    for (doc::TMDIChild* document : findChildren<doc::TMDIChild*>())
        if (document->objectName() == windowName) taskbar_->SetSecondTipLine(windowName, document->ProblemsSummary());
    UpdateMenuItems();
}

void TMainForm::DocumentClosing(const QString& windowName) {
    if (!taskbar_->RemoveButton(windowName))
        // The text, misspelling included, is the original program's, kept on purpose.
        doc::CurrentDialogs().Message(this, doc::MessageKind::Error, "Error", "An internal error has occured.");
}

}  // namespace oryx::shell
