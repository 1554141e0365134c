#pragma once

#include <QFrame>
#include <QString>

#include <deque>
#include <functional>
#include <optional>

#include <span>
#include <string_view>
#include <vector>

#include "doc/report/report_window_info.h"
#include "reports/report_column.h"

class QAction;
class QLabel;
class QMenu;
class QSplitter;
class QToolButton;
class QTreeView;

namespace oryx::prov {
class ComponentStore;
}

namespace oryx::doc {

class DocumentHost;
class ReportTableModel;

// The report panel of a document window (pnlReport): the title, the record
// count, the close button and the nine report lists, of which at most one is
// on show. The rows come from the reports library; the panel only shows,
// sizes and exports them.
class ReportPanel final : public QFrame {
    Q_OBJECT

public:
    // `window` gives the caption the Overview replaces while it builds and
    // the font columns are measured with; `mainRight` the height the panel
    // takes half of; `splitter` holds the attribute list and this panel.
    ReportPanel(DocumentHost* host, const prov::ComponentStore& store, const QString& documentPath, QWidget* window,
                QWidget* mainRight, QSplitter* splitter);

    // The widget that takes the focus when a list holding it goes.
    void SetFocusAfterClose(QWidget* widget) { focusAfterClose_ = widget; }
    // Back to the empty state: count label reset and shown, every check mark
    // cleared, the panel and all lists hidden.
    void ResetReportPanel();
    // The request of a fixed report: shows it, or closes it when it is the
    // report on show. Rows are built on the first request and kept. A failure
    // while building is raised after the rows built so far are shown.
    void ShowReport(reports::ReportId id);
    // Rebuilds and shows the custom report `section` of the configuration file.
    void ShowCustomReport(const QString& section, const QString& configFile);

    // Where the Problems list's rows come from, each time it is shown.
    void SetProblemsSource(std::function<reports::ReportRows()> rows) { problemsRows_ = std::move(rows); }
    // Builds the Problems list afresh and shows it, with its record count.
    void ShowProblems();

    // After the file was read again: the kept rows go, and the report on
    // show is built afresh from the store and stays on show.
    void Refresh();

    void CloseReport();
    void ExportReportCsv();
    void ExportListCsv(PanelReport report, const QString& title);
    void AutoSizeColumns(PanelReport report);

    // The "current report number": the code of the report on show, 0 for none.
    int CurrentReportNumber() const { return current_ ? current_->Code() : 0; }
    bool IsReportListVisible(PanelReport report) const;
    QTreeView* ListView(PanelReport report) const;
    // The list on show that is or holds `widget`; null when none.
    QTreeView* ListHolding(const QWidget* widget) const;
    ReportTableModel* ListModel(PanelReport report) const;
    QLabel* ReportNameLabel() const { return titleLabel_; }
    QLabel* RecordCountLabel() const { return countLabel_; }
    QToolButton* CloseButton() const { return closeButton_; }
    QAction* ExportAction() const { return exportAction_; }

private:
    struct ReportList {
        PanelReport report;
        QTreeView* view;
        ReportTableModel* model;
    };

    struct ListKind {
        PanelReport report;
        const char* name;
        std::span<const reports::ColumnInfo> columns;
        bool editable;
    };
    const ReportList& AddList(const ListKind& kind);
    const ReportList* Find(PanelReport report) const;
    static std::span<const reports::ColumnInfo> ProblemsColumns();
    void ShowList(const ReportList& list);
    void SetRecordCount(const ReportList& list);

    DocumentHost* host_;
    const prov::ComponentStore& store_;
    QString documentPath_;
    QWidget* window_;
    QWidget* mainRight_;
    QSplitter* splitter_;
    std::optional<PanelReport> current_;  // none on show
    // The custom report last built, to build again after a reload.
    QString customSection_;
    QString customConfigFile_;
    std::function<reports::ReportRows()> problemsRows_;

    QLabel* titleLabel_ = nullptr;
    QLabel* countLabel_ = nullptr;
    QToolButton* closeButton_ = nullptr;
    QMenu* exportMenu_ = nullptr;
    QAction* exportAction_ = nullptr;
    std::vector<ListKind> kinds_;
    std::deque<ReportList> lists_;  // those made so far; each stays where it is
    QWidget* focusAfterClose_ = nullptr;
};

}  // namespace oryx::doc
