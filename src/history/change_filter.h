#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compare/comparison.h"
#include "compare/difference_listing.h"

namespace oryx::prov {
class ComponentNode;
}

namespace oryx::history {

// What a history keeps of the differences between two versions.
struct ChangeFilter {
    // The component whose differences are kept, as an exact path: pieces
    // separated by single spaces, ASCII letter case ignored. An added or
    // removed component holding it is kept too.
    std::optional<std::string> path;
    // The differences beneath the component too.
    bool below = false;
    // Attribute names, ASCII letter case ignored: only their changes are
    // kept, and the added or removed components that hold them.
    std::vector<std::string> attributes;

    bool Narrows() const { return path.has_value() || !attributes.empty(); }
};

// The differences of one comparison that a filter keeps. Points into the
// comparison and the filter, which must outlive it. Costs one byte for each
// component of the comparison when the filter names a path.
class FilteredDifferences final : public compare::DifferenceSelection {
public:
    FilteredDifferences(const compare::Comparison& comparison, const ChangeFilter& filter);

    bool KeepsComponent(compare::Comparison::Index i) const override;
    bool KeepsAttribute(std::string_view name) const override;

private:
    using Index = compare::Comparison::Index;
    static constexpr std::uint8_t kAbove = 1;  // holds the filter's component
    static constexpr std::uint8_t kBeneath = 2;

    Index FindPath(std::string_view path) const;
    void MarkBeneath(Index top);
    bool Ignored(std::string_view name) const;
    bool HoldsAttribute(const prov::ComponentNode* node, bool withSubtree) const;

    const compare::Comparison& comparison_;
    const ChangeFilter& filter_;
    Index target_ = compare::Comparison::kNone;
    std::vector<std::uint8_t> marks_;
};

}  // namespace oryx::history
