#include "doc/report/report_panel.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QSplitter>
#include <QStyle>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include <exception>
#include <functional>
#include <optional>
#include <string_view>
#include <utility>

#include "check/finding_row.h"
#include "doc/common/command.h"
#include "doc/common/dialogs.h"
#include "doc/common/document_host.h"
#include "doc/common/file_filter.h"
#include "doc/common/io_error.h"
#include "doc/common/open_files.h"
#include "doc/common/text_codec.h"
#include "doc/common/whole_text_tips.h"
#include "doc/report/column_sizer.h"
#include "doc/report/report_rows_text.h"
#include "doc/report/report_table_model.h"
#include "reports/column_widths.h"
#include "reports/csv_export.h"
#include "reports/custom_report.h"
#include "reports/report_config.h"
#include "reports/report_registry.h"

namespace oryx::doc {
namespace {

const QString kRecordCountPrefix = QStringLiteral("Number of Records : ");
const QString kCloseReportHint = QStringLiteral("Close Report");
const QString kExportMenuCaption = QStringLiteral("E&xport to CSV...");
constexpr std::string_view kCsvFilter = "Comma Separated Files (*.csv)|*.csv|All Files (*.*)|*.*";
const QString kCsvDefaultExtension = QStringLiteral("CSV");
constexpr const char* kCustomReportListName = "CustomReportList";
constexpr const char* kProblemsListName = "ProblemsList";
const QString kProblemsTitle = QStringLiteral("Problems");

QString Text(std::string_view text) { return DisplayText(text); }

}  // namespace

ReportPanel::ReportPanel(DocumentHost* host, const prov::ComponentStore& store, const QString& documentPath,
                         QWidget* window, QWidget* mainRight, QSplitter* splitter)
    : host_(host),
      store_(store),
      documentPath_(documentPath),
      window_(window),
      mainRight_(mainRight),
      splitter_(splitter) {
    setObjectName(QStringLiteral("pnlReport"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);

    auto* titleStrip = new QWidget(this);
    titleStrip->setObjectName(QStringLiteral("Panel1"));
    titleStrip->setFixedHeight(17);
    titleLabel_ = new QLabel(QStringLiteral("Report Name Here"), titleStrip);
    titleLabel_->setObjectName(QStringLiteral("lblReportName"));
    countLabel_ = new QLabel(QStringLiteral("Record Count Label"), titleStrip);
    countLabel_->setObjectName(QStringLiteral("lblRecordCount"));
    countLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    closeButton_ = new QToolButton(titleStrip);
    closeButton_->setObjectName(QStringLiteral("SpeedButton1"));
    closeButton_->setAutoRaise(true);
    // A mouse convenience, as the Reports menu closes the report too: Tab
    // goes from the attribute list straight to the report's list.
    closeButton_->setFocusPolicy(Qt::NoFocus);
    closeButton_->setFixedSize(20, 17);
    closeButton_->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    closeButton_->setToolTip(kCloseReportHint);
    closeButton_->setAccessibleName(kCloseReportHint);
    closeButton_->setStatusTip(kCloseReportHint);
    connect(closeButton_, &QToolButton::clicked, this, Command([this] { CloseReport(); }));
    auto* stripLayout = new QHBoxLayout(titleStrip);
    stripLayout->setContentsMargins(2, 0, 0, 0);
    stripLayout->setSpacing(4);
    stripLayout->addWidget(titleLabel_);
    stripLayout->addStretch(1);
    stripLayout->addWidget(countLabel_);
    stripLayout->addWidget(closeButton_);

    exportMenu_ = new QMenu(this);
    exportMenu_->setObjectName(QStringLiteral("popExportToCSV"));
    exportAction_ = exportMenu_->addAction(kExportMenuCaption);
    exportAction_->setObjectName(QStringLiteral("ExporttoCSV2"));
    connect(exportAction_, &QAction::triggered, this, Command([this] { ExportReportCsv(); }));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    layout->addWidget(titleStrip);

    // Each report's list is made when first asked for: a view and its model
    // cost more to make than the rest of the document window.
    for (const ReportWindowInfo& shown : ReportWindowTable()) {
        const reports::ReportInfo& report = reports::Report(shown.id);
        kinds_.push_back({report.id, shown.listViewName, report.columns, shown.editableFirstCell});
    }
    kinds_.push_back({PanelReport::Custom(), kCustomReportListName, reports::CustomReportColumns(), false});
    kinds_.push_back({PanelReport::Problems(), kProblemsListName, ProblemsColumns(), false});
}

std::span<const reports::ColumnInfo> ReportPanel::ProblemsColumns() {
    static const std::vector<reports::ColumnInfo> columns = [] {
        std::vector<reports::ColumnInfo> made;
        for (const std::string_view name : check::kFindingCellNames) made.push_back({name, 0});
        return made;
    }();
    return columns;
}

const ReportPanel::ReportList& ReportPanel::AddList(const ListKind& kind) {
    const auto [report, name, columns, editable] = kind;
    auto* view = new QTreeView(this);
    view->setObjectName(QString::fromLatin1(name));
    // A screen reader names the list after its report.
    if (const std::optional<reports::ReportId> fixed = report.Fixed()) {
        const std::string_view title = reports::Report(*fixed).title;
        view->setAccessibleName(QLatin1String(title.data(), static_cast<qsizetype>(title.size())));
    } else {
        view->setAccessibleName(report == PanelReport::Problems() ? QStringLiteral("Problems")
                                                                  : QStringLiteral("Custom report"));
    }
    auto* model = new ReportTableModel(columns, editable, view);
    view->setModel(model);
    view->setRootIsDecorated(false);
    view->setItemsExpandable(false);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(true);
    // Columns are sized to their widest text plus 5 pixels, a little less
    // than the style's cell margins: clip the last pixel rather than replace
    // the end of a value with an ellipsis.
    view->setTextElideMode(Qt::ElideNone);
    view->header()->setStretchLastSection(false);
    view->header()->setSectionsMovable(false);
    // Sized columns may be narrower than the header's usual minimum.
    view->header()->setMinimumSectionSize(0);
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (columns[i].designWidth > 0) view->header()->resizeSection(static_cast<int>(i), columns[i].designWidth);
    if (editable) {
        // Only the first cell can be edited; the edit stays in the list.
        view->setSelectionMode(QAbstractItemView::SingleSelection);
        view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                              QAbstractItemView::EditKeyPressed);
    } else {
        view->setSelectionMode(QAbstractItemView::ExtendedSelection);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    }
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view, &QWidget::customContextMenuRequested, this,
            [this, view](const QPoint& pos) { exportMenu_->popup(view->viewport()->mapToGlobal(pos)); });
    ShowWholeTextTips(*view);
    AddSelectAllRows(*view);
    view->hide();
    layout()->addWidget(view);
    // Tab comes to it in the panel's place, as if it had been made with the
    // panel: after what takes the focus before the panel's close button.
    QWidget* before = closeButton_;
    while (before != window() && before->focusPolicy() == Qt::NoFocus) before = before->previousInFocusChain();
    if (before != window()) setTabOrder(before, view);
    if (report == PanelReport::Problems())
        model->SetDecoration([this](const reports::ReportRow& row, int column) -> QVariant {
            if (column != 1 || row.CellCount() == 0) return {};
            const std::string_view severity = row.Cell(0);
            return style()->standardIcon(severity == "error"     ? QStyle::SP_MessageBoxCritical
                                         : severity == "warning" ? QStyle::SP_MessageBoxWarning
                                                                 : QStyle::SP_MessageBoxInformation);
        });
    lists_.push_back({report, view, model});
    return lists_.back();
}

