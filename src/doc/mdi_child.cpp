#include "doc/mdi_child.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QSplitter>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include "doc/attribute_list_model.h"
#include "doc/component_tree_model.h"
#include "doc/dialogs.h"
#include "doc/document_host.h"
#include "doc/file_filter.h"
#include "doc/io_error.h"
#include "doc/report_panel.h"
#include "doc/text_codec.h"
#include "doc/tree_printer.h"
#include "doc/tz_tree_view.h"
#include "doc/wait_cursor.h"
#include "prov/component_store.h"
#include "prov/reader.h"
#include "prov/tree_text.h"

namespace oryx::doc {
namespace {

const QString kIndexOf = QStringLiteral("Index Of: ");

// The second image of the window's icon list: the icon of a configure-format file.
QIcon ConfigureFileIcon() {
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(0x20, 0x40, 0x70));
    painter.setBrush(QColor(0xf4, 0xf0, 0xd8));
    painter.drawRect(QRectF(2.5, 0.5, 11, 15));
    painter.setPen(QPen(QColor(0x20, 0x60, 0xa0), 1.5));
    for (int y = 4; y <= 12; y += 4) painter.drawLine(QPointF(5, y), QPointF(11, y));
    painter.setBrush(QColor(0xc0, 0x30, 0x30));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QRectF(8, 8, 7, 7));
    return QIcon(picture);
}

bool IsDeleteKey(const QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Delete:
    case Qt::Key_Clear:
        return true;
    case Qt::Key_Period:
    case Qt::Key_Comma:
        return (event->modifiers() & Qt::KeypadModifier) != 0;
    default:
        return false;
    }
}

}  // namespace

TMDIChild::TMDIChild(DocumentHost* host, const QString& fileName, QWidget* parent)
    : QWidget(parent), host_(host), fileName_(fileName), store_(std::make_unique<prov::ComponentStore>()) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Please Wait...Building Tree Structure"));
    resize(783, 514);
    BuildLayout();

    prov::ReadProvisioningFile(FileNameBytes(fileName), *store_);
    treeModel_->Build(*store_);
    if (prov::IsConfigureFile(FileNameBytes(fileName))) setWindowIcon(ConfigureFileIcon());
    SetLabel1(QString());
    setWindowTitle(fileName);
}

TMDIChild::~TMDIChild() {
    // The views let go of the store's nodes before the store goes.
    treeModel_->Clear();
    attributeModel_->ShowComponent(nullptr);
}

