#include "doc/document/attribute_list.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>

#include "doc/common/whole_text_tips.h"
#include "doc/document/attribute_list_model.h"
#include "doc/refs/reference_colours.h"

namespace oryx::doc {

AttributeList::AttributeList(QWidget* parent)
    : QTreeView(parent), model_(new AttributeListModel(this)), hoverTimer_(new QTimer(this)) {
    setObjectName(QStringLiteral("ListView1"));
    setModel(model_);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The values fill the width; one that still does not fit shows whole in its tooltip.
    header()->setStretchLastSection(true);
    header()->resizeSection(0, 120);
    ShowWholeTextTips(*this);

    setMouseTracking(true);
    hoverTimer_->setSingleShot(true);
    hoverTimer_->setInterval(400);
    connect(this, &QAbstractItemView::entered, this, [this](const QModelIndex& index) {
        hoverRow_ = index;
        hoverTimer_->start();
    });
    connect(hoverTimer_, &QTimer::timeout, this, [this] {
        if (!hoverRow_.isValid()) return;
        const QPoint pointer = viewport()->mapFromGlobal(QCursor::pos());
        if (indexAt(pointer).row() == hoverRow_.row()) setCurrentIndex(hoverRow_);
    });
    UpdateColours();
}

void AttributeList::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentIndex().isValid()) {
        emit FollowRequested(currentIndex().row());
        return;
    }
    QTreeView::keyPressEvent(event);
}

void AttributeList::mousePressEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && event->modifiers() == Qt::ControlModifier && index.isValid() &&
        index.column() == 1) {
        setCurrentIndex(index);
        emit FollowRequested(index.row());
        return;
    }
    QTreeView::mousePressEvent(event);
}

void AttributeList::mouseDoubleClickEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index.isValid()) {
        emit FollowRequested(index.row());
        return;
    }
    QTreeView::mouseDoubleClickEvent(event);
}

void AttributeList::changeEvent(QEvent* event) {
    QTreeView::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) UpdateColours();
}

void AttributeList::UpdateColours() {
    model_->SetColours(palette().color(QPalette::Link), DanglingColour(palette().color(QPalette::Base)));
}

void AttributeList::ShowComponent(const prov::ComponentNode* node) {
    // One redraw per change, not one per row.
    setUpdatesEnabled(false);
    model_->ShowComponent(node);
    setUpdatesEnabled(true);
}

QString AttributeList::SelectedRowText() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty()) return {};
    const int row = rows.first().row();
    return model_->index(row, 0).data().toString() + QStringLiteral(" = ") + model_->index(row, 1).data().toString();
}

}  // namespace oryx::doc
