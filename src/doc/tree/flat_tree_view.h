#pragma once

#include <QTreeView>

namespace oryx::doc {

class FlatTreeModel;

// The view of a FlatTreeModel: one column fitted to its contents, items
// indented by their depth, and expand buttons in the indentation that a
// click or a double click on the item toggles. Subclasses draw the items
// and handle the keys.
class FlatTreeView : public QTreeView {
    Q_OBJECT

public:
    explicit FlatTreeView(QWidget* parent = nullptr);

protected:
    void SetFlatModel(FlatTreeModel* model);
    // Once the column has its new width, brings the item's indentation into
    // view, as a deep item's text may start right of the pane.
    void ShowIndentedLater(const QModelIndex& current);
    void Toggle(const QModelIndex& index);
    // The tree's own keys on the current item: Right expands it or goes to
    // its first child, Left collapses it or goes to its parent (Backspace
    // too, with `backspaceToParent`), + and - expand and collapse it. False
    // when the key is none of them.
    bool HandleTreeKey(QKeyEvent* event, bool backspaceToParent);

    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // Scrolls sideways so the item's branch and text are on screen.
    void ShowIndented(const QModelIndex& index);
    // The row of the item above `index`'s; invalid for a top-level item.
    QModelIndex ParentRow(const QModelIndex& index) const;
    // The item whose expand button is at `pos`.
    QModelIndex ButtonAt(const QPoint& pos) const;

    FlatTreeModel* model_ = nullptr;
};

}  // namespace oryx::doc
