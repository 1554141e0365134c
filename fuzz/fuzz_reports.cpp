// Builds every report over the node read from arbitrary bytes: the eight
// fixed reports and the custom reports of a configuration. The bytes up to
// the first NUL are the provisioning file, the bytes after it the report
// configuration (without a NUL, the sample configuration's kind of rows).
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "prov/component_store.h"
#include "prov/reader.h"
#include "reports/column_widths.h"
#include "reports/csv_export.h"
#include "reports/custom_report.h"
#include "reports/fixed_reports.h"
#include "reports/report_config.h"
#include "reports/report_error.h"

namespace {

using oryx::fuzz::Require;
using namespace oryx::reports;

constexpr std::string_view kDefaultConfig =
    "[Node]\nName=Mod &nodename\nCard=Shelf Card/0 &cardtype\nAtm=AtmIf/1 &interfacename\n"
    "Vcc=AtmIf/1 Vcc/0.32 &atmconnection\nDeep=add Lp/0 E1/0 &\n";
// Keeps one input's work bounded: reports are built once per section.
constexpr std::size_t kMostSections = 16;

// What the panel and the export do with a report's rows.
void UseRows(std::span<const ColumnInfo> columns, const ReportRows& rows) {
    for (const ReportRow& row : rows) Require(row.CellCount() + 1 == columns.size(), "every row fills every column");
    std::size_t bytes = 0;
    WriteCsv(columns, rows, [&](std::string_view piece) { bytes += piece.size(); });
    AutoSizeColumns(rows, columns.size(), [](std::string_view text) { return static_cast<int>(text.size()); });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = oryx::fuzz::Bytes(data, size);
    const std::size_t nul = bytes.find('\0');
    oryx::prov::ComponentStore store;
    oryx::prov::ReadProvisioningFile(oryx::fuzz::InputFile(bytes.substr(0, nul)), store);

    for (const ReportInfo& info : FixedReports()) {
        ReportRows rows;
        try {
            BuildReportRows(info.id, store, rows);
        } catch (const ReportError&) {
            // The Overview stops at a value that is no integer, keeping what it built.
        }
        UseRows(info.columns, rows);
    }

    const ReportConfig config =
        ReportConfig::Parse(nul == std::string_view::npos ? kDefaultConfig : bytes.substr(nul + 1));
    const std::vector<std::string> sections = CustomReportMenuNames(config);
    for (std::size_t i = 0; i < sections.size() && i < kMostSections; ++i) {
        ReportRows rows;
        BuildCustomReportRows(store, config, sections[i], rows);
        Require(rows.size() == config.KeyNames(sections[i]).size(), "one row per key");
        UseRows(CustomReportColumns(), rows);
    }
    return 0;
}