const ReportPanel::ReportList* ReportPanel::Find(PanelReport report) const {
    for (const ReportList& list : lists_)
        if (list.report == report) return &list;
    for (const ListKind& kind : kinds_)
        // Making a list changes no state a caller sees but its widgets.
        if (kind.report == report) return &const_cast<ReportPanel*>(this)->AddList(kind);
    return nullptr;
}

QTreeView* ReportPanel::ListView(PanelReport report) const {
    const ReportList* list = Find(report);
    return list ? list->view : nullptr;
}

ReportTableModel* ReportPanel::ListModel(PanelReport report) const {
    const ReportList* list = Find(report);
    return list ? list->model : nullptr;
}

QTreeView* ReportPanel::ListHolding(const QWidget* widget) const {
    for (const ReportList& list : lists_)
        if (widget && !list.view->isHidden() && (widget == list.view || list.view->isAncestorOf(widget)))
            return list.view;
    return nullptr;
}

bool ReportPanel::IsReportListVisible(PanelReport report) const {
    const ReportList* list = Find(report);
    return list && !isHidden() && !list->view->isHidden();
}

void ReportPanel::ResetReportPanel() {
    countLabel_->setText(kRecordCountPrefix);
    countLabel_->show();
    if (host_) {
        for (reports::ReportId id : reports::CheckMarkClearingOrder()) host_->SetReportChecked(id, false);
        if (current_ == PanelReport::Problems()) host_->SetProblemsChecked(false);
    }
    // A hidden widget cannot keep the focus; left to itself the focus would
    // move on along the focus chain, into another document window, which
    // then becomes the active one. It stays in this document.
    if (QWidget* focus = window()->focusWidget(); focus && isAncestorOf(focus) && focusAfterClose_)
        focusAfterClose_->setFocus();
    // Hiding the panel also hides the splitter's handle above it.
    hide();
    for (const ReportList& list : lists_) list.view->hide();
}

