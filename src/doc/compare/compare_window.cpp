#include "doc/compare/compare_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSplitter>
#include <QStyle>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "compare/diff_output.h"
#include "compare/read_pair.h"
#include "doc/common/close_watch.h"
#include "doc/common/dialogs.h"
#include "doc/common/document_host.h"
#include "doc/common/file_filter.h"
#include "doc/common/io_error.h"
#include "doc/common/open_files.h"
#include "doc/common/text_codec.h"
#include "doc/common/wait_cursor.h"
#include "doc/common/whole_text_tips.h"
#include "doc/compare/compare_marks.h"
#include "doc/compare/compare_tree_model.h"
#include "doc/compare/compare_tree_view.h"
#include "doc/compare/side_by_side_model.h"
#include "prov/component_store.h"

namespace oryx::doc {
namespace {

constexpr std::string_view kCsvFilter = "Comma Separated Files (*.csv)|*.csv|All Files (*.*)|*.*";

QToolButton* CommandButton(QAction* action, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    return button;
}

}  // namespace

CompareWindow::CompareWindow(DocumentHost* host, const QString& firstFile, const QString& secondFile, QWidget* parent)
    : QWidget(parent),
      host_(host),
      firstFile_(firstFile),
      secondFile_(secondFile),
      firstMark_(std::make_unique<OpenFileMark>(firstFile)),
      secondMark_(std::make_unique<OpenFileMark>(secondFile)),
      firstStore_(std::make_unique<prov::ComponentStore>()),
      secondStore_(std::make_unique<prov::ComponentStore>()) {
    compare::ReadPair(FileNameBytes(firstFile), *firstStore_, FileNameBytes(secondFile), *secondStore_);
    comparison_ = std::make_unique<compare::Comparison>(*firstStore_, *secondStore_);

    setAttribute(Qt::WA_DeleteOnClose);
    new CloseWatch(*this, [this] { Release(); });
    setWindowTitle(firstFile + QStringLiteral(" vs ") + secondFile);
    setWindowIcon(ChangeMarks::WindowIcon());
    resize(783, 514);
    BuildLayout();
    treeModel_->Show(comparison_.get());
    summary_->setText(DisplayText(compare::SummaryLine(comparison_->Summary())));
    // The first difference is on show from the start.
    tree_->SelectEntry(comparison_->NextDifference(compare::Comparison::kRoot));
}

CompareWindow::~CompareWindow() {
    // The views let go of the comparison before it goes.
    treeModel_->Show(nullptr);
    attributeModel_->ShowRows({});
}

QAction* CompareWindow::AddWindowAction(const QString& text, const QKeySequence& key, void (CompareWindow::*run)()) {
    auto* action = new QAction(text, this);
    if (!key.isEmpty()) {
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        action->setToolTip(QString(text).remove(QLatin1Char('&')) + QStringLiteral(" (") +
                           key.toString(QKeySequence::NativeText) + QLatin1Char(')'));
    }
    connect(action, &QAction::triggered, this, run);
    addAction(action);
    return action;
}

QWidget* CompareWindow::BuildCommandBar() {
    auto* bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("CompareCommandBar"));
    auto* rows = new QVBoxLayout(bar);
    rows->setContentsMargins(4, 2, 4, 2);
    rows->setSpacing(2);

