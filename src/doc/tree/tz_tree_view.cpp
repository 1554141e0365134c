#include "doc/tree/tz_tree_view.h"

#include <QHash>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>

#include "doc/tree/component_tree_model.h"
#include "prov/component_store.h"

namespace oryx::doc {
namespace {

// Past this many levels between an item and the leftmost level on screen the
// lines of its ancestors are not drawn; the item itself still is.
constexpr long long kMaxLineWalk = 4096;

// One level's column of an item's row: the dotted lines joining the item to
// its parent and siblings, and the box that shows whether it is expanded.
struct Branch {
    bool item = false;          // the item's own level: a line across to it
    bool laterSibling = false;  // a line on down to the next sibling
    bool firstRoot = false;     // the first top-level item: no line above it
    bool children = false;      // the expand box
    bool open = false;
};

void DrawBranch(QPainter& painter, const QRect& rect, const Branch& branch, const QPalette& colours) {
    const int x = rect.left() + rect.width() / 2;
    const int y = rect.top() + rect.height() / 2;
    painter.save();
    painter.setPen(QPen(colours.color(QPalette::Dark), 1, Qt::DotLine));
    if (branch.item) {
        painter.drawLine(x, branch.firstRoot ? y : rect.top(), x, branch.laterSibling ? rect.bottom() : y);
        painter.drawLine(x, y, rect.right(), y);
    } else if (branch.laterSibling) {
        painter.drawLine(x, rect.top(), x, rect.bottom());
    }
    if (branch.children) {
        const QRect box(x - 4, y - 4, 8, 8);
        painter.setPen(colours.color(QPalette::Dark));
        painter.setBrush(colours.color(QPalette::Base));
        painter.drawRect(box);
        painter.setPen(colours.color(QPalette::Text));
        painter.drawLine(x - 2, y, x + 2, y);
        if (!branch.open) painter.drawLine(x, y - 2, x, y + 2);
    }
    painter.restore();
}

// Shifts each item right by its depth and draws the branch column of every
// level that is on screen.
class TreeItemDelegate final : public QStyledItemDelegate {
public:
    TreeItemDelegate(TZTreeView* view, ComponentTreeModel* model)
        : QStyledItemDelegate(view), view_(view), model_(model) {
        // Only to let go of what a new tree no longer shows.
        connect(model, &QAbstractItemModel::modelReset, this, [this] { measured_.clear(); });
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const auto* node = model_->NodeAt(index);
        if (!node) return;
        const long long indent = view_->indentation();
        const long long depth = static_cast<long long>(model_->Depth(index));
        const QRect cell = option.rect;
        const QRect screen = view_->viewport()->rect();
        const long long first = std::max(0LL, (screen.left() - cell.left()) / indent);
        const long long last = std::min(depth, (screen.right() - cell.left()) / indent);
        if (first <= last && depth - last <= kMaxLineWalk) {
            const auto* item = node;
            long long level = depth;
            for (; level > last && item; --level) item = model_->TreeParent(item);
            for (; level >= first && item; --level, item = model_->TreeParent(item)) {
                const QRect rect(static_cast<int>(cell.left() + level * indent), cell.top(), static_cast<int>(indent),
                                 cell.height());
                Branch branch;
                branch.laterSibling = model_->HasLaterSibling(item);
                if (level == depth) {
                    branch.item = true;
                    branch.firstRoot = depth == 0 && index.row() == 0;
                    branch.children = model_->HasVisibleChildren(item);
                    branch.open = branch.children && model_->IsExpanded(item);
                }
                DrawBranch(*painter, rect, branch, option.palette);
            }
        }
        QStyleOptionViewItem shifted = option;
        shifted.rect.setLeft(TextLeft(cell, depth));
        QStyledItemDelegate::paint(painter, shifted, index);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = Measure(option, index);
        const long long extra = (static_cast<long long>(model_->Depth(index)) + 1) * view_->indentation();
        size.setWidth(static_cast<int>(std::min<long long>(size.width() + extra, 1 << 30)));
        return size;
    }

    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override {
        QStyleOptionViewItem shifted = option;
        shifted.rect.setLeft(TextLeft(option.rect, static_cast<long long>(model_->Depth(index))));
        QStyledItemDelegate::updateEditorGeometry(editor, shifted, index);
    }

private:
    // Measuring an item's text is the costly part of fitting the column to
    // its contents, which the header does over a thousand rows whenever the
    // selection moves. A measure is kept with what it depends on (the
    // caption, the weight and the view's font) and used while they hold.
    QSize Measure(const QStyleOptionViewItem& option, const QModelIndex& index) const {
        const auto* node = model_->NodeAt(index);
        const QString caption = index.data(Qt::DisplayRole).toString();
        const bool bold = model_->IsBold(node);
        if (option.font != measuredFont_ || measured_.size() >= kMaxMeasured) {
            measured_.clear();
            measuredFont_ = option.font;
        }
        if (const auto kept = measured_.constFind(node);
            kept != measured_.cend() && kept->bold == bold && kept->caption == caption)
            return kept->size;
        const QSize size = QStyledItemDelegate::sizeHint(option, index);
        measured_.insert(node, {caption, bold, size});
        return size;
    }

