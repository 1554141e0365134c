#include "compare/comparison.h"

#include <algorithm>
#include <span>
#include <stdexcept>
#include <utility>

#include "prov/collation.h"
#include "prov/component_store.h"

namespace oryx::compare {
namespace {

bool IsHidden(const prov::ComponentNode* node) { return !node->Name().empty() && node->Name().front() == '&'; }

std::span<prov::ComponentNode* const> ChildrenOf(const prov::ComponentNode* node) {
    if (!node) return {};
    return node->Children();
}

bool IsWhole(Change change) { return change == Change::Added || change == Change::Removed; }

}  // namespace

Comparison::Comparison(const prov::ComponentStore& first, const prov::ComponentStore& second,
                       CompareOptions options)
    : options_(std::move(options)) {
    const std::size_t most = first.NodeCount() + second.NodeCount() + 1;
    if (most >= kNone) throw std::length_error("too many components to compare");
    // The union holds at most every node of both stores; capacity that is
    // never written takes no memory.
    nodes_.reserve(most);
    nodes_.push_back({first.AddNode(), second.AddNode(), kRoot, 0, 0, Change::Same, false});
    AttributeMatcher matcher(options_);

    // Breadth first, so each family lands in one run and the entries
    // themselves are the queue.
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
        const ComparedComponent parent = nodes_[i];
        nodes_[i].firstChild = static_cast<Index>(nodes_.size());
        const auto a = ChildrenOf(parent.first), b = ChildrenOf(parent.second);
        std::size_t x = 0, y = 0;
        while (true) {
            while (x < a.size() && IsHidden(a[x])) ++x;
            while (y < b.size() && IsHidden(b[y])) ++y;
            if (x == a.size() && y == b.size()) break;
            const int order = x == a.size()   ? 1
                              : y == b.size() ? -1
                                              : prov::CompareNames(a[x]->Name(), b[y]->Name());
            ComparedComponent child;
            child.parent = static_cast<Index>(i);
            if (order < 0) {
                child.first = a[x++];
                child.change = Change::Removed;
            } else if (order > 0) {
                child.second = b[y++];
                child.change = Change::Added;
            } else {
                child.first = a[x++];
                child.second = b[y++];
                child.change = matcher.Differ(child.first, child.second) ? Change::Changed : Change::Same;
            }
            nodes_.push_back(child);
        }
    }

    // Children come after their parents, so one backward pass sums subtrees.
    for (std::size_t i = nodes_.size(); i-- > 1;) {
        const ComparedComponent& node = nodes_[i];
        ComparedComponent& parent = nodes_[node.parent];
        parent.beneath += node.beneath + 1;
        const bool reported = IsDifference(static_cast<Index>(i));
        if (reported || node.differenceBelow) parent.differenceBelow = true;
        if (!reported) continue;
        switch (node.change) {
            case Change::Added: ++summary_.added; break;
            case Change::Removed: ++summary_.removed; break;
            case Change::Changed: ++summary_.changed; break;
            case Change::Same: break;
        }
    }
}

Comparison::Index Comparison::ChildEnd(Index i) const {
    return i + 1 < nodes_.size() ? nodes_[i + 1].firstChild : static_cast<Index>(nodes_.size());
}

std::string_view Comparison::Name(Index i) const {
    const ComparedComponent& node = nodes_[i];
    return node.first ? node.first->Name() : node.second->Name();
}

std::string Comparison::Path(Index i) const {
    const bool inSecond = nodes_[i].first == nullptr;
    std::vector<std::string_view> names;
    for (Index at = i; at != kRoot; at = nodes_[at].parent)
        names.push_back(inSecond ? nodes_[at].second->Name() : nodes_[at].first->Name());
    std::string path;
    for (auto name = names.rbegin(); name != names.rend(); ++name) {
        if (name != names.rbegin()) path += ' ';
        path += *name;
    }
    return path;
}

bool Comparison::IsDifference(Index i) const {
    if (i == kRoot) return false;
    const Change change = nodes_[i].change;
    if (change == Change::Changed) return true;
    return IsWhole(change) && !IsWhole(nodes_[nodes_[i].parent].change);
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
    while (nodes_[i].differenceBelow) {
        Index k = ChildEnd(i);
        while (!Leads(--k)) {
        }
        i = k;
    }
    return i;
}

Comparison::Index Comparison::PreviousDifference(Index from) const {
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
    return CompareAttributes(nodes_[i].first, nodes_[i].second, options_);
}

}  // namespace oryx::compare
