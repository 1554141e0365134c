#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "reports/report_column.h"
#include "reports/report_rows.h"

namespace oryx::prov {
class ComponentStore;
}

namespace oryx::reports {

// The fixed reports, in the order of the report menu.
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

// Hands a report's rows to `rows`, reading the store and never changing it.
using RowBuilder = void (*)(const prov::ComponentStore& store, RowSink& rows);

// One fixed report. Everything that knows the fixed reports (the menus, the
// report panel, the taskbar's check marks, oryx-cli) walks this table, so a
// new report is its builder plus one entry here.
struct ReportInfo {
    ReportId id;
    int code;                  // the number the windows know the report by
    std::string_view cliName;  // NAME of `oryx-cli report NAME FILE`
    std::string_view title;    // the report's heading, also in its CSV file name
    std::span<const ColumnInfo> columns;
    RowBuilder build;
    // True for a report that can fail part-way (the Overview, on a number it
    // cannot read): it hands on no row before all of them are made.
    bool canFail;
};

// Every fixed report, in menu order (the order of ReportId).
std::span<const ReportInfo> FixedReports();
const ReportInfo& Report(ReportId id);
std::optional<ReportId> ReportByCode(int code);
std::optional<ReportId> ReportByCliName(std::string_view cliName);

// Runs the builder of `id`. Only the Overview can fail: it throws ReportError
// and leaves in `rows` what it had appended so far, which the window shows.
// Running out of memory leaves `rows` empty and throws ReportError("not
// enough memory to build the NAME report"), NAME being the command-line name.
void BuildReportRows(ReportId id, const prov::ComponentStore& store, ReportRows& rows);
// Runs the builder of `id`, handing each row to `rows` as it is made. A report
// that can fail hands on its rows only once all are made, and none when it
// fails. Running out of memory throws ReportError as above, possibly after
// some rows.
void StreamReportRows(ReportId id, const prov::ComponentStore& store, RowSink& rows);

// The order in which `oryx-cli --help` names the reports.
std::span<const ReportId> CliHelpOrder();
// The order in which the report panel clears the report check marks.
std::span<const ReportId> CheckMarkClearingOrder();

// The custom reports' two columns.
std::span<const ColumnInfo> CustomReportColumns();

}  // namespace oryx::reports