void ReportPanel::ShowList(const ReportList& list) {
    list.view->show();
    show();
    // Half the right-hand pane for the panel, the rest for the attribute list.
    const int height = mainRight_->height() / 2;
    const int total = splitter_->height() - splitter_->handleWidth();
    splitter_->setSizes({std::max(0, total - height), height});
}

void ReportPanel::SetRecordCount(const ReportList& list) {
    countLabel_->setText(kRecordCountPrefix + QString::number(list.model->rowCount()));
}

void ReportPanel::ShowReport(reports::ReportId id) {
    const reports::ReportInfo& info = reports::Report(id);
    const ReportWindowInfo& shown = ReportWindow(id);
    const ReportList& list = *Find(id);

    ResetReportPanel();
    titleLabel_->setText(Text(info.title));
    if (!shown.showsRecordCount) countLabel_->hide();
    if (current_ == PanelReport(id)) {
        current_.reset();
        return;
    }
    current_ = id;

    std::exception_ptr failure;
    if (list.model->rowCount() == 0) {
        ShowList(list);
        const bool busyCaption = shown.busyCaption != nullptr;
        const QString caption = window_->windowTitle();
        if (busyCaption) {
            window_->setWindowTitle(QString::fromLatin1(shown.busyCaption));
            // The event loop does not run while the rows are built, so the
            // frame is drawn now for the busy caption to be seen.
            if (window_->window()->isVisible()) window_->window()->repaint();
        }
        reports::ReportRows rows;
        try {
            reports::BuildReportRows(id, store_, rows);
        } catch (...) {
            failure = std::current_exception();
        }
        if (busyCaption) window_->setWindowTitle(caption);
        list.model->SetRows(std::move(rows));
        AutoSizeColumns(id);
    }
    ShowList(list);
    if (host_) host_->SetReportChecked(id, true);
    if (shown.showsRecordCount) SetRecordCount(list);
    if (failure) std::rethrow_exception(failure);
}

