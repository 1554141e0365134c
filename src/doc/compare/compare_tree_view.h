#pragma once

#include "compare/comparison.h"
#include "doc/tree/flat_tree_view.h"

namespace oryx::doc {

class CompareTreeModel;

// The compare window's tree. Its model hands it the visible items flat with
// their depths; the view draws the indentation, the lines and the expand
// buttons and expands and collapses through the model, as the document
// window's tree does, so a tree of any depth costs no recursion.
class CompareTreeView final : public FlatTreeView {
    Q_OBJECT

public:
    using Entry = compare::Comparison::Index;

    CompareTreeView(CompareTreeModel* model, QWidget* parent);

    CompareTreeModel* TreeModel() const { return model_; }
    // The current item; kNone when there is none.
    Entry CurrentEntry() const;
    // Expands the items above `entry`, makes it the current item and
    // scrolls to it; false when the filter hides it.
    bool SelectEntry(Entry entry);

signals:
    // The current item changed (kNone when there is none).
    void CurrentEntryChanged(oryx::compare::Comparison::Index entry);

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    CompareTreeModel* model_;
};

}  // namespace oryx::doc
