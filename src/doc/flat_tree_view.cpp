#include "doc/flat_tree_view.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>

#include "doc/flat_tree_model.h"

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
