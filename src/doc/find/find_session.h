#pragma once

#include <QObject>
#include <QString>

#include <cstddef>
#include <string_view>
#include <vector>

#include "doc/find/background_search.h"
#include "doc/find/match_list.h"
#include "doc/tree/removed_item_check.h"

class QAbstractItemView;

namespace oryx::prov {
class ComponentNode;
class ComponentStore;
}  // namespace oryx::prov

namespace oryx::doc {

class ComponentTreeModel;
class TZTreeView;

// What finding does to a document window: searches the store in the
// background for each query, goes to the matches (the component in the tree,
// an attribute's row in the attribute list) and, on request, filters the
// tree down to them. Matches whose tree item the user removed are skipped and
// not counted. When the tree is built anew (the store is about to change or
// go) the search stops and the matches are forgotten.
class FindSession final : public QObject {
    Q_OBJECT

public:
    FindSession(TZTreeView& tree, QAbstractItemView& attributes, const prov::ComponentStore& store,
                QObject* parent = nullptr);

    // Searches anew and, unless told to stay, goes to the first match as soon
    // as it is found.
    void Search(const search::SearchQuery& query, bool goToFirst = true);
    // Stops searching and forgets the query and its matches; a filter goes.
    void Clear();
    // Stops searching for a query that no longer holds; the tree stays as it
    // is, filtered or not, until the next search.
    void Cancel();
    // To the next or previous match, wrapping around; while the match is
    // still being searched for, the move is made when it is found.
    void Next();
    void Previous();
    // Goes to the component whose path is exactly `path` (UTF-8, ASCII letter
    // case ignored), whatever the query, leaving a filter that hides it.
    // False when there is no such component or it is the selected one.
    bool GoToPath(std::string_view path);
    // "Show only matches": while on, the tree shows only the components with
    // matches and the components above them, once the search is complete.
    // Off, the tree is back as it was, the selection kept.
    void SetFilter(bool on);

    bool HasQuery() const { return hasQuery_; }
    bool Searching() const { return search_.Running(); }
    const QString& Error() const { return error_; }
    std::size_t Count() const { return matches_.Size(); }
    // The match gone to last (0-based); MatchList::kNone when none.
    std::size_t Current() const { return matches_.Current(); }
    bool FilterWanted() const { return filterWanted_; }
    bool Filtered() const;
    // The components with matches the filter shows.
    std::size_t FilteredComponents() const { return filteredComponents_; }

signals:
    // The count, the current match or the state changed.
    void Changed();
    // A move went around the end (forward) or the start.
    void Wrapped(bool forward);
    // The exact path is about to be selected: a jump leaves the selected component.
    void JumpingToPath();

private:
    enum class Move { None, Next, Previous };

    void OnFound(const std::vector<FoundMatch>& matches);
    void OnFinished(const QString& error);
    void OnItemRemoved();
    void Forget();
    void Step(Move move);
    void GoToCurrent();
    void ApplyFilter();
    void RemoveFilter();

    TZTreeView& tree_;
    ComponentTreeModel& model_;
    QAbstractItemView& attributes_;
    const prov::ComponentStore& store_;
    BackgroundSearch search_;
    MatchList matches_;
    RemovedItemCheck removed_;
    bool hasQuery_ = false;
    QString error_;
    Move pending_ = Move::None;  // waits for the match it goes to

    bool filterWanted_ = false;
    std::size_t filteredComponents_ = 0;
    // The tree before the filter: its selection and where it was scrolled.
    const prov::ComponentNode* selectedBeforeFilter_ = nullptr;
    // The match the filter selected in place of a selection it hid; while
    // it stays selected, the selection before comes back with the tree.
    const prov::ComponentNode* selectedByFilter_ = nullptr;
    int scrolledBeforeFilter_ = 0;
};

}  // namespace oryx::doc
