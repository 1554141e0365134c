#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "compare/compare_options.h"

namespace oryx::prov {
class ComponentNode;
}

namespace oryx::compare {

enum class AttributeChange : std::uint8_t {
    Same,
    Changed,  // the name on both sides, another value
    Removed,  // only in the first file
    Added,    // only in the second file
    Ignored,  // a name the options leave out, whatever its values
};

// One row of a component's attributes side by side: one occurrence of a
// name, with its value in each file that has it. Views point into the stores.
struct AttributeRow {
    std::string_view name;  // as the first file spells it, else as the second
    std::string_view first;
    std::string_view second;
    bool inFirst = false;
    bool inSecond = false;
    AttributeChange change = AttributeChange::Same;

    bool Differs() const {
        return change == AttributeChange::Changed || change == AttributeChange::Removed ||
               change == AttributeChange::Added;
    }
};

// Compares the attribute lines of two components. Lines match by name (the
// text before the first "="), ASCII case ignored, in any order; a name given
// several times pairs its values in their order of appearance. Lines that
// begin with "&" never take part. The work is linear in the number of lines,
// and the scratch space is kept from one pair to the next.
class AttributeMatcher final {
public:
    explicit AttributeMatcher(const CompareOptions& options);

    // True when some row of the pair differs. Either side may be null, a
    // component with no attributes.
    bool Differ(const prov::ComponentNode* first, const prov::ComponentNode* second);

    // Every row of the pair: the names in the order they first appear in the
    // first file, each with all its occurrences, then the names found only in
    // the second file in their order there.
    void Rows(const prov::ComponentNode* first, const prov::ComponentNode* second, std::vector<AttributeRow>& rows);

private:
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const;
    };
    struct NameEqual {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const;
    };
    struct NameGroup {
        std::string_view name;
        std::uint32_t count[2];
        std::uint32_t start[2];
        std::size_t slot;
        bool ignored;
    };
    struct Occurrence {
        std::uint32_t group;
        std::string_view line;
    };

    bool Takes(std::string_view line) const;
    bool ValuesEqual(std::string_view a, std::string_view b) const;
    bool SameInOrder(const prov::ComponentNode* first, const prov::ComponentNode* second) const;
    void Arrange(const prov::ComponentNode* first, const prov::ComponentNode* second);
    std::uint32_t GroupOf(std::string_view name);
    void ClearGroups();

    std::unordered_set<std::string, NameHash, NameEqual> ignored_;
    bool ignoreValueCase_;
    std::vector<NameGroup> groups_;
    // Open addressing over the names of one pair: a group's index + 1, 0 free.
    std::vector<std::uint32_t> slots_;
    std::vector<Occurrence> occurrences_[2];
    // Each side's lines arranged group by group, each group's in file order.
    std::vector<std::string_view> byGroup_[2];
};

// The side-by-side rows of one pair, as AttributeMatcher::Rows gives them.
std::vector<AttributeRow> CompareAttributes(const prov::ComponentNode* first, const prov::ComponentNode* second,
                                            const CompareOptions& options);

}  // namespace oryx::compare
