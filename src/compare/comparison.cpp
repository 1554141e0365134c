#include "compare/comparison.h"

#include <algorithm>
#include <span>
#include <stdexcept>
#include <utility>

#include "prov/collation.h"
#include "prov/component_store.h"
#include "text/hidden_name.h"

namespace oryx::compare {
namespace {

bool IsHidden(const prov::ComponentNode* node) { return text::IsHiddenName(node->Name()); }

std::span<prov::ComponentNode* const> ChildrenOf(const prov::ComponentNode* node) {
    if (!node) return {};
    return node->Children();
}

bool IsWhole(Change change) { return change == Change::Added || change == Change::Removed; }

}  // namespace

Comparison::Comparison(const prov::ComponentStore& first, const prov::ComponentStore& second, CompareOptions options)
    : options_(std::move(options)) {
    const std::size_t most = first.NodeCount() + second.NodeCount() + 1;
    if (most >= (std::size_t{1} << 29)) throw std::length_error("too many components to compare");
    // The union holds at most every node of both stores; capacity that is
    // never written takes no memory.
    entries_.reserve(most);
    entries_.push_back({first.AddNode(), second.AddNode(), kRoot, 0, 0, 0, 0, 0});
    AttributeMatcher matcher(options_);
    // Each family is added as one run when its parent is reached, and
    // parents are reached depth first: the stores' nodes and lines are then
    // read in about the order the files gave them.
    std::vector<Index> pending{kRoot};
    while (!pending.empty()) {
        const Index i = pending.back();
        pending.pop_back();
        AddChildren(i, matcher);
        for (Index c = ChildEnd(i); c-- > ChildBegin(i);) pending.push_back(c);
    }
    SumSubtrees();
}

void Comparison::AddChildren(Index i, AttributeMatcher& matcher) {
    const Entry parent = entries_[i];
    const Change inherited = static_cast<Change>(parent.change);
    entries_[i].firstChild = static_cast<Index>(entries_.size());
    const auto a = ChildrenOf(parent.first), b = ChildrenOf(parent.second);
    std::size_t x = 0, y = 0;
    while (true) {
        while (x < a.size() && IsHidden(a[x])) ++x;
        while (y < b.size() && IsHidden(b[y])) ++y;
        if (x == a.size() && y == b.size()) break;
        const int order = x == a.size() ? 1 : y == b.size() ? -1 : prov::CompareNames(a[x]->Name(), b[y]->Name());
        Entry child{nullptr, nullptr, i, 0, 0, 0, 0, 0};
        Change change;
        if (order < 0) {
            child.first = a[x++];
            change = Change::Removed;
        } else if (order > 0) {
            child.second = b[y++];
            change = Change::Added;
        } else {
            child.first = a[x++];
            child.second = b[y++];
            change = matcher.Differ(child.first, child.second) ? Change::Changed : Change::Same;
        }
        if (IsWhole(inherited)) change = inherited;
        child.change = static_cast<std::uint32_t>(change) & 3u;
        entries_.push_back(child);
    }
    entries_[i].childCount = static_cast<Index>(entries_.size()) - entries_[i].firstChild;
}

// Children come after their parents, so one backward pass sums subtrees.
void Comparison::SumSubtrees() {
    for (std::size_t i = entries_.size(); i-- > 1;) {
        const Entry& entry = entries_[i];
        Entry& parent = entries_[entry.parent];
        // Within the 29 bits: building refuses larger nodes.
        parent.beneath = (parent.beneath + entry.beneath + 1u) & ((1u << 29) - 1);
        const bool reported = IsDifference(static_cast<Index>(i));
        if (reported || entry.differenceBelow) parent.differenceBelow = 1;
        if (!reported) continue;
        switch (static_cast<Change>(entry.change)) {
        case Change::Added: ++summary_.added; break;
        case Change::Removed: ++summary_.removed; break;
        case Change::Changed: ++summary_.changed; break;
        case Change::Same: break;
        }
    }
}

ComparedComponent Comparison::operator[](Index i) const {
    const Entry& entry = entries_[i];
    return {entry.first, entry.second, ChangeOf(i), entry.beneath, entry.differenceBelow != 0};
}

std::string_view Comparison::Name(Index i) const {
    const Entry& entry = entries_[i];
    return entry.first ? entry.first->Name() : entry.second->Name();
}

std::string Comparison::Path(Index i) const {
    if (i == kRoot) return {};
    const Entry& entry = entries_[i];
    // A component's ancestors are on its side of the comparison too.
    return prov::ComponentPath(entry.first ? *entry.first : *entry.second);
}

bool Comparison::IsDifference(Index i) const {
    if (i == kRoot) return false;
    const Change change = ChangeOf(i);
    if (change == Change::Changed) return true;
    return IsWhole(change) && !IsWhole(ChangeOf(entries_[i].parent));
}

Comparison::Index Comparison::NextDifference(Index from) const {
    // Depth first after `from`: its own children, then the siblings after it
    // and after each of its ancestors. Only subtrees that lead to a
    // difference are entered.
    Index begin = ChildBegin(from);
    for (Index at = from;;) {
        for (Index c = begin; c < ChildEnd(at); ++c) {
            if (!Leads(c)) continue;
            while (!IsDifference(c)) {
                Index k = ChildBegin(c);
                while (!Leads(k)) ++k;
                c = k;
            }
            return c;
        }
        if (at == kRoot) return kNone;
        begin = at + 1;
        at = Parent(at);
    }
}

Comparison::Index Comparison::LastDifferenceWithin(Index i) const {
    while (entries_[i].differenceBelow) {
        Index k = ChildEnd(i);
        while (!Leads(--k)) {}
        i = k;
    }
    return i;
}

Comparison::Index Comparison::PreviousDifference(Index from) const {
    if (from == kRoot) return entries_[kRoot].differenceBelow ? LastDifferenceWithin(kRoot) : kNone;
    for (Index at = from; at != kRoot;) {
        const Index parent = Parent(at);
        for (Index c = at; c-- > ChildBegin(parent);)
            if (Leads(c)) return LastDifferenceWithin(c);
        if (IsDifference(parent)) return parent;
        at = parent;
    }
    return kNone;
}

std::vector<AttributeRow> Comparison::Attributes(Index i) const {
    return CompareAttributes(entries_[i].first, entries_[i].second, options_);
}

}  // namespace oryx::compare
