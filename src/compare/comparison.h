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
    Change change = Change::Same;
    // Components in the union beneath this one.
    std::size_t beneath = 0;
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
    std::size_t Size() const { return entries_.size(); }
    ComparedComponent operator[](Index i) const;
    Index Parent(Index i) const { return entries_[i].parent; }
    Index ChildBegin(Index i) const { return entries_[i].firstChild; }
    Index ChildEnd(Index i) const { return entries_[i].firstChild + entries_[i].childCount; }
    std::size_t ChildCount(Index i) const { return entries_[i].childCount; }
    // The position of `i` among its parent's children.
    std::size_t Row(Index i) const { return i - entries_[entries_[i].parent].firstChild; }

    // The name as the first file spells it, as the second does for added ones.
    std::string_view Name(Index i) const;
    // The names from the top of the tree down joined by single spaces, as
    // `oryx-cli attrs` takes them; spelled as Name spells the component
    // itself. Costs the depth of the component.
    std::string Path(Index i) const;

    // Changed, or the topmost component of an added or removed subtree.
    bool IsDifference(Index i) const;
    // The next and the previous reported difference, depth first; kNone when
    // there is none. From kRoot, NextDifference gives the first one and
    // PreviousDifference the last one.
    Index NextDifference(Index from) const;
    Index PreviousDifference(Index from) const;

    // The component's attributes side by side under this comparison's options.
    std::vector<AttributeRow> Attributes(Index i) const;

private:
    // 32 bytes an entry: the union of two large nodes costs a fraction of
    // their stores. Counts and indexes fit 29 bits (checked when building).
    struct Entry {
        const prov::ComponentNode* first;
        const prov::ComponentNode* second;
        Index parent;
        Index firstChild;
        Index childCount;
        std::uint32_t beneath : 29;
        std::uint32_t change : 2;
        std::uint32_t differenceBelow : 1;
    };

    Change ChangeOf(Index i) const { return static_cast<Change>(entries_[i].change); }
    bool Leads(Index i) const { return IsDifference(i) || entries_[i].differenceBelow; }
    Index LastDifferenceWithin(Index i) const;
    void AddChildren(Index i, AttributeMatcher& matcher);
    void SumSubtrees();

    CompareOptions options_;
    std::vector<Entry> entries_;
    DiffSummary summary_;
};

}  // namespace oryx::compare
