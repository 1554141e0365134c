#pragma once

#include <QPersistentModelIndex>
#include <QWidget>

#include <memory>

#include "reports/report_registry.h"

class QLabel;
class QMenu;
class QSplitter;
class QTimer;
class QTreeView;

namespace oryx::prov {
class ComponentNode;
class ComponentStore;
}  // namespace oryx::prov

namespace oryx::doc {

class AttributeListModel;
class ComponentTreeModel;
class DocumentHost;
class ReportPanel;
class TZTreeView;

// The window of one opened provisioning file: the component tree on the
// left, the attributes of the selected component on the right and the report
// panel below them. It owns the file's component store.
class TMDIChild final : public QWidget {
    Q_OBJECT

public:
    // Reads the file and builds the tree; throws oryx::prov::FileError when
    // the file cannot be read (no window remains then).
    TMDIChild(DocumentHost* host, const QString& fileName, QWidget* parent = nullptr);
    ~TMDIChild() override;

    void SaveTreeStructure();
    void PrintTreeStructure();
    void ExpandAll();
    void CollapseAll();

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

    // The report on show (0 none, 1..8 fixed reports, 10 custom).
    int CurrentReportNumber() const;
    bool IsReportListVisible(int reportCode) const;

    const QString& FileName() const { return fileName_; }
    const prov::ComponentStore& Store() const { return *store_; }

    // The controls, for the main window's tests and this window's own.
    TZTreeView* TreeView1() const { return treeView_; }
    QTreeView* ListView1() const { return listView_; }
    QLabel* Label1() const { return label1_; }
    // Label1's whole text ("Index Of: " and the path), also where the label
    // shows only the ends of a very long path.
    const QString& IndexOfText() const { return indexOfText_; }
    ReportPanel* Reports() const { return reportPanel_; }

    // "&Copy": the component path, or path and attribute row, to the clipboard.
    void Copy1Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void BuildLayout();
    void TreeView1Changing(const prov::ComponentNode* item);
    void TreeView1Change(const prov::ComponentNode* item);
    void TreeView1KeyDown(QKeyEvent* event);
    void FormClose();
    void WatchSubWindow();
    void SetLabel1(const QString& text);

    DocumentHost* host_;
    QString fileName_;
    std::unique_ptr<prov::ComponentStore> store_;
    const prov::ComponentNode* rememberedItem_ = nullptr;
    bool closing_ = false;
    QString indexOfText_;

    TZTreeView* treeView_ = nullptr;
    ComponentTreeModel* treeModel_ = nullptr;
    QSplitter* splitter1_ = nullptr;
    QWidget* pnlMainRight_ = nullptr;
    QLabel* label1_ = nullptr;
    QTreeView* listView_ = nullptr;
    AttributeListModel* attributeModel_ = nullptr;
    QSplitter* reportSplitter_ = nullptr;
    QMenu* menuPropertyPopup_ = nullptr;
    ReportPanel* reportPanel_ = nullptr;
    QPersistentModelIndex hoverRow_;
    QTimer* hoverTimer_ = nullptr;
};

}  // namespace oryx::doc
