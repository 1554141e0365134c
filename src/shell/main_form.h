#pragma once

#include <QMainWindow>
#include <QStringList>
#include <array>
#include <memory>

#include "doc/document_host.h"

class QAbstractButton;
class QAction;
class QButtonGroup;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QPushButton;
class QToolBar;
class QToolButton;

namespace oryx::doc {
class TMDIChild;
}
namespace oryx::settings {
class TRegistryEnhanced;
}

namespace oryx::shell {

class TAboutBox;
class TOptionsForm;

// The frame of the application: menus, toolbar and status bar around a
// multiple-document area holding one TMDIChild per opened file. Every command
// acts on the active document window; the frame holds no provisioning data.
class TMainForm final : public QMainWindow, public doc::DocumentHost {
    Q_OBJECT

public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // Opens the file in a new document window named "MDIChild" + n. A file
    // that cannot be read throws; no window remains and the count stays.
    void OpenDocument(const QString& path);
    // Opens the file as the Open command does, behind a new taskbar button;
    // the button goes again when the file cannot be read, so every button
    // has its window.
    void OpenWithTaskbarButton(const QString& path);

    // The document window commands act on; null when none is open.
    doc::TMDIChild* ActiveDocument() const;
    QMdiSubWindow* ActiveDocumentWindow() const;
    // Document windows open now (closed ones that still await deletion not counted).
    int DocumentCount() const;

    // "ORYX Reports.cfg" in the folder of the running executable.
    static QString ReportConfigFile();

    // doc::DocumentHost
    void SetReportChecked(int reportCode, bool checked) override;
    void DocumentClosing(const QString& windowName) override;

public slots:
    void FileOpenItemClick();
    void FileCloseItemClick();
    void FileSaveItemClick();
    void FileExitItemClick();
    void btnPrintClick();
    void btnExpandClick();
    void btnCollapseClick();
    void WindowCascadeItemClick();
    void WindowTileItemClick();
    void WindowArrangeItemClick();
    void WindowMinimizeItemClick();
    void miOptionsClick();
    void HelpAboutItemClick();

    void miAtmIfReportClick();
    void miVCCAtmIfReportClick();
    void miFrAtmReportClick();
    void miFrAtmDlciReportClick();
    void miFrUniDlciReportClick();
    void miCommonReportClick();
    void miOverviewReportClick();
    void miVirtualRouterReportClick();
    void miRunCustomReportClick();

    // Shows the hint of the menu item or button under the pointer.
    void DisplayHint(const QString& hint);
    // Enables the commands that need a document window exactly while one is open.
    void UpdateMenuItems();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createActions();
    void createReportActions();
    void createMenus();
    void createToolBars();
    void createStatusBar();
    void FormCreate();

    void BuildCustomReportMenu();
    void updateWindowMenu();
    // Runs one report of the active document window under the hourglass.
    void RunReport(void (doc::TMDIChild::*report)());
    void ClearReportChecks();
    QAction* ReportItem(int reportCode) const;
    void StoreMaximized();

    // The recent-files list (recent_files.cpp).
    void RememberRecentFile(const QString& path);
    void LoadRecentFiles();
    void SaveRecentFiles();
    void File1Click();
    void miMRU1Click();

    // The taskbar of window buttons and its options (taskbar.cpp).
    void createTaskbar(QWidget* parent);
    QPushButton* AddTaskbarButton(const QString& caption);
    void RemoveTaskbarButton(const QString& windowName);
    void TaskbarButtonClick(QAbstractButton* button);
    void ApplyOptions();
    void DiscardTaskbarButton(QPushButton* button, QAbstractButton* previouslyPressed);

    QMdiArea* mdiArea_ = nullptr;
    // The settings store, below "\SOFTWARE\Corvex\ORYX\" of the local-machine root.
    std::unique_ptr<settings::TRegistryEnhanced> Reg;
    TAboutBox* AboutBox = nullptr;
    TOptionsForm* OptionsForm = nullptr;

    QStringList RecentFiles;
    QString openDialogFolder_;
    int DocumentCounter = 0;
    int ButtonWidth = 0;
    QWidget* Taskbar = nullptr;
    QList<QPushButton*> TaskbarButtons;  // in the order of their creation
    QButtonGroup* taskbarGroup_ = nullptr;

    QMenu* File1 = nullptr;
    QMenu* Edit1 = nullptr;
    QMenu* Window1 = nullptr;
    QMenu* Help1 = nullptr;
    QMenu* popReportMenu = nullptr;
    QMenu* MRUPopup = nullptr;
    QToolBar* ToolBar1 = nullptr;

    QAction* FileOpenItem = nullptr;
    QAction* FileCloseItem = nullptr;
    QAction* FileSaveItem = nullptr;
    QAction* FilePrintItem = nullptr;
    QAction* FileExitItem = nullptr;
    std::array<QAction*, 13> miMRU{};
    std::array<QAction*, 13> popMRU{};
    QAction* miOptions = nullptr;
    QAction* WindowCascadeItem = nullptr;
    QAction* WindowTileItem = nullptr;
    QAction* WindowArrangeItem = nullptr;
    QAction* WindowMinimizeItem = nullptr;
    QAction* HelpAboutItem = nullptr;

    QAction* OpenBtn = nullptr;
    QAction* SaveBtn = nullptr;
    QAction* btnPrint = nullptr;
    QAction* btnExpand = nullptr;
    QAction* btnCollapse = nullptr;
    QAction* ExitBtn = nullptr;
    QToolButton* btnReports = nullptr;

    QAction* miAtmIfReport = nullptr;
    QAction* miVCCAtmIfReport = nullptr;
    QAction* miFrAtmReport = nullptr;
    QAction* miFrAtmDlciReport = nullptr;
    QAction* miFrUniDlciReport = nullptr;
    QAction* miCommonReport = nullptr;
    QAction* miOverviewReport = nullptr;
    QAction* miVirtualRouterReport = nullptr;
    QAction* miReportMenuSeparator = nullptr;
};

}  // namespace oryx::shell