void ReportPanel::ShowCustomReport(const QString& section, const QString& configFile) {
    const ReportList& list = *Find(PanelReport::Custom());
    customSection_ = section;
    customConfigFile_ = configFile;
    ResetReportPanel();
    titleLabel_->setText(section);
    countLabel_->hide();
    current_ = PanelReport::Custom();

    std::exception_ptr failure;
    reports::ReportRows rows;
    try {
        const reports::ReportConfig config = reports::ReportConfig::Load(FileNameBytes(configFile));
        // The menu shows the section names decoded; find the file's own bytes.
        std::string sectionBytes = TextBytes(section);
        for (const std::string& name : config.SectionNames()) {
            if (DisplayText(name) == section) {
                sectionBytes = name;
                break;
            }
        }
        reports::BuildCustomReportRows(store_, config, sectionBytes, rows);
    } catch (...) {
        failure = std::current_exception();
    }
    list.model->SetRows(std::move(rows));
    AutoSizeColumns(PanelReport::Custom());
    ShowList(list);
    if (failure) std::rethrow_exception(failure);
}

void ReportPanel::ShowProblems() {
    const ReportList& list = *Find(PanelReport::Problems());
    ResetReportPanel();
    titleLabel_->setText(kProblemsTitle);
    current_ = PanelReport::Problems();
    list.model->SetRows(problemsRows_ ? problemsRows_() : reports::ReportRows{});
    AutoSizeColumns(PanelReport::Problems());
    ShowList(list);
    if (host_) host_->SetProblemsChecked(true);
    SetRecordCount(list);
}

void ReportPanel::Refresh() {
    for (const ReportList& list : lists_) list.model->SetRows({});
    const std::optional<PanelReport> shown = std::exchange(current_, std::nullopt);
    if (!shown) return;
    if (*shown == PanelReport::Problems())
        ShowProblems();
    else if (const std::optional<reports::ReportId> id = shown->Fixed())
        ShowReport(*id);
    else
        ShowCustomReport(customSection_, customConfigFile_);
}

void ReportPanel::CloseReport() {
    ResetReportPanel();
    current_.reset();
}

void ReportPanel::AutoSizeColumns(PanelReport report) {
    const ReportList* list = Find(report);
    if (!list) return;
    ColumnSizer sizer(window_->font(), list->model->Rows(), list->model->Columns().size());
    std::vector<int> widths =
        reports::AutoSizeColumns(list->model->Rows(), list->model->Columns().size(), std::ref(sizer));
    // The severity's icon stands before its text, which would be cut short.
    if (report == PanelReport::Problems() && widths.size() > 1)
        widths[1] += list->view->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, list->view) + 4;
    QHeaderView& header = *list->view->header();
    for (std::size_t i = 0; i < widths.size(); ++i) {
        const int column = static_cast<int>(i);
        // No column is narrower than its caption, so every caption shows whole.
        header.resizeSection(column, std::max(widths[i], CaptionWidth(header, column)));
    }
}

void ReportPanel::ExportReportCsv() {
    if (current_) ExportListCsv(*current_, titleLabel_->text());
}

void ReportPanel::ExportListCsv(PanelReport report, const QString& title) {
    const ReportList* list = Find(report);
    if (!list) return;
    const QString proposed = DisplayText(reports::ProposedCsvFileName(TextBytes(documentPath_), TextBytes(title)));
    const QString fileName =
        ChooseSaveFile(window_, QStringLiteral("Save As"), QtFileFilter(kCsvFilter), kCsvDefaultExtension, proposed);
    if (fileName.isEmpty()) return;

    AtomicFileWriter writer(fileName);
    if (writer.Open()) {
        const reports::CsvSink sink = [&](std::string_view bytes) {
            writer.Write(bytes.data(), static_cast<qint64>(bytes.size()));
        };
        // As `check --format csv` writes its cells after the file's.
        if (report == PanelReport::Problems())
            reports::WriteCsvAllQuoted(list->model->Columns(), list->model->Rows(), sink);
        else
            reports::WriteCsv(list->model->Columns(), list->model->Rows(), sink);
        writer.Commit();
    }
    if (!writer.Error().isEmpty())
        CurrentDialogs().Message(window_, MessageKind::Error, QStringLiteral("Error"), writer.Error());
}

}  // namespace oryx::doc
