#pragma once

#include <QFont>
#include <QString>

#include <cstddef>
#include <functional>
#include <span>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "doc/tree/flat_tree_model.h"

namespace oryx::prov {
class ComponentNode;
class ComponentStore;
}  // namespace oryx::prov

namespace oryx::doc {

// The component tree as the view sees it. The items are the store's own
// nodes (each index's internalPointer); the model adds only the tree's state:
// which items are expanded, the items removed from the tree, captions edited
// in place, the bold items and, while the find bar filters it, the items shown.
//
// The rows are the items currently visible (every ancestor expanded), flat
// (see FlatTreeModel), so a file that nests a million components expands and
// collapses like a flat one.
class ComponentTreeModel final : public FlatTreeModel {
    Q_OBJECT

public:
    using Node = prov::ComponentNode;

    enum Role {
        DepthRole = Qt::UserRole + 1,  // int: 0 for the add node's children
        HasChildrenRole,               // bool: the item has items below it
        ExpandedRole,                  // bool
        LaterSiblingRole,              // bool: a sibling item follows it
    };

    explicit ComponentTreeModel(QObject* parent = nullptr);

    // Fills the tree with the add node's descendants, all collapsed.
    void Build(const prov::ComponentStore& store);
    // Forgets the store (before it is released).
    void Clear();

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    const Node* NodeAt(const QModelIndex& index) const;
    // The row of a visible item; invalid when the item is not visible.
    QModelIndex IndexOf(const Node* node) const;
    std::size_t Depth(const QModelIndex& index) const override;
    bool HasChildrenToShow(const QModelIndex& index) const override;
    bool IsExpandedAt(const QModelIndex& index) const override;
    // The tree holds an item (filtered out or not).
    bool HasItems() const;

    // The item above `node` in the tree; null for a top-level item.
    const Node* TreeParent(const Node* node) const;
    bool HasVisibleChildren(const Node* node) const;
    bool HasLaterSibling(const Node* node) const;
    bool IsExpanded(const Node* node) const;
    // True when the item or one of the items above it was removed.
    bool IsRemoved(const Node* node) const;
    bool HasRemovedItems() const { return !removed_.empty(); }
    // True when the item itself was removed (not one above it).
    bool IsRemovedItem(const Node* node) const { return removed_.count(node) != 0; }
    // Every item below `node` (all of them, collapsed branches included; while
    // filtered, those the filter shows), in depth-first order, without recursion.
    void ForEachDescendant(const Node* node, const std::function<void(const Node*)>& visit) const;

    void Expand(const QModelIndex& index) override;
    void Collapse(const QModelIndex& index) override;
    // Makes the item visible by expanding the items above it.
    QModelIndex Reveal(const Node* node);
    void ExpandAll();
    void CollapseAll();
    // Removes the item and every item below it from the tree (never from the store).
    void RemoveItem(const QModelIndex& index);

    // Shows only `items` (given in tree order) and the items above them, all
    // expanded, until ClearFilter brings back the whole tree with the items
    // expanded as they were. Expand All and Collapse All while filtered act on
    // both. Calling it again while filtered replaces the items shown.
    void ShowOnly(const std::vector<const Node*>& items);
    void ClearFilter();
    bool IsFiltered() const { return filtered_; }

    void SetBold(const Node* node, bool bold);
    bool IsBold(const Node* node) const { return bold_.count(node) != 0; }
    QString Caption(const Node* node) const;

signals:
    // An item was removed with RemoveItem, and everything below it.
    void ItemRemoved(const oryx::prov::ComponentNode* item);

private:
    struct Row {
        const Node* node;
        std::size_t depth;
    };

    using Children = std::span<const Node* const>;

    bool IsHiddenChild(const Node* child) const;
    // The children of `node` the tree may show: all of them, or those the filter shows.
    Children ChildrenOf(const Node* node) const;
    // While filtered: the last child of `node` the filter shows, or null.
    const Node* LastShownChild(const Node* node) const;
    void SetExpandedFlag(const Node* node, bool expanded);
    void SetAllExpanded(bool expanded);
    void ForgetFilter();
    // Appends the visible rows below `node`, whose children have depth `childDepth`.
    void AppendVisibleRows(const Node* node, std::size_t childDepth, std::vector<Row>& out) const;
    template <typename Visit, typename Descend>
    void WalkShown(const Node* node, std::size_t childDepth, Visit&& visit, Descend&& descend) const;
    // Rebuilds every row in one layout change, keeping the selection where
    // its item stays visible.
    void Relayout();
    void EmitRowChanged(int row);

    const Node* addNode_ = nullptr;
    std::vector<Row> rows_;
    // Expanded: defaultExpanded_ unless the node is an exception, so Expand
    // All and Collapse All cost no entry per item.
    bool defaultExpanded_ = false;
    std::unordered_set<const Node*> expandExceptions_;
    std::unordered_set<const Node*> removed_;
    std::unordered_map<const Node*, QString> captions_;
    std::unordered_set<const Node*> bold_;
    // The filter: the items shown, and the whole tree's expansion kept aside.
    bool filtered_ = false;
    std::unordered_set<const Node*> shown_;
    std::unordered_map<const Node*, std::vector<const Node*>> shownChildren_;
    bool unfilteredDefaultExpanded_ = false;
    std::unordered_set<const Node*> unfilteredExceptions_;
    mutable std::unordered_map<const Node*, const Node*> lastShownChild_;
    QFont boldFont_;
    mutable std::size_t lastFound_ = 0;
};

}  // namespace oryx::doc
