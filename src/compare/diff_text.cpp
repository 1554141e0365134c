#include "compare/diff_output.h"

#include "compare/chunked_output.h"
#include "compare/difference_listing.h"

namespace oryx::compare {

std::string SummaryLine(const DiffSummary& summary) {
    return std::to_string(summary.added) + " added, " + std::to_string(summary.removed) + " removed, " +
           std::to_string(summary.changed) + " changed";
}

void WriteDiffText(const Comparison& comparison, const DiffSink& sink) {
    ChunkedOutput out(sink);
    ForEachListedDifference(comparison, nullptr,
                            [&out](const ListedDifference& difference) { AppendDifferenceText(difference, out); });
    out << SummaryLine(comparison.Summary()) << "\n";
    out.Flush();
}

}  // namespace oryx::compare
