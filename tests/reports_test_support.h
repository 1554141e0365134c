#pragma once

// Shared helpers of the report tests: a store read from inline provisioning
// text, and a report's rows as the CSV text the user would export.
#include <span>
#include <string>
#include <string_view>

#include "prov/component_store.h"
#include "prov/reader.h"
#include "reports/csv_export.h"
#include "reports/fixed_reports.h"
#include "test_files.h"

namespace oryx::reports::test {

using oryx::testing::Crlf;
// A private folder, removed with everything in it.
using ScratchDir = oryx::testing::TempDir;

// The store of a provisioning file with exactly these bytes.
struct LoadedStore {
    ScratchDir dir;
    prov::ComponentStore store;
    explicit LoadedStore(std::string_view bytes) { prov::ReadProvisioningFile(dir.Write("node.txt", bytes), store); }
};

// The store of a start-prov file holding `lines` after its first line.
inline std::string StartProv(std::string_view lines) { return "start prov\n" + std::string(lines); }

// The CSV bytes of a report's rows, as the export file holds them.
inline std::string CsvText(std::span<const ColumnInfo> columns, const ReportRows& rows) {
    std::string text;
    WriteCsv(columns, rows, [&text](std::string_view piece) { text += piece; });
    return text;
}

// The CSV export of report `id` over a start-prov file holding `lines`.
inline std::string ReportCsv(ReportId id, std::string_view lines) {
    LoadedStore loaded(StartProv(lines));
    ReportRows rows;
    BuildReportRows(id, loaded.store, rows);
    return CsvText(Report(id).columns, rows);
}

}  // namespace oryx::reports::test
