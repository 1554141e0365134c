#pragma once

#include <QWidget>

#include <memory>

#include "doc/report/report_window_info.h"
#include "reports/report_registry.h"

class QLabel;

namespace oryx::prov {
class ComponentNode;
class ComponentStore;
class ReadDiagnostics;
}  // namespace oryx::prov

namespace oryx::doc {

class AttributeList;
class ComponentTreeModel;
class CopyCommand;
class DocumentHost;
class FindBar;
class OpenFileMark;
class PathStrip;
class ProblemsCheck;
class ReferencedByPanel;
class ReferenceNavigator;
class ReportPanel;
class TreeActions;
class TZTreeView;

// The window of one opened provisioning file: the component tree on the
// left, the attributes of the selected component on the right and the report
// panel below them. It owns the file's component store. The class and object
// names (TMDIChild, "MDIChild" + n) are the original program's, kept on purpose.
class TMDIChild final : public QWidget {
    Q_OBJECT

public:
    // Reads the file and builds the tree; throws oryx::prov::FileError when
    // the file cannot be read (no window remains then).
    TMDIChild(DocumentHost* host, const QString& fileName, QWidget* parent = nullptr);
    // The window alone, captioned "Please Wait...Building Tree Structure"
    // until Load reads the file and builds the tree (or throws).
    struct LoadLater {};
    TMDIChild(DocumentHost* host, const QString& fileName, LoadLater, QWidget* parent = nullptr);
    ~TMDIChild() override;
    void Load();
    // Reads the file again into this window and selects the component that
    // was selected, when the file still has it. A file that cannot be read
    // throws and leaves the window as it was.
    void Reload();

    void SaveTreeStructure();
    void PrintTreeStructure();
    void ExpandAll();
    void CollapseAll();
    // "&Find...": the find bar, with the focus in its text.
    void ShowFindBar();

    // Shows the fixed report, or closes it when it is the one on show.
    void ShowReport(reports::ReportId id);
    void ShowOverviewReport();
    void ShowNodeSummaryReport();
    void ShowVirtualRouterReport();
    void ShowAtmIfReport();
    void ShowAtmIfVccReport();
    void ShowFrAtmReport();
    void ShowFrAtmDlciReport();
    void ShowFrUniDlciReport();
    void ShowCustomReport(const QString& sectionName, const QString& configFile);
    // "&Problems": the file's findings, checked afresh with each load.
    void ShowProblems();
    // "3 errors, 5 warnings" once the background check is done; empty when clean.
    QString ProblemsSummary() const;
    ProblemsCheck* Problems() const { return problems_; }
    // Selects the component of the Problems list's row, and its attribute line.
    void GoToProblem(int row);

    // The report on show (0 none, 1..8 fixed reports, 10 custom).
    int CurrentReportNumber() const;
    bool IsReportListVisible(PanelReport report) const;

    const prov::ComponentStore& Store() const { return *store_; }
    const QString& FileName() const { return fileName_; }

    // The controls, for the main window's tests and this window's own.
    TZTreeView* Tree() const { return tree_; }
    AttributeList* Attributes() const { return attributes_; }
    QLabel* PathLabel() const;
    // The path label's whole text ("Index Of: " and the path), also where
    // the label shows only the ends of a very long path.
    const QString& IndexOfText() const;
    ReportPanel* Reports() const { return reportPanel_; }

    // "&Copy": the component path, or path and attribute row, to the clipboard.
    void CopySelection();

    // "&Back" and "&Forward": through the places this window's jumps left.
    void Back();
    void Forward();
    ReferenceNavigator* Navigator() const { return navigator_; }
    ReferencedByPanel* ReferencedBy() const { return referencedBy_; }

private:
    void BuildLayout();
    void ShowComponent(const prov::ComponentNode* item);
    // When the window closes: the store goes, and the host is told.
    void ReleaseStore();
    void StartProblemsCheck(std::unique_ptr<prov::ReadDiagnostics> diagnostics);

    DocumentHost* host_;
    QString fileName_;
    std::unique_ptr<OpenFileMark> openMark_;  // no save replaces the file while the window is open
    std::unique_ptr<prov::ComponentStore> store_;

    TZTreeView* tree_ = nullptr;
    ComponentTreeModel* treeModel_ = nullptr;
    TreeActions* treeActions_ = nullptr;
    PathStrip* pathStrip_ = nullptr;
    AttributeList* attributes_ = nullptr;
    CopyCommand* copyCommand_ = nullptr;
    ReportPanel* reportPanel_ = nullptr;
    FindBar* findBar_ = nullptr;
    ReferencedByPanel* referencedBy_ = nullptr;
    ReferenceNavigator* navigator_ = nullptr;
    ProblemsCheck* problems_ = nullptr;
};

}  // namespace oryx::doc
