#include "doc/problems/problem_rows.h"

#include <initializer_list>
#include <string_view>

#include "check/finding_row.h"

namespace oryx::doc {

reports::ReportRows ProblemRows(const check::FileProblems& problems) {
    reports::ReportRows rows;
    rows.reserve(problems.findings.size());
    check::LineDigits line;
    for (const check::Finding& finding : problems.findings) {
        const auto cells = check::FindingCellViews(finding, line);
        rows.emplace_back(cells[0], std::initializer_list<std::string_view>{cells[1], cells[2], cells[3], cells[4]});
    }
    return rows;
}

}  // namespace oryx::doc
