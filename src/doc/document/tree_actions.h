#pragma once

#include <QObject>
#include <QString>

class QKeyEvent;
class QWidget;

namespace oryx::prov {
class ComponentNode;
class ComponentStore;
}  // namespace oryx::prov

namespace oryx::doc {

class TZTreeView;

// What the user does to a document window's component tree besides
// selecting: the selected item shows bold, Delete (or Clear, or the keypad's
// decimal key) removes the current item and its subtree from the tree after
// asking, Expand All / Collapse All work on the whole tree, and the tree text
// of the whole store is saved or printed.
class TreeActions final : public QObject {
    Q_OBJECT

public:
    // `documentPath` is the file the store was read from; `dialogParent` is
    // the parent of the dialogs and message boxes.
    TreeActions(TZTreeView& tree, const prov::ComponentStore& store, const QString& documentPath,
                QWidget* dialogParent);

    void ExpandAll();
    void CollapseAll();
    // Ask for a file or a printer and write the tree text to it; nothing
    // happens while the tree is empty.
    void SaveTreeText();
    void PrintTreeText();
    // Lets go of the bold item (the tree is about to be emptied).
    void Forget() { boldItem_ = nullptr; }

private:
    void MarkSelection(const prov::ComponentNode* item);
    void RemoveOnDeleteKey(QKeyEvent* event);

    TZTreeView& tree_;
    const prov::ComponentStore& store_;
    QString documentPath_;
    QWidget* dialogParent_;
    const prov::ComponentNode* boldItem_ = nullptr;
};

}  // namespace oryx::doc
