#pragma once

#include <functional>
#include <span>
#include <string_view>

#include "compare/attribute_comparison.h"
#include "compare/chunked_output.h"
#include "compare/comparison.h"

namespace oryx::compare {

// Narrows a listing of differences to some components and attributes.
class DifferenceSelection {
public:
    virtual ~DifferenceSelection() = default;
    // Whether the reported difference `i` is listed at all.
    virtual bool KeepsComponent(Comparison::Index i) const = 0;
    // Whether an attribute difference of this name is listed.
    virtual bool KeepsAttribute(std::string_view name) const = 0;
};

// One listed difference: an added or removed component, or a changed one
// with the attribute rows that differ (and are kept; never none).
struct ListedDifference {
    Comparison::Index index;
    std::string_view path;
    ComparedComponent node;
    std::span<const AttributeRow> rows;
};

using ListedVisitor = std::function<void(const ListedDifference&)>;

// The reported differences in the order `oryx-cli diff` lists them, all of
// them without a selection.
void ForEachListedDifference(const Comparison& comparison, const DifferenceSelection* selection,
                             const ListedVisitor& visit);

// The counts of what ForEachListedDifference lists.
DiffSummary CountListed(const Comparison& comparison, const DifferenceSelection* selection);

// The lines of the text form for one difference.
void AppendDifferenceText(const ListedDifference& difference, ChunkedOutput& out);

// A CSV field as the differences' CSV writes every field: in double quotes,
// a double quote inside doubled.
void AppendQuotedField(std::string_view text, ChunkedOutput& out);

// The CSV rows of one difference; `rowStart` (quoted fields and a comma)
// comes before each row's change.
void AppendDifferenceCsv(const ListedDifference& difference, std::string_view rowStart, ChunkedOutput& out);

// The cells of the CSV rows of one difference: change, attribute, old, new.
using DifferenceRowVisitor = std::function<void(std::string_view change, std::string_view attribute,
                                                std::string_view oldValue, std::string_view newValue)>;
void ForEachDifferenceRow(const ListedDifference& difference, const DifferenceRowVisitor& visit);

}  // namespace oryx::compare
