#pragma once

#include <QObject>

#include <memory>
#include <string>
#include <thread>

#include "doc/refs/navigation_history.h"

class QAction;
class QWidget;

namespace oryx::prov {
class ComponentNode;
class ComponentStore;
}  // namespace oryx::prov

namespace oryx::refs {
class ReferenceIndex;
class ReferenceResolver;
struct Reference;
}  // namespace oryx::refs

namespace oryx::doc {

class AttributeList;
class ReferencedByPanel;
class TZTreeView;

// Following references in one document window: the links of the attribute
// list, the jumps they make, Back and Forward through the places jumps left,
// and the "Referenced by" list of the selected component. The reference index
// is built in the background when first needed, after the tree shows; the
// list fills when it is ready.
class ReferenceNavigator final : public QObject {
    Q_OBJECT

public:
    ReferenceNavigator(const prov::ComponentStore& store, TZTreeView& tree, AttributeList& attributes,
                       ReferencedByPanel& referencedBy, QWidget& window);
    ~ReferenceNavigator() override;

    // The store was read (again): references are resolved anew; the history stays.
    void StoreChanged();
    // The store is about to go or change: nothing may point into it.
    void ReleaseStore();

    // Follows the reference of the attribute row, as a double-click does.
    void FollowRow(int row);
    // Selects `node` as a jump (one Back returns from), and then the row of
    // its file line `lineIndex` when that is given. False, with a word in the
    // status bar, when the tree does not show it.
    bool JumpTo(const prov::ComponentNode* node, long lineIndex = -1);
    // A jump made elsewhere (the find bar's exact path) leaves the current component.
    void RecordJump();
    void Back();
    void Forward();
    bool CanGoBack() const { return history_.CanGoBack(); }
    bool CanGoForward() const { return history_.CanGoForward(); }
    QAction* BackAction() const { return back_; }
    QAction* ForwardAction() const { return forward_; }
    // The index of the store; waits for it to be built.
    const refs::ReferenceIndex& Index();
    // Whether the index is built (the list then shows its rows).
    bool IndexReady() const { return index_ != nullptr; }

signals:
    void HistoryChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowReferencedBy(const prov::ComponentNode* node);
    void StartIndex();
    // Takes the index the background build made, and shows the list of the selection.
    void AdoptIndex();
    void StopBuilding();
    void Open(const refs::Reference& reference);
    void MoveThroughHistory(bool back);
    bool Shows(const prov::ComponentNode* node) const;
    std::string CurrentPath() const;
    void Say(const QString& message);
    void UpdateActions();

    const prov::ComponentStore& store_;
    TZTreeView& tree_;
    AttributeList& attributes_;
    ReferencedByPanel& referencedBy_;
    QWidget& window_;
    std::unique_ptr<refs::ReferenceResolver> resolver_;
    std::unique_ptr<refs::ReferenceIndex> index_;
    // The background build, and what it made; read only after joining it.
    std::thread builder_;
    std::unique_ptr<refs::ReferenceIndex> built_;
    NavigationHistory history_;
    QAction* back_;
    QAction* forward_;
    const prov::ComponentNode* shownReferencedBy_ = nullptr;
};

}  // namespace oryx::doc