void TMDIChild::BuildLayout() {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    splitter1_ = new QSplitter(Qt::Horizontal, this);
    splitter1_->setObjectName(QStringLiteral("Splitter1"));
    splitter1_->setHandleWidth(3);
    splitter1_->setChildrenCollapsible(false);
    layout->addWidget(splitter1_);

    treeView_ = new TZTreeView(splitter1_);
    treeView_->setObjectName(QStringLiteral("TreeView1"));
    treeModel_ = new ComponentTreeModel(treeView_);
    treeView_->SetTreeModel(treeModel_);
    treeView_->SetRecursive(false);
    connect(treeView_, &TZTreeView::Changing, this, &TMDIChild::TreeView1Changing);
    connect(treeView_, &TZTreeView::Change, this, &TMDIChild::TreeView1Change);
    connect(treeView_, &TZTreeView::KeyDown, this, &TMDIChild::TreeView1KeyDown);

    pnlMainRight_ = new QWidget(splitter1_);
    pnlMainRight_->setObjectName(QStringLiteral("pnlMainRight"));
    auto* right = new QVBoxLayout(pnlMainRight_);
    right->setContentsMargins(0, 0, 0, 0);
    right->setSpacing(0);

    auto* panel3 = new QFrame(pnlMainRight_);
    panel3->setObjectName(QStringLiteral("Panel3"));
    panel3->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel3->setFixedHeight(17);
    auto* panel3Layout = new QHBoxLayout(panel3);
    panel3Layout->setContentsMargins(2, 0, 2, 0);
    label1_ = new QLabel(panel3);
    label1_->setObjectName(QStringLiteral("Label1"));
    // A long path is cut off at the right edge; it never widens the window.
    label1_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    label1_->setMinimumWidth(1);
    panel3Layout->addWidget(label1_);
    right->addWidget(panel3);

    reportSplitter_ = new QSplitter(Qt::Vertical, pnlMainRight_);
    reportSplitter_->setObjectName(QStringLiteral("ReportSplitter"));
    reportSplitter_->setHandleWidth(3);
    reportSplitter_->setChildrenCollapsible(false);
    right->addWidget(reportSplitter_, 1);

    listView_ = new QTreeView(reportSplitter_);
    listView_->setObjectName(QStringLiteral("ListView1"));
    attributeModel_ = new AttributeListModel(listView_);
    listView_->setModel(attributeModel_);
    listView_->setRootIsDecorated(false);
    listView_->setItemsExpandable(false);
    listView_->setUniformRowHeights(true);
    listView_->setAllColumnsShowFocus(true);
    listView_->setSelectionMode(QAbstractItemView::SingleSelection);
    listView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    listView_->header()->setStretchLastSection(false);
    listView_->header()->resizeSection(0, 120);
    listView_->header()->resizeSection(1, 280);
    // Hot tracking: the row under the resting pointer becomes selected.
    listView_->setMouseTracking(true);
    hoverTimer_ = new QTimer(this);
    hoverTimer_->setSingleShot(true);
    hoverTimer_->setInterval(400);
    connect(listView_, &QAbstractItemView::entered, this, [this](const QModelIndex& index) {
        hoverRow_ = index;
        hoverTimer_->start();
    });
    connect(hoverTimer_, &QTimer::timeout, this, [this] {
        if (!hoverRow_.isValid()) return;
        const QPoint pointer = listView_->viewport()->mapFromGlobal(QCursor::pos());
        if (listView_->indexAt(pointer).row() == hoverRow_.row()) listView_->setCurrentIndex(hoverRow_);
    });

    reportPanel_ = new ReportPanel(host_, *store_, fileName_, this, pnlMainRight_, reportSplitter_);
    reportSplitter_->addWidget(reportPanel_);
    reportSplitter_->setStretchFactor(0, 1);
    reportSplitter_->setStretchFactor(1, 0);
    reportPanel_->hide();

    splitter1_->addWidget(treeView_);
    splitter1_->addWidget(pnlMainRight_);
    splitter1_->setStretchFactor(0, 0);
    splitter1_->setStretchFactor(1, 1);
    splitter1_->setSizes({193, 783 - 193 - 3});

    menuPropertyPopup_ = new QMenu(this);
    menuPropertyPopup_->setObjectName(QStringLiteral("menuPropertyPopup"));
    QAction* copy = menuPropertyPopup_->addAction(QStringLiteral("&Copy"));
    copy->setObjectName(QStringLiteral("MenuItem1"));
    copy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(copy, &QAction::triggered, this, &TMDIChild::Copy1Click);
    addAction(copy);
    for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(treeView_), static_cast<QAbstractItemView*>(listView_)}) {
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint& pos) {
            menuPropertyPopup_->popup(view->viewport()->mapToGlobal(pos));
        });
    }
}

// ---- tree ----

void TMDIChild::TreeView1Changing(const prov::ComponentNode* item) {
    if (rememberedItem_) treeView_->ClearNodeBold(rememberedItem_);
    if (item) treeView_->SetNodeBold(item);
    rememberedItem_ = item;
}

void TMDIChild::TreeView1Change(const prov::ComponentNode* item) {
    // One redraw per change, not one per row.
    listView_->setUpdatesEnabled(false);
    attributeModel_->ShowComponent(item);
    listView_->setUpdatesEnabled(true);
    SetLabel1(item ? kIndexOf + DisplayText(prov::GetFullPath(item)).mid(4) : QString());
}

void TMDIChild::TreeView1KeyDown(QKeyEvent* event) {
    const QModelIndex current = treeView_->currentIndex();
    const prov::ComponentNode* item = treeModel_->NodeAt(current);
    if (!item || !IsDeleteKey(event)) return;
    event->accept();
    if (!CurrentDialogs().Message(this, MessageKind::Question, QStringLiteral("Confirm"),
                                  QStringLiteral("Are you sure you want to delete this item?")))
        return;
    for (const prov::ComponentNode* n = rememberedItem_; n; n = treeModel_->TreeParent(n)) {
        if (n == item) {
            rememberedItem_ = nullptr;
            break;
        }
    }
    treeModel_->RemoveItem(treeView_->currentIndex());
}

