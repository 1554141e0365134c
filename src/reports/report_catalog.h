#pragma once

#include <array>
#include <optional>
#include <span>
#include <string_view>

namespace oryx::reports {

// The eight fixed reports, in the order of the report menu.
enum class ReportId {
    AtmIf,
    AtmIfVcc,
    FrAtm,
    FrAtmDlci,
    FrUniDlci,
    NodeSummary,
    Overview,
    VirtualRouter,
};

inline constexpr std::size_t kFixedReportCount = 8;

// The document window's "current report number": 0 is none, 10 a custom
// report; the fixed reports carry the codes of their catalog entries.
inline constexpr int kNoReportCode = 0;
inline constexpr int kCustomReportCode = 10;

// A column of a report list. A design width of 0 means the list's default;
// every column is resized after the rows are built anyway.
struct ColumnInfo {
    std::string_view caption;
    int designWidth = 0;
};

struct ReportInfo {
    ReportId id;
    int code;                       // the window's "current report number"
    std::string_view cliName;       // NAME of `oryx-cli report NAME FILE`
    std::string_view title;         // shown in lblReportName, used in the CSV file name
    std::string_view listViewName;  // ShelfSummaryList, AtmIfListBox, ...
    std::string_view menuItemName;  // miOverviewReport, ...
    std::string_view menuCaption;   // the item's text in the report menu
    std::span<const ColumnInfo> columns;
    bool showsRecordCount;          // false only for the Node Summary
};

// All fixed reports, in menu order (the order of ReportId).
std::span<const ReportInfo> FixedReports();
const ReportInfo& Report(ReportId id);
std::optional<ReportId> ReportByCode(int code);
std::optional<ReportId> ReportByCliName(std::string_view cliName);

// The custom report list: two columns, no menu item of its own, no count.
inline constexpr std::string_view kCustomReportListName = "CustomReportList";
std::span<const ColumnInfo> CustomReportColumns();

// The order in which ResetReportPanel clears the menu check marks.
std::span<const ReportId> CheckMarkClearingOrder();

// Texts of the report panel.
inline constexpr std::string_view kRecordCountPrefix = "Number of Records : ";
inline constexpr std::string_view kOverviewBusyCaption = "Generating Summary...Please Wait";
inline constexpr std::string_view kExportMenuCaption = "E&xport to CSV...";
inline constexpr std::string_view kCloseReportHint = "Close Report";
inline constexpr std::string_view kCsvDefaultExtension = "CSV";
inline constexpr std::string_view kCsvFilter =
    "Comma Separated Files (*.csv)|*.csv|All Files (*.*)|*.*";

}  // namespace oryx::reports
