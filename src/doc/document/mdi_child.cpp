#include "doc/document/mdi_child.h"

#include <QSplitter>
#include <QTreeView>
#include <QVBoxLayout>

#include <new>

#include "doc/common/close_watch.h"
#include "doc/common/document_host.h"
#include "doc/common/document_icons.h"
#include "doc/common/open_files.h"
#include "doc/common/text_codec.h"
#include "doc/common/wait_cursor.h"
#include "doc/document/attribute_list.h"
#include "doc/document/copy_command.h"
#include "doc/document/path_strip.h"
#include "doc/document/tree_actions.h"
#include "doc/find/find_bar.h"
#include "doc/find/find_session.h"
#include "doc/problems/problems_check.h"
#include "doc/refs/reference_navigator.h"
#include "doc/refs/referenced_by_panel.h"
#include "doc/report/report_panel.h"
#include "doc/report/report_window_info.h"
#include "doc/tree/component_tree_model.h"
#include "doc/tree/tz_tree_view.h"
#include "prov/component_store.h"
#include "prov/read_diagnostics.h"
#include "prov/reader.h"
#include "reports/report_rows.h"

namespace oryx::doc {
namespace {

const QString kIndexOf = QStringLiteral("Index Of: ");

}  // namespace

TMDIChild::TMDIChild(DocumentHost* host, const QString& fileName, QWidget* parent)
    : TMDIChild(host, fileName, LoadLater{}, parent) {
    Load();
}

TMDIChild::TMDIChild(DocumentHost* host, const QString& fileName, LoadLater, QWidget* parent)
    : QWidget(parent),
      host_(host),
      fileName_(fileName),
      openMark_(std::make_unique<OpenFileMark>(fileName)),
      store_(std::make_unique<prov::ComponentStore>()) {
    setAttribute(Qt::WA_DeleteOnClose);
    new CloseWatch(*this, [this] { ReleaseStore(); });
    setWindowTitle(QStringLiteral("Please Wait...Building Tree Structure"));
    resize(783, 514);
    BuildLayout();
}

void TMDIChild::Load() {
    problems_->Stop();
    treeModel_->Clear();  // the views, and a search, let go of the store before it is read into
    // The reader's notes and line numbers cost little beside the load; the
    // background check works from them instead of reading the file again.
    auto diagnostics = std::make_unique<prov::ReadDiagnostics>();
    prov::ReadProvisioningFile(FileNameBytes(fileName_), *store_, diagnostics.get());
    try {
        treeModel_->Build(*store_);
    } catch (const std::bad_alloc&) {
        treeModel_->Clear();
        throw prov::NotEnoughMemoryToRead(FileNameBytes(fileName_));
    }
    if (prov::IsConfigureFile(FileNameBytes(fileName_))) setWindowIcon(ConfigureFileIcon());
    pathStrip_->Show(QString());
    navigator_->StoreChanged();
    setWindowTitle(fileName_);
    StartProblemsCheck(std::move(diagnostics));
}

void TMDIChild::StartProblemsCheck(std::unique_ptr<prov::ReadDiagnostics> diagnostics) {
    problems_->Start(*store_, std::move(diagnostics), host_ ? host_->RulesFile() : QString());
}

void TMDIChild::Reload() {
    const WaitCursor hourglass;
    // The file is read beside the store on show, which stays until it is read.
    auto fresh = std::make_unique<prov::ComponentStore>();
    auto diagnostics = std::make_unique<prov::ReadDiagnostics>();
    prov::ReadProvisioningFile(FileNameBytes(fileName_), *fresh, diagnostics.get());
    // A check of the old store still running gives up rather than be waited for.
    problems_->Stop();
    const prov::ComponentNode* selected = tree_->Selected();
    // The views let go of the old nodes; those stay alive until the end, for
    // the selected one to be found again by its names.
    treeActions_->Forget();
    navigator_->ReleaseStore();
    treeModel_->Clear();
    ShowComponent(nullptr);
    store_->Swap(*fresh);
    navigator_->StoreChanged();
    treeModel_->Build(*store_);
    if (const prov::ComponentNode* same = prov::FindSameComponent(store_->Root(), selected)) tree_->Select(same);
    findBar_->SearchAgain();
    StartProblemsCheck(std::move(diagnostics));
    reportPanel_->Refresh();
}

TMDIChild::~TMDIChild() {
    // The check and the views let go of the store's nodes before the store goes.
    problems_->Stop();
    navigator_->ReleaseStore();
    treeModel_->Clear();
    attributes_->ShowComponent(nullptr);
}

void TMDIChild::BuildLayout() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* treeSplitter = new QSplitter(Qt::Horizontal, this);
    treeSplitter->setObjectName(QStringLiteral("Splitter1"));
    treeSplitter->setHandleWidth(3);
    treeSplitter->setChildrenCollapsible(false);
    layout->addWidget(treeSplitter);

