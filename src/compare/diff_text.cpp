#include "compare/diff_output.h"

#include <vector>

#include "compare/attribute_comparison.h"
#include "compare/chunked_output.h"
#include "compare/difference_walk.h"

namespace oryx::compare {

std::string SummaryLine(const DiffSummary& summary) {
    return std::to_string(summary.added) + " added, " + std::to_string(summary.removed) + " removed, " +
           std::to_string(summary.changed) + " changed";
}

void WriteDiffText(const Comparison& comparison, const DiffSink& sink) {
    ChunkedOutput out(sink);
    AttributeMatcher matcher(comparison.Options());
    std::vector<AttributeRow> rows;
    ForEachDifference(comparison, [&](Comparison::Index i, std::string_view path) {
        const ComparedComponent node = comparison[i];
        if (node.change != Change::Changed) {
            out << (node.change == Change::Added ? "+ " : "- ") << path;
            if (node.beneath > 0)
                out << "  (" << std::to_string(node.beneath)
                    << (node.beneath == 1 ? " component beneath)" : " components beneath)");
            out << "\n";
            return;
        }
        out << "~ " << path << "\n";
        matcher.Rows(node.first, node.second, rows);
        for (const AttributeRow& row : rows) {
            if (row.change == AttributeChange::Changed || row.change == AttributeChange::Removed)
                out << "  - " << row.name << "=" << row.first << "\n";
            if (row.change == AttributeChange::Changed || row.change == AttributeChange::Added)
                out << "  + " << row.name << "=" << row.second << "\n";
        }
    });
    out << SummaryLine(comparison.Summary()) << "\n";
    out.Flush();
}

}  // namespace oryx::compare