void TMDIChild::SetLabel1(const QString& text) {
    indexOfText_ = text;
    // A path nested many thousand levels deep would take longer to lay out
    // than to find; the label shows its two ends, Copy takes it whole.
    constexpr qsizetype kShownEnd = 2000;
    if (text.size() > 2 * kShownEnd + 1)
        label1_->setText(text.left(kShownEnd) + QChar(0x2026) + text.right(kShownEnd));
    else
        label1_->setText(text);
}

void TMDIChild::Copy1Click() {
    const QString path = indexOfText_.mid(kIndexOf.size());
    const QWidget* focus = QApplication::focusWidget();
    const auto within = [focus](const QWidget* view) { return focus && (focus == view || view->isAncestorOf(focus)); };
    if (within(listView_)) {
        const QModelIndexList rows = listView_->selectionModel()->selectedRows();
        if (rows.isEmpty()) return;
        const int row = rows.first().row();
        QApplication::clipboard()->setText(path + QLatin1Char(' ') +
                                           attributeModel_->index(row, 0).data().toString() + QStringLiteral(" = ") +
                                           attributeModel_->index(row, 1).data().toString());
    } else if (within(treeView_) && treeView_->Selected()) {
        QApplication::clipboard()->setText(path);
    }
}

void TMDIChild::ExpandAll() {
    WaitCursor wait;
    treeView_->ExpandAllItems();
}

void TMDIChild::CollapseAll() {
    WaitCursor wait;
    treeView_->CollapseAllItems();
}

// ---- tree text ----

void TMDIChild::SaveTreeStructure() {
    if (!treeModel_->HasItems()) return;
    const QString fileName = CurrentDialogs().SaveFile(
        this, QStringLiteral("Save Tree Structure..."),
        QtFileFilter("Text Files (*.txt)|*.txt|All Files (*.*)|*.*"), QStringLiteral("txt"), QString(), true);
    if (fileName.isEmpty()) return;
    AtomicFileWriter writer(fileName);
    {
        WaitCursor wait;
        if (writer.Open()) {
            prov::WriteTreeText(*store_, [&](std::string_view bytes) {
                writer.Write(bytes.data(), static_cast<qint64>(bytes.size()));
            });
            writer.Commit();
        }
    }
    if (!writer.Error().isEmpty()) {
        CurrentDialogs().Message(this, MessageKind::Error, QStringLiteral("Error"), writer.Error());
        return;
    }
    CurrentDialogs().Message(this, MessageKind::Information, QStringLiteral("ORYX"), fileName + QStringLiteral(" was saved."));
}

void TMDIChild::PrintTreeStructure() {
    if (!treeModel_->HasItems()) return;
    QPrinter printer;
    if (!CurrentDialogs().Print(this, printer)) return;
    QString error;
    {
        WaitCursor wait;
        error = PrintTreeText(printer, *store_);
    }
    if (!error.isEmpty()) {
        CurrentDialogs().Message(this, MessageKind::Error, QStringLiteral("Error"), error);
        return;
    }
    CurrentDialogs().Message(this, MessageKind::Information, QStringLiteral("ORYX"),
                             QStringLiteral("Structure was sent to printer."));
}

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

int TMDIChild::CurrentReportNumber() const { return reportPanel_->CurrentReportNumber(); }

bool TMDIChild::IsReportListVisible(int reportCode) const { return reportPanel_->IsReportListVisible(reportCode); }

// ---- closing ----

void TMDIChild::FormClose() {
    if (closing_) return;
    closing_ = true;
    rememberedItem_ = nullptr;
    treeModel_->Clear();
    attributeModel_->ShowComponent(nullptr);
    SetLabel1(QString());
    store_->Clear();
    if (host_) host_->DocumentClosing(objectName());
}

void TMDIChild::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

void TMDIChild::WatchSubWindow() {
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) frame->installEventFilter(this);
}

bool TMDIChild::event(QEvent* event) {
    if (event->type() == QEvent::ParentAboutToChange) {
        if (parentWidget()) parentWidget()->removeEventFilter(this);
    } else if (event->type() == QEvent::ParentChange) {
        WatchSubWindow();
    }
    return QWidget::event(event);
}

bool TMDIChild::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close && watched == parentWidget()) {
        // A frame asks its widget to close first; this covers one closed
        // without asking.
        FormClose();
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace oryx::doc
