#pragma once

#include <optional>
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

// One of the report panel's lists: a fixed report's, the custom reports', or
// the Problems list of the file's findings.
// "No report" is an empty std::optional<PanelReport>.
class PanelReport {
public:
    // A fixed report's list; implicit, so a ReportId names its list.
    constexpr PanelReport(reports::ReportId id) : fixed_(id) {}  // NOLINT(google-explicit-constructor)
    static constexpr PanelReport Custom() { return PanelReport(Kind::Custom); }
    static constexpr PanelReport Problems() { return PanelReport(Kind::Problems); }

    constexpr std::optional<reports::ReportId> Fixed() const { return fixed_; }
    // The panel's "current report number" for the list: the fixed report's
    // code, 10 for the custom reports', 11 for the Problems list.
    int Code() const;

    constexpr bool operator==(const PanelReport&) const = default;

private:
    enum class Kind { Fixed, Custom, Problems };
    explicit constexpr PanelReport(Kind kind) : kind_(kind) {}
    Kind kind_ = Kind::Fixed;
    std::optional<reports::ReportId> fixed_;
};

}  // namespace oryx::doc
