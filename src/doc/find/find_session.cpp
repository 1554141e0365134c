#include "doc/find/find_session.h"

#include <QAbstractItemView>
#include <QScrollBar>

#include "doc/tree/component_tree_model.h"
#include "doc/tree/tz_tree_view.h"
#include "prov/component_store.h"
#include "search/component_path.h"

namespace oryx::doc {

FindSession::FindSession(TZTreeView& tree, QAbstractItemView& attributes, const prov::ComponentStore& store,
                         QObject* parent)
    : QObject(parent),
      tree_(tree),
      model_(*tree.TreeModel()),
      attributes_(attributes),
      store_(store),
      removed_(model_) {
    connect(&search_, &BackgroundSearch::Found, this, &FindSession::OnFound);
    connect(&search_, &BackgroundSearch::Finished, this, &FindSession::OnFinished);
    connect(&model_, &ComponentTreeModel::ItemRemoved, this, &FindSession::OnItemRemoved);
    // Building the tree anew comes before the store changes or goes.
    connect(&model_, &QAbstractItemModel::modelAboutToBeReset, this, &FindSession::Forget);
}

bool FindSession::Filtered() const { return model_.IsFiltered(); }

void FindSession::Search(const search::SearchQuery& query, bool goToFirst) {
    search_.Stop();
    matches_.Clear();
    error_.clear();
    hasQuery_ = true;
    pending_ = goToFirst ? Move::Next : Move::None;
    search_.Start(store_, query);
    emit Changed();
}

void FindSession::Clear() {
    search_.Stop();
    matches_.Clear();
    error_.clear();
    hasQuery_ = false;
    pending_ = Move::None;
    RemoveFilter();
    emit Changed();
}

void FindSession::Cancel() {
    search_.Stop();
    hasQuery_ = false;
    pending_ = Move::None;
    emit Changed();
}

void FindSession::Forget() {
    search_.Stop();
    matches_.Clear();
    removed_.Forget();
    hasQuery_ = false;
    pending_ = Move::None;
    selectedBeforeFilter_ = selectedByFilter_ = nullptr;
    filteredComponents_ = 0;
    emit Changed();
}

void FindSession::OnFound(const std::vector<FoundMatch>& matches) {
    matches_.Append(matches, [this](const FoundMatch& match) { return removed_(match.node); });
    Step(pending_);
    emit Changed();
}

void FindSession::OnFinished(const QString& error) {
    error_ = error;
    if (filterWanted_) ApplyFilter();
    Step(pending_);
    emit Changed();
}

void FindSession::OnItemRemoved() {
    removed_.Forget();
    matches_.Drop([this](const FoundMatch& match) { return removed_(match.node); });
    if (model_.IsFiltered()) filteredComponents_ = matches_.Components().size();
    emit Changed();
}

void FindSession::Next() {
    if (!hasQuery_) return;
    Step(Move::Next);
    emit Changed();
}

void FindSession::Previous() {
    if (!hasQuery_) return;
    Step(Move::Previous);
    emit Changed();
}

void FindSession::Step(Move move) {
    if (move == Move::None) return;
    const bool complete = !search_.Running();
    // A tree about to be filtered is not expanded to a match beforehand.
    if (filterWanted_ && !complete) {
        pending_ = move;
        return;
    }
    const MatchList::Step step = move == Move::Next ? matches_.Next(complete) : matches_.Previous(complete);
    pending_ = step == MatchList::Step::Waiting ? move : Move::None;
    if (step == MatchList::Step::Moved || step == MatchList::Step::Wrapped) {
        GoToCurrent();
        selectedByFilter_ = nullptr;
    }
    if (step == MatchList::Step::Wrapped) emit Wrapped(move == Move::Next);
}

void FindSession::GoToCurrent() {
    const FoundMatch& match = matches_.At(matches_.Current());
    tree_.Select(match.node);
    // The filter of the query before may hide it until this search is complete.
    if (tree_.Selected() != match.node) return;
    const QModelIndex row =
        match.attribute ? attributes_.model()->index(static_cast<int>(match.row), 0) : QModelIndex();
    attributes_.setCurrentIndex(row);
    if (row.isValid()) attributes_.scrollTo(row);
}

bool FindSession::GoToPath(std::string_view path) {
    const prov::ComponentNode* node = search::FindComponentAtPath(store_, path, search::QueryText::Display);
    if (!node || model_.IsRemoved(node) || tree_.Selected() == node) return false;
    pending_ = Move::None;
    selectedByFilter_ = nullptr;
    emit JumpingToPath();
    tree_.Select(node);
    if (tree_.Selected() != node && model_.IsFiltered()) {
        filterWanted_ = false;
        RemoveFilter();
        tree_.Select(node);
    }
    attributes_.setCurrentIndex(QModelIndex());
    matches_.MoveTo(matches_.FirstOf(node));
    emit Changed();
    return true;
}

void FindSession::SetFilter(bool on) {
    filterWanted_ = on;
    if (!on)
        RemoveFilter();
    else if (hasQuery_ && !search_.Running())
        ApplyFilter();
    emit Changed();
}

void FindSession::ApplyFilter() {
    const std::vector<const prov::ComponentNode*> components = matches_.Components();
    if (!model_.IsFiltered()) {
        selectedBeforeFilter_ = tree_.Selected();
        scrolledBeforeFilter_ = tree_.verticalScrollBar()->value();
    }
    filteredComponents_ = components.size();
    model_.ShowOnly(components);
    // A selection the filter hides gives way to the match the user is at.
    if (!tree_.Selected() && matches_.Current() != MatchList::kNone) {
        GoToCurrent();
        selectedByFilter_ = tree_.Selected();
    }
}

void FindSession::RemoveFilter() {
    if (!model_.IsFiltered()) return;
    const prov::ComponentNode* selected = tree_.Selected();
    model_.ClearFilter();
    tree_.doItemsLayout();
    tree_.verticalScrollBar()->setValue(scrolledBeforeFilter_);
    const prov::ComponentNode* keep = selected && selected != selectedByFilter_ ? selected : selectedBeforeFilter_;
    if (keep && !model_.IsRemoved(keep)) tree_.Select(keep);
    selectedBeforeFilter_ = selectedByFilter_ = nullptr;
    filteredComponents_ = 0;
}

}  // namespace oryx::doc
