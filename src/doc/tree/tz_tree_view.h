#pragma once

#include "doc/tree/flat_tree_view.h"

namespace oryx::prov {
class ComponentNode;
}

namespace oryx::doc {

class ComponentTreeModel;

// The component tree control. Its model hands it the visible items flat with
// their depths; this view draws the indentation, the lines and the expand
// buttons itself and expands and collapses through the model, so a tree of
// any depth costs no recursion.
//
// SetNodeBold and ClearNodeBold set an item's display state and report the
// item through Change, as the window's change handler expects; with
// Recursive they do the same for every item below it. The names (TZTreeView,
// Recursive) are the original program's, kept on purpose.
class TZTreeView final : public FlatTreeView {
    Q_OBJECT
    Q_PROPERTY(bool Recursive READ Recursive WRITE SetRecursive)

public:
    using Node = prov::ComponentNode;

    explicit TZTreeView(QWidget* parent = nullptr);

    void SetTreeModel(ComponentTreeModel* model);
    ComponentTreeModel* TreeModel() const { return model_; }

    bool Recursive() const { return recursive_; }
    void SetRecursive(bool recursive) { recursive_ = recursive; }
    void SetNodeBold(const Node* item);
    void ClearNodeBold(const Node* item);

    // The current item; null when none.
    const Node* Selected() const;
    // Expands the items above `item` and makes it the current item.
    void Select(const Node* item);

    void ExpandAllItems();
    // Collapses everything; a current item that disappears hands the
    // selection to its top-level item.
    void CollapseAllItems();

signals:
    // The selection is about to move to `item` (may be null).
    void Changing(const oryx::prov::ComponentNode* item);
    // An item was selected or had its bold state set.
    void Change(const oryx::prov::ComponentNode* item);
    // Before the tree's own key handling; accept the event to take it.
    void KeyDown(QKeyEvent* event);

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void SetBoldState(const Node* item, bool bold);

    ComponentTreeModel* model_ = nullptr;
    bool recursive_ = false;
};

}  // namespace oryx::doc
