#pragma once

#include <string>
#include <vector>

namespace oryx::reports {

// One row of a report list: the item's caption and one further cell per
// column after the first. Every report fills every column; an empty value is
// an empty cell, never a missing one. Texts are the file's bytes.
struct ReportRow {
    std::string first;
    std::vector<std::string> cells;

    bool operator==(const ReportRow&) const = default;
};

using ReportRows = std::vector<ReportRow>;

}  // namespace oryx::reports
