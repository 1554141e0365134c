#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "reports/report_registry.h"
#include "reports/report_rows.h"

namespace oryx::cli {

enum class TableFormat { Csv, Tsv, Json };

// "csv", "tsv" or "json"; nullopt for anything else.
std::optional<TableFormat> TableFormatByName(std::string_view name);

// Writes report rows as one table, possibly gathered from several files:
// Opening(), then pieces of rows from AppendRows (each non-empty piece
// preceded by BeforePiece), then Closing(). Pieces can be made on any thread.
//
// csv: the export file's bytes. tsv: the same lines with cells separated by
// TAB, nothing quoted, TAB, CR and LF inside a cell turned into blanks. json:
// an array of objects keyed by the captions, every value a string, as
// nlohmann's dump(2) writes it, followed by LF; bytes that are not UTF-8 are
// read as Latin-1, so the output is always valid JSON.
class TableFormatter final {
public:
    // With `fileColumn`, "File" comes before the report's columns and every
    // row starts with the name of its file.
    TableFormatter(TableFormat format, std::span<const reports::ColumnInfo> columns, bool fileColumn);

    std::string Opening() const;
    // The rows of `file`; `file` is written only with the file column.
    void AppendRows(const reports::ReportRows& rows, std::string_view file, std::string& out) const;
    // One row of such a piece; `firstOfPiece` for the piece's first row.
    void AppendRow(const reports::ReportRow& row, std::string_view file, bool firstOfPiece, std::string& out) const;
    std::string_view BeforePiece(bool firstPiece) const;
    std::string_view Closing(bool anyRows) const;

private:
    TableFormat format_;
    bool fileColumn_;
    std::vector<reports::ColumnInfo> columns_;  // "File" included
    std::vector<std::string> jsonKeys_;
};

// The bytes as UTF-8: valid UTF-8 sequences are kept, every other byte is
// taken as a Latin-1 character.
std::string Utf8FromBytes(std::string_view bytes);

}  // namespace oryx::cli
