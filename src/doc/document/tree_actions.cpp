#include "doc/document/tree_actions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPrinter>

#include "doc/common/command.h"
#include "doc/common/dialogs.h"
#include "doc/common/file_filter.h"
#include "doc/common/io_error.h"
#include "doc/common/open_files.h"
#include "doc/common/text_codec.h"
#include "doc/common/wait_cursor.h"
#include "doc/document/tree_printer.h"
#include "doc/tree/component_tree_model.h"
#include "doc/tree/tz_tree_view.h"
#include "prov/component_store.h"
#include "prov/tree_text.h"
#include "reports/csv_export.h"

namespace oryx::doc {

namespace {

bool IsDeleteKey(const QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Delete:
    case Qt::Key_Clear: return true;
    case Qt::Key_Period:
    case Qt::Key_Comma: return (event->modifiers() & Qt::KeypadModifier) != 0;
    default: return false;
    }
}

}  // namespace

TreeActions::TreeActions(TZTreeView& tree, const prov::ComponentStore& store, const QString& documentPath,
                         QWidget* dialogParent)
    : QObject(&tree), tree_(tree), store_(store), documentPath_(documentPath), dialogParent_(dialogParent) {
    connect(&tree_, &TZTreeView::Changing, this, &TreeActions::MarkSelection);
    connect(&tree_, &TZTreeView::KeyDown, this,
            [this](QKeyEvent* event) { RunCommand([&] { RemoveOnDeleteKey(event); }); });
}

void TreeActions::ExpandAll() {
    WaitCursor wait;
    tree_.ExpandAllItems();
}

void TreeActions::CollapseAll() {
    WaitCursor wait;
    tree_.CollapseAllItems();
}

void TreeActions::SaveTreeText() {
    if (!tree_.TreeModel()->HasItems()) return;
    // BASE - Tree.txt beside the document, never the document itself.
    const QFileInfo document(documentPath_);
    const std::string base(reports::ProposedFileBase(FileNameBytes(document.fileName())));
    const QString proposed =
        document.dir().filePath(QFile::decodeName(QByteArray(base.data(), static_cast<qsizetype>(base.size()))) +
                                QStringLiteral(" - Tree.txt"));
    const QString fileName =
        ChooseSaveFile(dialogParent_, QStringLiteral("Save Tree Structure..."),
                       QtFileFilter("Text Files (*.txt)|*.txt|All Files (*.*)|*.*"), QStringLiteral("txt"), proposed);
    if (fileName.isEmpty()) return;
    AtomicFileWriter writer(fileName);
    {
        WaitCursor wait;
        if (writer.Open()) {
            prov::WriteTreeText(
                store_, [&](std::string_view bytes) { writer.Write(bytes.data(), static_cast<qint64>(bytes.size())); });
            writer.Commit();
        }
    }
    if (!writer.Error().isEmpty()) {
        CurrentDialogs().Message(dialogParent_, MessageKind::Error, QStringLiteral("Error"), writer.Error());
        return;
    }
    CurrentDialogs().Message(dialogParent_, MessageKind::Information, QStringLiteral("ORYX"),
                             fileName + QStringLiteral(" was saved."));
}

void TreeActions::PrintTreeText() {
    if (!tree_.TreeModel()->HasItems()) return;
    QPrinter printer;
    if (!CurrentDialogs().Print(dialogParent_, printer)) return;
    QString error;
    bool cancelled = false;
    {
        // A big tree makes thousands of pages: the window goes on drawing
        // and the job can be cancelled while they are made.
        const std::unique_ptr<Progress> progress = CurrentDialogs().ShowProgress(
            dialogParent_, QStringLiteral("Print"), QStringLiteral("Printing Tree Structure..."));
        error = doc::PrintTreeText(printer, store_, [&](std::size_t printed, std::size_t lineCount) {
            cancelled = !progress->Advance(static_cast<qint64>(printed), static_cast<qint64>(lineCount));
            return !cancelled;
        });
    }
    if (cancelled) return;
    if (!error.isEmpty()) {
        CurrentDialogs().Message(dialogParent_, MessageKind::Error, QStringLiteral("Error"), error);
        return;
    }
    CurrentDialogs().Message(dialogParent_, MessageKind::Information, QStringLiteral("ORYX"),
                             QStringLiteral("Structure was sent to printer."));
}

void TreeActions::MarkSelection(const prov::ComponentNode* item) {
    if (boldItem_) tree_.ClearNodeBold(boldItem_);
    if (item) tree_.SetNodeBold(item);
    boldItem_ = item;
}

void TreeActions::RemoveOnDeleteKey(QKeyEvent* event) {
    ComponentTreeModel& model = *tree_.TreeModel();
    const QModelIndex current = tree_.currentIndex();
    const prov::ComponentNode* item = model.NodeAt(current);
    if (!item || !IsDeleteKey(event)) return;
    event->accept();
    if (!CurrentDialogs().Message(dialogParent_, MessageKind::Question, QStringLiteral("Confirm"),
                                  QStringLiteral("Are you sure you want to delete this item?")))
        return;
    for (const prov::ComponentNode* n = boldItem_; n; n = model.TreeParent(n)) {
        if (n == item) {
            boldItem_ = nullptr;
            break;
        }
    }
    model.RemoveItem(tree_.currentIndex());
}

}  // namespace oryx::doc
