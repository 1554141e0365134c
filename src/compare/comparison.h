#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "compare/attribute_comparison.h"
#include "compare/compare_options.h"

namespace oryx::prov {
class ComponentNode;
class ComponentStore;
}  // namespace oryx::prov

namespace oryx::compare {

enum class Change : std::uint8_t {
    Same,
    Changed,  // in both files, with attributes that differ
    Removed,  // only in the first file
    Added,    // only in the second file
};

// One component of the union of both files' trees.
struct ComparedComponent {
    const prov::ComponentNode* first = nullptr;   // null when added
    const prov::ComponentNode* second = nullptr;  // null when removed
    std::uint32_t parent = 0;
    // Children are the entries from here up to the next entry's firstChild.
    std::uint32_t firstChild = 0;
    // Components in the union beneath this one.
    std::uint32_t beneath = 0;
    Change change = Change::Same;
    // Some component beneath is a reported difference.
    bool differenceBelow = false;
};

// The counts of the last line of `oryx-cli diff`: topmost added and removed
// components, and changed ones.
struct DiffSummary {
    std::size_t added = 0;
    std::size_t removed = 0;
    std::size_t changed = 0;
    bool Equal() const { return added == 0 && removed == 0 && changed == 0; }
};

// The comparison of two files' components: one tree holding every component
// of either file below its add node, matched by path under the store's name
// rules, siblings in the store's order. Names beginning with "&" and their
// subtrees take no part; neither do the add nodes' own attributes.
//
// A component of an added or removed subtree carries that change too; only
// the topmost one is a reported difference, with the count of components
// beneath it. The comparison points into both stores, which must outlive it
// and are never changed. Building it takes one pass over both trees and no
// recursion, whatever their depth.
class Comparison final {
public:
    using Index = std::uint32_t;
    // The union of the add nodes; not a component itself.
    static constexpr Index kRoot = 0;
    static constexpr Index kNone = static_cast<Index>(-1);

    Comparison(const prov::ComponentStore& first, const prov::ComponentStore& second, CompareOptions options = {});

    const CompareOptions& Options() const { return options_; }
    const DiffSummary& Summary() const { return summary_; }

    // Entries, the root included. Siblings are contiguous, in the store's order.
    std::size_t Size() const { return nodes_.size(); }
    const ComparedComponent& operator[](Index i) const { return nodes_[i]; }
    Index Parent(Index i) const { return nodes_[i].parent; }
    Index ChildBegin(Index i) const { return nodes_[i].firstChild; }
    Index ChildEnd(Index i) const;
    std::size_t ChildCount(Index i) const { return ChildEnd(i) - ChildBegin(i); }
    // The position of `i` among its parent's children.
    std::size_t Row(Index i) const { return i - nodes_[nodes_[i].parent].firstChild; }

    // The name as the first file spells it, as the second does for added ones.
    std::string_view Name(Index i) const;
    // The names from the top of the tree down joined by single spaces, as
    // `oryx-cli attrs` takes them; spelled as Name spells the component
    // itself. Costs the depth of the component.
    std::string Path(Index i) const;

    // Changed, or the topmost component of an added or removed subtree.
    bool IsDifference(Index i) const;
    // The next and the previous reported difference, depth first; kNone when
    // there is none. From kRoot, NextDifference gives the first one.
    Index NextDifference(Index from) const;
    Index PreviousDifference(Index from) const;

    // The component's attributes side by side under this comparison's options.
    std::vector<AttributeRow> Attributes(Index i) const;

private:
    bool Leads(Index i) const { return IsDifference(i) || nodes_[i].differenceBelow; }
    Index LastDifferenceWithin(Index i) const;

    CompareOptions options_;
    std::vector<ComparedComponent> nodes_;
    DiffSummary summary_;
};

}  // namespace oryx::compare
