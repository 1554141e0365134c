#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "reports/report_column.h"
#include "reports/report_rows.h"

namespace oryx::reports {

// Receives the CSV bytes in pieces of any size.
using CsvSink = std::function<void(std::string_view)>;

// Writes the export file's bytes: a header line of quoted captions, then one
// line per row, every line ended by CR LF, no byte-order mark. Further cells
// are always quoted; the first cell is written bare unless it holds a comma,
// a double quote, CR or LF. A double quote inside a quoted text is doubled,
// so every reader gets back the cells as they were.
void WriteCsv(std::span<const ColumnInfo> columns, const ReportRows& rows, const CsvSink& sink);

// The pieces of WriteCsv, for tables put together from several reports: the
// header line, one row's line, and a text written as a first cell is.
void WriteCsvHeader(std::span<const ColumnInfo> columns, const CsvSink& sink);
void WriteCsvRow(const ReportRow& row, const CsvSink& sink);
void WriteCsvFirstCell(std::string_view text, const CsvSink& sink);
// WriteCsv with the first cells quoted too: a listing whose own first column
// (a file, always bare) was left out writes its further cells so.
void WriteCsvAllQuoted(std::span<const ColumnInfo> columns, const ReportRows& rows, const CsvSink& sink);

// The document's file name without its folder and its last extension, which
// begins the names the save dialogs offer.
std::string_view ProposedFileBase(std::string_view documentPath);

// The file name offered in the save dialog: the document's file name without
// its folder and its last extension, " - ", the report title, ".csv"
// (C:\prov\node17.txt and "AtmIf Report" give "node17 - AtmIf Report.csv").
// Folder separators in the title (a custom report's name may hold them) become
// "_", so the proposal always names a file in the dialog's folder.
std::string ProposedCsvFileName(std::string_view documentPath, std::string_view title);

}  // namespace oryx::reports