    tree_ = new TZTreeView(treeSplitter);
    tree_->setObjectName(QStringLiteral("TreeView1"));
    tree_->setAccessibleName(QStringLiteral("Component tree"));
    treeModel_ = new ComponentTreeModel(tree_);
    tree_->SetTreeModel(treeModel_);
    tree_->SetRecursive(false);
    treeActions_ = new TreeActions(*tree_, *store_, fileName_, this);
    connect(tree_, &TZTreeView::Change, this, &TMDIChild::ShowComponent);

    auto* rightPane = new QWidget(treeSplitter);
    rightPane->setObjectName(QStringLiteral("pnlMainRight"));
    auto* right = new QVBoxLayout(rightPane);
    right->setContentsMargins(0, 0, 0, 0);
    right->setSpacing(0);

    pathStrip_ = new PathStrip(rightPane);
    right->addWidget(pathStrip_);

    auto* reportSplitter = new QSplitter(Qt::Vertical, rightPane);
    reportSplitter->setObjectName(QStringLiteral("ReportSplitter"));
    reportSplitter->setHandleWidth(3);
    reportSplitter->setChildrenCollapsible(false);
    right->addWidget(reportSplitter, 1);

    // The attribute list with "Referenced by" below it.
    auto* attributePane = new QWidget(reportSplitter);
    attributePane->setObjectName(QStringLiteral("pnlAttributes"));
    auto* attributeLayout = new QVBoxLayout(attributePane);
    attributeLayout->setContentsMargins(0, 0, 0, 0);
    attributeLayout->setSpacing(0);
    attributes_ = new AttributeList(attributePane);
    attributes_->setAccessibleName(QStringLiteral("Attributes"));
    attributeLayout->addWidget(attributes_, 3);
    referencedBy_ = new ReferencedByPanel(attributePane);
    attributeLayout->addWidget(referencedBy_, 1);
    reportPanel_ = new ReportPanel(host_, *store_, fileName_, this, rightPane, reportSplitter);
    reportPanel_->SetFocusAfterClose(tree_);
    reportSplitter->addWidget(reportPanel_);
    reportSplitter->setStretchFactor(0, 1);
    reportSplitter->setStretchFactor(1, 0);
    reportPanel_->hide();

    treeSplitter->addWidget(tree_);
    treeSplitter->addWidget(rightPane);
    treeSplitter->setStretchFactor(0, 0);
    treeSplitter->setStretchFactor(1, 1);
    treeSplitter->setSizes({193, 783 - 193 - 3});

    copyCommand_ = new CopyCommand(*this, *tree_, *attributes_, *reportPanel_,
                                   [this] { return pathStrip_->Text().mid(kIndexOf.size()); });
    findBar_ = new FindBar(*tree_, *attributes_, *store_, this);
    layout->insertWidget(0, findBar_);
    navigator_ = new ReferenceNavigator(*store_, *tree_, *attributes_, *referencedBy_, *this);
    connect(&findBar_->Session(), &FindSession::JumpingToPath, navigator_, &ReferenceNavigator::RecordJump);

