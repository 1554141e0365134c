#pragma once

#include "check/file_problems.h"
#include "reports/report_rows.h"

namespace oryx::doc {

// The Problems list's rows: one per finding, its cells as the check listing
// writes them.
reports::ReportRows ProblemRows(const check::FileProblems& problems);

}  // namespace oryx::doc
