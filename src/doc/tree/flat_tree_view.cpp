#include "doc/tree/flat_tree_view.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>

#include "doc/tree/flat_tree_model.h"

namespace oryx::doc {

FlatTreeView::FlatTreeView(QWidget* parent) : QTreeView(parent) {
    setUniformRowHeights(true);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setIndentation(19);
    setHeaderHidden(true);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

void FlatTreeView::SetFlatModel(FlatTreeModel* model) {
    model_ = model;
    setModel(model);
}

void FlatTreeView::ShowIndentedLater(const QModelIndex& current) {
    if (!current.isValid()) return;
    QTimer::singleShot(0, this, [this, index = QPersistentModelIndex(current)] {
        if (index.isValid() && index == currentIndex()) ShowIndented(index);
    });
}

void FlatTreeView::ShowIndented(const QModelIndex& index) {
    const long long left = static_cast<long long>(model_->Depth(index)) * indentation();
    QScrollBar* bar = horizontalScrollBar();
    if (left < bar->value() || left + 2 * indentation() > bar->value() + viewport()->width())
        bar->setValue(static_cast<int>(std::clamp<long long>(left - indentation(), 0, bar->maximum())));
}

void FlatTreeView::Toggle(const QModelIndex& index) {
    if (!model_ || !model_->HasChildrenToShow(index)) return;
    if (model_->IsExpandedAt(index))
        model_->Collapse(index);
    else
        model_->Expand(index);
}

bool FlatTreeView::HandleTreeKey(QKeyEvent* event, bool backspaceToParent) {
    const QModelIndex current = currentIndex();
    if (!model_ || !current.isValid()) return false;
    const bool children = model_->HasChildrenToShow(current);
    const bool open = children && model_->IsExpandedAt(current);
    switch (event->key()) {
    case Qt::Key_Right:
        if (children && !open)
            model_->Expand(current);
        else if (open)
            setCurrentIndex(model_->index(current.row() + 1, 0));
        return true;
    case Qt::Key_Backspace:
        if (!backspaceToParent) return false;
        [[fallthrough]];
    case Qt::Key_Left:
        if (open && event->key() == Qt::Key_Left)
            model_->Collapse(current);
        else if (const QModelIndex parent = ParentRow(current); parent.isValid())
            setCurrentIndex(parent);
        return true;
    case Qt::Key_Plus: model_->Expand(current); return true;
    case Qt::Key_Minus: model_->Collapse(current); return true;
    default: return false;
    }
}

QModelIndex FlatTreeView::ParentRow(const QModelIndex& index) const {
    // Rows are in depth-first order: the parent is the nearest row above
    // that is less deep.
    const std::size_t depth = model_->Depth(index);
    if (depth == 0) return {};
    for (int row = index.row() - 1; row >= 0; --row) {
        const QModelIndex candidate = model_->index(row, 0);
        if (model_->Depth(candidate) < depth) return candidate;
    }
    return {};
}

QModelIndex FlatTreeView::ButtonAt(const QPoint& pos) const {
    if (!model_) return {};
    const QModelIndex index = indexAt(pos);
    if (!model_->HasChildrenToShow(index)) return {};
    const long long left = visualRect(index).left() + static_cast<long long>(model_->Depth(index)) * indentation();
    if (pos.x() < left || pos.x() >= left + indentation()) return {};
    return index;
}

void FlatTreeView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const QModelIndex button = ButtonAt(event->position().toPoint());
        if (button.isValid()) {
            Toggle(button);
            event->accept();
            return;
        }
    }
    QTreeView::mousePressEvent(event);
}

void FlatTreeView::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    const QModelIndex button = ButtonAt(pos);
    if (event->button() == Qt::LeftButton && button.isValid()) {
        Toggle(button);
        event->accept();
        return;
    }
    const QModelIndex index = indexAt(pos);
    QTreeView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && index.isValid()) Toggle(index);
}

}  // namespace oryx::doc