    problems_ = new ProblemsCheck(this);
    connect(problems_, &ProblemsCheck::Counted, this, [this] {
        if (host_) host_->ProblemsCounted(objectName());
    });
    reportPanel_->SetProblemsSource([this] { return problems_->TakeRows(); });
    QTreeView* problemsList = reportPanel_->ListView(PanelReport::Problems());
    connect(problemsList, &QAbstractItemView::activated, this,
            [this](const QModelIndex& index) { GoToProblem(index.row()); });
}

QLabel* TMDIChild::PathLabel() const { return pathStrip_->Label(); }

const QString& TMDIChild::IndexOfText() const { return pathStrip_->Text(); }

void TMDIChild::ShowComponent(const prov::ComponentNode* item) {
    attributes_->ShowComponent(item);
    pathStrip_->Show(item ? kIndexOf + DisplayText(prov::GetFullPath(item)).mid(4) : QString());
}

void TMDIChild::CopySelection() { copyCommand_->CopySelection(); }

void TMDIChild::Back() { navigator_->Back(); }

void TMDIChild::Forward() { navigator_->Forward(); }

void TMDIChild::ExpandAll() { treeActions_->ExpandAll(); }

void TMDIChild::CollapseAll() { treeActions_->CollapseAll(); }

void TMDIChild::ShowFindBar() { findBar_->Open(); }

void TMDIChild::SaveTreeStructure() { treeActions_->SaveTreeText(); }

void TMDIChild::PrintTreeStructure() { treeActions_->PrintTreeText(); }

// ---- reports ----

void TMDIChild::ShowReport(reports::ReportId id) { reportPanel_->ShowReport(id); }
void TMDIChild::ShowOverviewReport() { ShowReport(reports::ReportId::Overview); }
void TMDIChild::ShowNodeSummaryReport() { ShowReport(reports::ReportId::NodeSummary); }
void TMDIChild::ShowVirtualRouterReport() { ShowReport(reports::ReportId::VirtualRouter); }
void TMDIChild::ShowAtmIfReport() { ShowReport(reports::ReportId::AtmIf); }
void TMDIChild::ShowAtmIfVccReport() { ShowReport(reports::ReportId::AtmIfVcc); }
void TMDIChild::ShowFrAtmReport() { ShowReport(reports::ReportId::FrAtm); }
void TMDIChild::ShowFrAtmDlciReport() { ShowReport(reports::ReportId::FrAtmDlci); }
void TMDIChild::ShowFrUniDlciReport() { ShowReport(reports::ReportId::FrUniDlci); }

void TMDIChild::ShowCustomReport(const QString& sectionName, const QString& configFile) {
    reportPanel_->ShowCustomReport(sectionName, configFile);
}

void TMDIChild::ShowProblems() { reportPanel_->ShowProblems(); }

QString TMDIChild::ProblemsSummary() const { return problems_->Summary(); }

void TMDIChild::GoToProblem(int row) {
    const check::FileProblems& problems = problems_->Problems();
    if (row < 0 || static_cast<std::size_t>(row) >= problems.findings.size()) return;
    const check::Finding& finding = problems.findings[static_cast<std::size_t>(row)];
    if (finding.path.empty() || !store_->AddNode()) return;
    const prov::ComponentNode* node = prov::FindComponent(store_->AddNode(), finding.path);
    if (!node || prov::ComponentPath(*node) != finding.path) return;
    navigator_->JumpTo(node, problems_->AttributeIndex(static_cast<std::size_t>(row)));
}

int TMDIChild::CurrentReportNumber() const { return reportPanel_->CurrentReportNumber(); }

bool TMDIChild::IsReportListVisible(PanelReport report) const { return reportPanel_->IsReportListVisible(report); }

// ---- closing ----

void TMDIChild::ReleaseStore() {
    problems_->Stop();
    navigator_->ReleaseStore();
    treeActions_->Forget();
    treeModel_->Clear();
    attributes_->ShowComponent(nullptr);
    pathStrip_->Show(QString());
    store_->Clear();
    openMark_.reset();
    if (host_) host_->DocumentClosing(objectName());
}

}  // namespace oryx::doc