    QAction* previous = AddWindowAction(QStringLiteral("&Previous Difference"), QKeySequence(Qt::SHIFT | Qt::Key_F8),
                                        &CompareWindow::PreviousDifference);
    previous->setObjectName(QStringLiteral("PreviousDifferenceAction"));
    previous->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
    QAction* next =
        AddWindowAction(QStringLiteral("&Next Difference"), QKeySequence(Qt::Key_F8), &CompareWindow::NextDifference);
    next->setObjectName(QStringLiteral("NextDifferenceAction"));
    next->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    exportAction_ = AddWindowAction(QStringLiteral("&Export Differences to CSV..."), QKeySequence(),
                                    &CompareWindow::ExportDifferencesCsv);
    exportAction_->setObjectName(QStringLiteral("ExportDifferencesAction"));
    exportAction_->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));

    onlyDifferences_ = new QCheckBox(QStringLiteral("Show only &differences"), bar);
    onlyDifferences_->setObjectName(QStringLiteral("OnlyDifferencesBox"));
    onlyDifferences_->setChecked(true);
    summary_ = new QLabel(bar);
    summary_->setObjectName(QStringLiteral("DifferenceSummary"));
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* navigation = new QHBoxLayout;
    navigation->addWidget(CommandButton(previous, bar));
    navigation->addWidget(CommandButton(next, bar));
    navigation->addSpacing(12);
    navigation->addWidget(onlyDifferences_);
    navigation->addStretch(1);
    navigation->addWidget(summary_);
    rows->addLayout(navigation);

    auto* ignoredLabel = new QLabel(QStringLiteral("&Ignore attributes:"), bar);
    ignoredAttributes_ = new QLineEdit(bar);
    ignoredAttributes_->setObjectName(QStringLiteral("IgnoredAttributesField"));
    ignoredAttributes_->setPlaceholderText(QStringLiteral("name, name, ..."));
    ignoredAttributes_->setToolTip(
        QStringLiteral("Attributes left out of the comparison, separated by commas (letter case ignored)"));
    ignoredLabel->setBuddy(ignoredAttributes_);
    ignoreCase_ = new QCheckBox(QStringLiteral("Ignore &case of values"), bar);
    ignoreCase_->setObjectName(QStringLiteral("IgnoreCaseBox"));
    ignoreCase_->setToolTip(QStringLiteral("Values that differ only in letter case count as equal"));
    auto* options = new QHBoxLayout;
    options->addWidget(ignoredLabel);
    options->addWidget(ignoredAttributes_, 1);
    options->addWidget(ignoreCase_);
    options->addSpacing(12);
    options->addWidget(CommandButton(exportAction_, bar));
    rows->addLayout(options);

    connect(onlyDifferences_, &QCheckBox::toggled, this, [this](bool only) {
        const Entry selected = tree_->CurrentEntry();
        treeModel_->SetOnlyDifferences(only);
        // The selected component stays in view while it is shown.
        if (selected != compare::Comparison::kNone) tree_->SelectEntry(selected);
        ShowEntry(tree_->CurrentEntry());
    });
    connect(ignoredAttributes_, &QLineEdit::editingFinished, this, &CompareWindow::CompareAgain);
    connect(ignoreCase_, &QCheckBox::toggled, this, &CompareWindow::CompareAgain);
    return bar;
}

void CompareWindow::BuildLayout() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(BuildCommandBar());

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("CompareSplitter"));
    splitter->setHandleWidth(3);
    splitter->setChildrenCollapsible(false);
    layout->addWidget(splitter, 1);

    treeModel_ = new CompareTreeModel(this);
    tree_ = new CompareTreeView(treeModel_, splitter);
    tree_->setObjectName(QStringLiteral("CompareTree"));
    connect(tree_, &CompareTreeView::CurrentEntryChanged, this, &CompareWindow::ShowEntry);

    auto* rightPane = new QWidget(splitter);
    auto* right = new QVBoxLayout(rightPane);
    right->setContentsMargins(0, 0, 0, 0);
    right->setSpacing(0);
    auto* pathStrip = new QFrame(rightPane);
    pathStrip->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pathStrip->setFixedHeight(17);
    auto* pathStripLayout = new QHBoxLayout(pathStrip);
    pathStripLayout->setContentsMargins(2, 0, 2, 0);
    pathLabel_ = new QLabel(pathStrip);
    pathLabel_->setObjectName(QStringLiteral("ComparedPath"));
    // A long path is cut off at the right edge; it never widens the window.
    pathLabel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    pathLabel_->setMinimumWidth(1);
    pathStripLayout->addWidget(pathLabel_);
    right->addWidget(pathStrip);

    attributeModel_ = new SideBySideModel(firstFile_, secondFile_, this);
    attributes_ = new QTreeView(rightPane);
    attributes_->setObjectName(QStringLiteral("SideBySideList"));
    attributes_->setModel(attributeModel_);
    attributes_->setRootIsDecorated(false);
    attributes_->setItemsExpandable(false);
    attributes_->setUniformRowHeights(true);
    attributes_->setAllColumnsShowFocus(true);
    attributes_->setSelectionMode(QAbstractItemView::SingleSelection);
    attributes_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Columns as wide as their texts: a difference at the end of a long
    // value is never cut off. The header measures a bounded number of rows.
    attributes_->header()->setStretchLastSection(false);
    attributes_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    right->addWidget(attributes_, 1);

    splitter->addWidget(tree_);
    splitter->addWidget(rightPane);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({260, 783 - 260 - 3});

    auto* exportMenu = new QMenu(this);
    exportMenu->addAction(exportAction_);
    for (QAbstractItemView* view :
         {static_cast<QAbstractItemView*>(tree_), static_cast<QAbstractItemView*>(attributes_)}) {
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(view, &QWidget::customContextMenuRequested, this,
                [exportMenu, view](const QPoint& pos) { exportMenu->popup(view->viewport()->mapToGlobal(pos)); });
    }
}

