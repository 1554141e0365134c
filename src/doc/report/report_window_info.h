#pragma once

#include <span>

#include "reports/report_registry.h"

namespace oryx::doc {

// How the windows present one fixed report: its menu item, its list in the
// report panel, and what the panel does differently for it. One entry per
// entry of reports::FixedReports(), in the same order.
struct ReportWindowInfo {
    reports::ReportId id;
    const char* menuItemName;  // object name of the report menu's item
    const char* menuCaption;   // the item's text
    const char* menuHint;      // the item's status-bar hint
    const char* listViewName;  // object name of the report's list
    bool showsRecordCount;     // "Number of Records : n" under the title
    bool editableFirstCell;    // the list lets the user edit its first cells
    const char* busyCaption;   // the document window's caption while the rows are built, or null
};

std::span<const ReportWindowInfo> ReportWindowTable();
const ReportWindowInfo& ReportWindow(reports::ReportId id);

// The report panel's "current report number": a fixed report's code, or these.
inline constexpr int kNoReportCode = 0;
inline constexpr int kCustomReportCode = 10;
inline constexpr int kProblemsReportCode = 11;

}  // namespace oryx::doc
