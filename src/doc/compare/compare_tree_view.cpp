#include "doc/compare/compare_tree_view.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>

#include "doc/compare/compare_tree_model.h"

namespace oryx::doc {
namespace {

using Entry = CompareTreeModel::Entry;

// Past this many levels between an item and the leftmost level on screen the
// lines of its ancestors are not drawn; the item itself still is.
constexpr long long kMaxLineWalk = 4096;

// Shifts each item right by its depth and draws the branch column of every
// level that is on screen.
class CompareItemDelegate final : public QStyledItemDelegate {
public:
    CompareItemDelegate(QTreeView* view, CompareTreeModel* model)
        : QStyledItemDelegate(view), view_(view), model_(model) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const Entry entry = model_->EntryAt(index);
        if (entry == CompareTreeModel::kNone) return;
        const long long indent = view_->indentation();
        const long long depth = static_cast<long long>(model_->Depth(index));
        const QRect cell = option.rect;
        const QRect screen = view_->viewport()->rect();
        const long long first = std::max(0LL, (screen.left() - cell.left()) / indent);
        const long long last = std::min(depth, (screen.right() - cell.left()) / indent);
        if (first <= last && depth - last <= kMaxLineWalk) {
            Entry item = entry;
            long long level = depth;
            for (; level > last && item != CompareTreeModel::kNone; --level) item = model_->TreeParent(item);
            for (; level >= first && item != CompareTreeModel::kNone; --level, item = model_->TreeParent(item)) {
                QStyleOption branch;
                branch.initFrom(view_);
                branch.rect = QRect(static_cast<int>(cell.left() + level * indent), cell.top(),
                                    static_cast<int>(indent), cell.height());
                branch.state = option.state & QStyle::State_Enabled;
                const bool later = model_->HasLaterSibling(item);
                if (level == depth) {
                    branch.state |= QStyle::State_Item;
                    if (later) branch.state |= QStyle::State_Sibling;
                    if (model_->HasShownChildren(item)) {
                        branch.state |= QStyle::State_Children;
                        if (model_->IsExpanded(item)) branch.state |= QStyle::State_Open;
                    }
                } else if (later) {
                    branch.state |= QStyle::State_Sibling;
                }
                view_->style()->drawPrimitive(QStyle::PE_IndicatorBranch, &branch, painter, view_);
            }
        }
        QStyleOptionViewItem shifted = option;
        shifted.rect.setLeft(TextLeft(cell, depth));
        QStyledItemDelegate::paint(painter, shifted, index);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        const long long extra = (static_cast<long long>(model_->Depth(index)) + 1) * view_->indentation();
        size.setWidth(static_cast<int>(std::min<long long>(size.width() + extra, 1 << 30)));
        return size;
    }

private:
    int TextLeft(const QRect& cell, long long depth) const {
        return static_cast<int>(std::min<long long>(cell.left() + (depth + 1) * view_->indentation(), 1 << 30));
    }

    QTreeView* view_;
    CompareTreeModel* model_;
};

}  // namespace

CompareTreeView::CompareTreeView(CompareTreeModel* model, QWidget* parent) : FlatTreeView(parent), model_(model) {
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    SetFlatModel(model_);
    setItemDelegate(new CompareItemDelegate(this, model_));
}

CompareTreeView::Entry CompareTreeView::CurrentEntry() const { return model_->EntryAt(currentIndex()); }

bool CompareTreeView::SelectEntry(Entry entry) {
    const QModelIndex index = model_->Reveal(entry);
    if (!index.isValid()) return false;
    setCurrentIndex(index);
    scrollTo(index);
    return true;
}

void CompareTreeView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTreeView::currentChanged(current, previous);
    emit CurrentEntryChanged(model_->EntryAt(current));
    ShowIndentedLater(current);
}

void CompareTreeView::keyPressEvent(QKeyEvent* event) {
    if (HandleTreeKey(event, false)) return;
    QTreeView::keyPressEvent(event);
}

}  // namespace oryx::doc
