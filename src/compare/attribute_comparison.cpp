#include "compare/attribute_comparison.h"

#include <algorithm>
#include <bit>

#include "prov/collation.h"
#include "prov/component_store.h"
#include "text/hidden_name.h"

namespace oryx::compare {
namespace {

// A missing side (an added or removed component) reads as a node without lines.
prov::FileLineRange LinesOf(const prov::ComponentNode* node) {
    static const prov::ComponentStore kEmpty;
    return (node ? node : kEmpty.AddNode())->Attributes().FileLines();
}

}  // namespace

std::size_t AttributeMatcher::NameHash::operator()(std::string_view name) const { return prov::HashName(name); }

bool AttributeMatcher::NameEqual::operator()(std::string_view a, std::string_view b) const {
    return prov::SameName(a, b);
}

AttributeMatcher::AttributeMatcher(const CompareOptions& options)
    : ignored_(options.ignoredNames.begin(), options.ignoredNames.end()), ignoreValueCase_(options.ignoreValueCase) {}

bool AttributeMatcher::Takes(std::string_view line) const {
    if (text::IsHiddenName(line)) return false;
    return ignored_.empty() || ignored_.find(prov::LineName(line)) == ignored_.end();
}

bool AttributeMatcher::ValuesEqual(std::string_view a, std::string_view b) const {
    return ignoreValueCase_ ? prov::SameName(a, b) : a == b;
}

// Dumps of one node mostly list a component's lines alike, so the common
// case is settled in one pass without grouping.
bool AttributeMatcher::SameInOrder(const prov::ComponentNode* first, const prov::ComponentNode* second) const {
    const prov::FileLineRange a = LinesOf(first), b = LinesOf(second);
    auto i = a.begin(), j = b.begin();
    while (true) {
        while (i != a.end() && !Takes(*i)) ++i;
        while (j != b.end() && !Takes(*j)) ++j;
        if (i == a.end() || j == b.end()) return i == a.end() && j == b.end();
        // Equal lines, the usual case, need no look at their parts.
        if (*i != *j && (!prov::SameName(prov::LineName(*i), prov::LineName(*j)) ||
                         !ValuesEqual(prov::LineValue(*i), prov::LineValue(*j))))
            return false;
        ++i;
        ++j;
    }
}

std::uint32_t AttributeMatcher::GroupOf(std::string_view name) {
    const std::size_t mask = slots_.size() - 1;
    std::size_t slot = prov::HashName(name) & mask;
    while (slots_[slot] != 0) {
        const std::uint32_t group = slots_[slot] - 1;
        if (prov::SameName(groups_[group].name, name)) return group;
        slot = (slot + 1) & mask;
    }
    const bool ignored = !ignored_.empty() && ignored_.find(name) != ignored_.end();
    groups_.push_back({name, {0, 0}, {0, 0}, slot, ignored});
    slots_[slot] = static_cast<std::uint32_t>(groups_.size());
    return static_cast<std::uint32_t>(groups_.size() - 1);
}

// Only the slots in use are freed, so a wide component does not make every
// later pair pay for the table it needed.
void AttributeMatcher::ClearGroups() {
    for (const NameGroup& group : groups_) slots_[group.slot] = 0;
    groups_.clear();
}

void AttributeMatcher::Arrange(const prov::ComponentNode* first, const prov::ComponentNode* second) {
    ClearGroups();
    const prov::FileLineRange sides[2] = {LinesOf(first), LinesOf(second)};
    // At most half full, so probes stay short.
    const std::size_t wanted = std::bit_ceil(std::max<std::size_t>(16, 2 * (sides[0].size() + sides[1].size())));
    if (slots_.size() < wanted) slots_.assign(wanted, 0);
    for (int side = 0; side < 2; ++side) {
        occurrences_[side].clear();
        for (std::string_view line : sides[side]) {
            if (text::IsHiddenName(line)) continue;
            const std::uint32_t group = GroupOf(prov::LineName(line));
            ++groups_[group].count[side];
            occurrences_[side].push_back({group, line});
        }
    }
    for (int side = 0; side < 2; ++side) {
        // Each group's range ends where the next begins; filling from the
        // back leaves every start in place and the lines in file order.
        std::uint32_t end = 0;
        for (NameGroup& group : groups_) {
            end += group.count[side];
            group.start[side] = end;
        }
        byGroup_[side].resize(end);
        for (auto o = occurrences_[side].rbegin(); o != occurrences_[side].rend(); ++o)
            byGroup_[side][--groups_[o->group].start[side]] = o->line;
    }
}

bool AttributeMatcher::Differ(const prov::ComponentNode* first, const prov::ComponentNode* second) {
    if (SameInOrder(first, second)) return false;
    Arrange(first, second);
    for (const NameGroup& group : groups_) {
        if (group.ignored) continue;
        if (group.count[0] != group.count[1]) return true;
        for (std::uint32_t k = 0; k < group.count[0]; ++k)
            if (!ValuesEqual(prov::LineValue(byGroup_[0][group.start[0] + k]),
                             prov::LineValue(byGroup_[1][group.start[1] + k])))
                return true;
    }
    return false;
}

void AttributeMatcher::Rows(const prov::ComponentNode* first, const prov::ComponentNode* second,
                            std::vector<AttributeRow>& rows) {
    rows.clear();
    Arrange(first, second);
    for (const NameGroup& group : groups_) {
        const std::uint32_t count = std::max(group.count[0], group.count[1]);
        for (std::uint32_t k = 0; k < count; ++k) {
            AttributeRow row;
            row.inFirst = k < group.count[0];
            row.inSecond = k < group.count[1];
            const std::string_view line1 = row.inFirst ? byGroup_[0][group.start[0] + k] : std::string_view{};
            const std::string_view line2 = row.inSecond ? byGroup_[1][group.start[1] + k] : std::string_view{};
            // A name the first file has keeps its spelling there, also for
            // the extra values the second file gives it.
            if (row.inFirst)
                row.name = prov::LineName(line1);
            else if (group.count[0] > 0)
                row.name = prov::LineName(byGroup_[0][group.start[0]]);
            else
                row.name = prov::LineName(line2);
            row.first = prov::LineValue(line1);
            row.second = prov::LineValue(line2);
            if (group.ignored)
                row.change = AttributeChange::Ignored;
            else if (!row.inSecond)
                row.change = AttributeChange::Removed;
            else if (!row.inFirst)
                row.change = AttributeChange::Added;
            else
                row.change = ValuesEqual(row.first, row.second) ? AttributeChange::Same : AttributeChange::Changed;
            rows.push_back(row);
        }
    }
}

std::vector<AttributeRow> CompareAttributes(const prov::ComponentNode* first, const prov::ComponentNode* second,
                                            const CompareOptions& options) {
    std::vector<AttributeRow> rows;
    AttributeMatcher(options).Rows(first, second, rows);
    return rows;
}

}  // namespace oryx::compare