    struct Measured {
        QString caption;
        bool bold;
        QSize size;
    };
    static constexpr qsizetype kMaxMeasured = 1 << 16;

    int TextLeft(const QRect& cell, long long depth) const {
        return static_cast<int>(std::min<long long>(cell.left() + (depth + 1) * view_->indentation(), 1 << 30));
    }

    TZTreeView* view_;
    ComponentTreeModel* model_;
    mutable QHash<const ComponentTreeModel::Node*, Measured> measured_;
    mutable QFont measuredFont_;
};

}  // namespace

TZTreeView::TZTreeView(QWidget* parent) : FlatTreeView(parent) {
    setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    // Without the focus the selection is not highlighted; the bold item
    // still marks the component shown.
    QPalette colours = palette();
    colours.setColor(QPalette::Inactive, QPalette::Highlight, colours.color(QPalette::Inactive, QPalette::Base));
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText, colours.color(QPalette::Inactive, QPalette::Text));
    setPalette(colours);
}

void TZTreeView::SetTreeModel(ComponentTreeModel* model) {
    model_ = model;
    SetFlatModel(model);
    setItemDelegate(new TreeItemDelegate(this, model));
}

const TZTreeView::Node* TZTreeView::Selected() const { return model_ ? model_->NodeAt(currentIndex()) : nullptr; }

void TZTreeView::Select(const Node* item) {
    if (!model_) return;
    const QModelIndex index = model_->Reveal(item);
    if (!index.isValid()) return;
    // The column is fitted to its contents once, when the selection and the
    // bold item have moved, rather than at each of the steps between.
    const QHeaderView::ResizeMode fit = header()->sectionResizeMode(0);
    header()->setSectionResizeMode(0, QHeaderView::Interactive);
    setCurrentIndex(index);
    header()->setSectionResizeMode(0, fit);
    scrollTo(index);
}

void TZTreeView::SetNodeBold(const Node* item) { SetBoldState(item, true); }

void TZTreeView::ClearNodeBold(const Node* item) { SetBoldState(item, false); }

void TZTreeView::SetBoldState(const Node* item, bool bold) {
    if (!model_ || !item) return;
    model_->SetBold(item, bold);
    emit Change(item);
    if (recursive_) {
        model_->ForEachDescendant(item, [&](const Node* below) {
            model_->SetBold(below, bold);
            emit Change(below);
        });
    }
}

void TZTreeView::ExpandAllItems() {
    if (model_) model_->ExpandAll();
}

void TZTreeView::CollapseAllItems() {
    if (!model_) return;
    const Node* selected = Selected();
    model_->CollapseAll();
    if (selected && !currentIndex().isValid()) {
        const Node* top = selected;
        while (const Node* above = model_->TreeParent(top)) top = above;
        setCurrentIndex(model_->IndexOf(top));
    }
}

void TZTreeView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    const Node* item = model_ ? model_->NodeAt(current) : nullptr;
    emit Changing(item);
    QTreeView::currentChanged(current, previous);
    emit Change(item);
    if (item) ShowIndentedLater(current);
}

void TZTreeView::keyPressEvent(QKeyEvent* event) {
    event->ignore();
    emit KeyDown(event);
    if (event->isAccepted()) return;
    event->accept();

    if (state() != QAbstractItemView::EditingState && HandleTreeKey(event, true)) return;
    QTreeView::keyPressEvent(event);
}

}  // namespace oryx::doc