void CompareWindow::ShowEntry(Entry entry) {
    if (!comparison_ || entry == compare::Comparison::kNone) {
        attributeModel_->ShowRows({});
        pathLabel_->clear();
        return;
    }
    attributeModel_->ShowRows(comparison_->Attributes(entry));
    // A path nested many thousand levels deep would take longer to lay out
    // than to find; the label shows its two ends.
    pathLabel_->setText(TwoEnds(DisplayText(comparison_->Path(entry))));
}

void CompareWindow::NextDifference() { StepToDifference(true); }

void CompareWindow::PreviousDifference() { StepToDifference(false); }

void CompareWindow::StepToDifference(bool forward) {
    if (!comparison_) return;
    // The buttons take no focus, so a field being edited has not finished yet.
    CompareAgain();
    Entry from = tree_->CurrentEntry();
    if (from == compare::Comparison::kNone) from = compare::Comparison::kRoot;
    const Entry to = forward ? comparison_->NextDifference(from) : comparison_->PreviousDifference(from);
    if (to == compare::Comparison::kNone) {
        QApplication::beep();
        return;
    }
    tree_->SelectEntry(to);
}

void CompareWindow::CompareAgain() {
    if (!comparison_) return;
    compare::CompareOptions options;
    options.ignoredNames = compare::ParseIgnoredNames(TextBytes(ignoredAttributes_->text()));
    options.ignoreValueCase = ignoreCase_->isChecked();
    const compare::CompareOptions& shown = comparison_->Options();
    if (options.ignoredNames == shown.ignoredNames && options.ignoreValueCase == shown.ignoreValueCase) return;

    const WaitCursor hourglass;
    const Entry selected = tree_->CurrentEntry();
    compare::ComparedComponent before;
    if (selected != compare::Comparison::kNone) before = (*comparison_)[selected];
    auto again = std::make_unique<compare::Comparison>(*firstStore_, *secondStore_, std::move(options));
    treeModel_->Show(again.get());
    comparison_ = std::move(again);
    summary_->setText(DisplayText(compare::SummaryLine(comparison_->Summary())));
    // The union of the trees depends on the files alone, so the component
    // selected before is found at the same entry, shown or not.
    if (selected != compare::Comparison::kNone && selected < comparison_->Size() &&
        (*comparison_)[selected].first == before.first && (*comparison_)[selected].second == before.second)
        tree_->SelectEntry(selected);
    ShowEntry(tree_->CurrentEntry());
}

void CompareWindow::ExportDifferencesCsv() {
    if (!comparison_) return;
    // What is exported is what the option fields say, also while one is being edited.
    CompareAgain();
    const std::string proposed =
        compare::ProposedDiffCsvFileName(FileNameBytes(firstFile_), FileNameBytes(secondFile_));
    const QString fileName =
        ChooseSaveFile(this, QStringLiteral("Save As"), QtFileFilter(kCsvFilter), QStringLiteral("csv"),
                       QFile::decodeName(QByteArray(proposed.data(), static_cast<qsizetype>(proposed.size()))));
    if (fileName.isEmpty()) return;

    AtomicFileWriter writer(fileName);
    {
        const WaitCursor hourglass;
        if (writer.Open()) {
            compare::WriteDiffCsv(*comparison_, [&](std::string_view bytes) {
                writer.Write(bytes.data(), static_cast<qint64>(bytes.size()));
            });
            writer.Commit();
        }
    }
    if (!writer.Error().isEmpty())
        CurrentDialogs().Message(this, MessageKind::Error, QStringLiteral("Error"), writer.Error());
}

// ---- closing ----

void CompareWindow::Release() {
    treeModel_->Show(nullptr);
    attributeModel_->ShowRows({});
    pathLabel_->clear();
    comparison_.reset();
    firstStore_->Clear();
    secondStore_->Clear();
    firstMark_.reset();
    secondMark_.reset();
    if (host_) host_->DocumentClosing(objectName());
}

}  // namespace oryx::doc
