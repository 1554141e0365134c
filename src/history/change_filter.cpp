#include "history/change_filter.h"

#include <algorithm>

#include "prov/collation.h"
#include "prov/component_store.h"
#include "text/ascii_case.h"
#include "text/hidden_name.h"

namespace oryx::history {

using compare::Change;
using compare::Comparison;

FilteredDifferences::FilteredDifferences(const Comparison& comparison, const ChangeFilter& filter)
    : comparison_(comparison), filter_(filter) {
    if (!filter.path) return;
    target_ = FindPath(*filter.path);
    if (target_ == Comparison::kNone) return;
    marks_.assign(comparison.Size(), 0);
    for (Index i = comparison.Parent(target_); i != Comparison::kRoot; i = comparison.Parent(i)) marks_[i] |= kAbove;
    if (filter.below) MarkBeneath(target_);
}

// Each piece names a child of the component before it, as an exact path
// names a component of one file.
Comparison::Index FilteredDifferences::FindPath(std::string_view path) const {
    Index at = Comparison::kRoot;
    for (;;) {
        const std::size_t space = path.find(' ');
        const std::string_view piece = path.substr(0, space);
        Index found = Comparison::kNone;
        for (Index i = comparison_.ChildBegin(at); i != comparison_.ChildEnd(at); ++i) {
            const std::string_view name = comparison_.Name(i);
            if (!text::IsHiddenName(name) && prov::SameName(name, piece)) {
                found = i;
                break;
            }
        }
        if (found == Comparison::kNone || space == std::string_view::npos) return found;
        at = found;
        path.remove_prefix(space + 1);
    }
}

void FilteredDifferences::MarkBeneath(Index top) {
    std::vector<Index> pending{top};
    while (!pending.empty()) {
        const Index i = pending.back();
        pending.pop_back();
        for (Index child = comparison_.ChildBegin(i); child != comparison_.ChildEnd(i); ++child) {
            marks_[child] |= kBeneath;
            pending.push_back(child);
        }
    }
}

bool FilteredDifferences::KeepsComponent(Index i) const {
    const bool above = filter_.path && i != target_ && target_ != Comparison::kNone && (marks_[i] & kAbove);
    if (filter_.path) {
        if (target_ == Comparison::kNone) return false;
        // Only the topmost added or removed component is a reported
        // difference; one that holds the path stands for it.
        const bool kept = i == target_ || (marks_[i] & kBeneath) || (above && comparison_[i].change != Change::Changed);
        if (!kept) return false;
    }
    if (filter_.attributes.empty()) return true;
    const compare::ComparedComponent node = comparison_[i];
    if (node.change == Change::Changed) return true;  // its rows decide
    // An added or removed component counts when the part of it the path
    // keeps holds one of the attributes.
    const compare::ComparedComponent scope = above ? comparison_[target_] : node;
    return HoldsAttribute(scope.first ? scope.first : scope.second, !filter_.path || filter_.below);
}

bool FilteredDifferences::KeepsAttribute(std::string_view name) const {
    return filter_.attributes.empty() ||
           std::any_of(filter_.attributes.begin(), filter_.attributes.end(),
                       [name](const std::string& wanted) { return text::EqualIgnoringAsciiCase(name, wanted); });
}

// A name the comparison leaves out counts for no component.
bool FilteredDifferences::Ignored(std::string_view name) const {
    const std::vector<std::string>& ignored = comparison_.Options().ignoredNames;
    return std::any_of(ignored.begin(), ignored.end(),
                       [name](const std::string& left) { return text::EqualIgnoringAsciiCase(name, left); });
}

bool FilteredDifferences::HoldsAttribute(const prov::ComponentNode* node, bool withSubtree) const {
    std::vector<const prov::ComponentNode*> pending{node};
    while (!pending.empty()) {
        const prov::ComponentNode* at = pending.back();
        pending.pop_back();
        for (std::string_view line : at->FileLines())
            if (!text::IsHiddenName(line) && KeepsAttribute(prov::LineName(line)) && !Ignored(prov::LineName(line)))
                return true;
        if (!withSubtree) continue;
        for (const prov::ComponentNode* child : at->Children())
            if (!text::IsHiddenName(child->Name())) pending.push_back(child);
    }
    return false;
}

}  // namespace oryx::history
