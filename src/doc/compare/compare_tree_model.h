#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "compare/comparison.h"
#include "doc/compare/compare_marks.h"
#include "doc/tree/flat_tree_model.h"

namespace oryx::doc {

// The union tree of a comparison as the compare window's tree shows it. The
// items are the comparison's entries (each index's internalId); the model
// adds only which items are expanded and whether unchanged items are shown.
//
// As in the document window's tree the rows are the visible items, flat (see
// FlatTreeModel).
class CompareTreeModel final : public FlatTreeModel {
    Q_OBJECT

public:
    using Entry = compare::Comparison::Index;
    static constexpr Entry kNone = compare::Comparison::kNone;

    explicit CompareTreeModel(QObject* parent = nullptr);

    // Shows the comparison with the items that lead to a difference
    // expanded and the others collapsed; null empties the tree. The
    // comparison must outlive its showing.
    void Show(const compare::Comparison* comparison);

    // With only differences, an item is shown when it is added, removed or
    // changed (also inside an added or removed subtree) or has such an item
    // below it.
    void SetOnlyDifferences(bool only);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // kNone for an index that is no row of this model.
    Entry EntryAt(const QModelIndex& index) const;
    // The row of a visible item; invalid when the item is not visible.
    QModelIndex IndexOf(Entry entry) const;
    std::size_t Depth(const QModelIndex& index) const override;
    bool HasChildrenToShow(const QModelIndex& index) const override;
    bool IsExpandedAt(const QModelIndex& index) const override;

    // The item above `entry` in the tree; kNone for a top-level item.
    Entry TreeParent(Entry entry) const;
    bool IsShown(Entry entry) const;
    bool HasShownChildren(Entry entry) const;
    bool HasLaterSibling(Entry entry) const { return laterSibling_[entry]; }
    bool IsExpanded(Entry entry) const { return expanded_[entry]; }

    void Expand(const QModelIndex& index) override;
    void Collapse(const QModelIndex& index) override;
    // Makes a shown item visible by expanding the items above it; invalid
    // when the filter hides it.
    QModelIndex Reveal(Entry entry);

private:
    struct Row {
        Entry entry;
        std::uint32_t depth;
    };

    // Appends the visible rows below `entry`, whose children have depth `childDepth`.
    void AppendVisibleRows(Entry entry, std::uint32_t childDepth, std::vector<Row>& out) const;
    void MarkLaterSiblings();
    // Rebuilds every row in one layout change; persistent indexes follow
    // their items while they stay visible.
    void Relayout();

    const compare::Comparison* comparison_ = nullptr;
    bool onlyDifferences_ = true;
    std::vector<Row> rows_;
    std::vector<bool> expanded_;
    // A shown sibling follows the entry: where the tree's lines continue.
    std::vector<bool> laterSibling_;
    ChangeMarks marks_;
    mutable std::size_t lastFound_ = 0;
};

}  // namespace oryx::doc
