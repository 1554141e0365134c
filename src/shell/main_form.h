#pragma once

#include <QMainWindow>

#include <functional>
#include <memory>

#include "doc/common/document_host.h"
#include "reports/report_registry.h"

class QAction;
class QLabel;
class QMdiSubWindow;
class QToolButton;

namespace oryx::doc {
class TMDIChild;
}

namespace oryx::shell {

class AppSettings;
class CompareCommand;
class DocumentArea;
class FileOpener;
class RecentFileList;
class ReportMenu;
class TAboutBox;
class Taskbar;
class TOptionsForm;
class WindowMenu;

// The frame of the application: menus, toolbar and status bar around a
// multiple-document area holding one TMDIChild per opened file, with the
// taskbar of window buttons below it. Every command acts on the active
// document window; the frame holds no provisioning data. Its parts (the
// report menu, the taskbar, the recent files, the Window menu) each do one job.
// TMainForm and the object names of its items are the original program's,
// kept on purpose.
class TMainForm final : public QMainWindow, public doc::DocumentHost {
    Q_OBJECT

public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // Opens the file in a new document window named "MDIChild" + n behind
    // its taskbar button "MyButton" + n, as the Open command does. A file that
    // cannot be read throws; then neither the window nor the button remains
    // and the count stays.
    void OpenWithTaskbarButton(const QString& path);
    // Opens each file as the Open command does (command line, dropped files).
    void OpenFiles(const QStringList& paths);

    // The document window commands act on; null when none is open.
    doc::TMDIChild* ActiveDocument() const;
    QMdiSubWindow* ActiveDocumentWindow() const;
    // Document windows open now (closed ones that still await deletion not counted).
    int DocumentCount() const;

    // "ORYX Reports.cfg" in the folder of the running executable.
    static QString ReportConfigFile();

    // doc::DocumentHost
    void SetReportChecked(reports::ReportId report, bool checked) override;
    void SetProblemsChecked(bool checked) override;
    void DocumentClosing(const QString& windowName) override;
    QString RulesFile() const override;
    void ProblemsCounted(const QString& windowName) override;

    // The status bar's permanent section: the active document's problem counts.
    QLabel* ProblemsStatus() const { return problemsStatus_; }

    // Shows the hint of the menu item or button under the pointer.
    void DisplayHint(const QString& hint);
    // Enables the commands on documents while a document window is open and no compare
    // window is active, and the commands on windows while any window is open.
    void UpdateMenuItems();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QAction* AddCommand(const char* name, const QString& text, const QString& hint, std::function<void()> run);
    void createActions();
    void createMenus();

    // Stores and applies the options dialog's choices; says so when they could not be stored.
    void ApplyOptions();
    // A taskbar button was clicked: its window comes to the front.
    void ActivateWindow(const QString& windowName);
    // Runs a command of the active document window, if there is one.
    void OnActiveDocument(const std::function<void(doc::TMDIChild&)>& command);

    std::unique_ptr<AppSettings> settings_;
    DocumentArea* documents_ = nullptr;
    Taskbar* taskbar_ = nullptr;
    RecentFileList* recentFiles_ = nullptr;
    FileOpener* fileOpener_ = nullptr;
    ReportMenu* reportMenu_ = nullptr;
    WindowMenu* windowMenu_ = nullptr;
    TAboutBox* aboutBox_ = nullptr;
    TOptionsForm* optionsForm_ = nullptr;
    CompareCommand* compare_ = nullptr;

    QList<QAction*> documentCommands_;
    QList<QAction*> windowCommands_;
    QToolButton* reportsButton_ = nullptr;
    QLabel* problemsStatus_ = nullptr;
};

}  // namespace oryx::shell
