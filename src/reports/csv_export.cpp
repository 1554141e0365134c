#include "reports/csv_export.h"

namespace oryx::reports {

namespace {

void WriteQuoted(std::string_view text, const CsvSink& sink) {
    sink("\"");
    std::size_t start = 0;
    for (std::size_t quote = text.find('"'); quote != std::string_view::npos; quote = text.find('"', start)) {
        sink(text.substr(start, quote + 1 - start));
        sink("\"");
        start = quote + 1;
    }
    sink(text.substr(start));
    sink("\"");
}

bool NeedsQuotes(std::string_view text) { return text.find_first_of(",\"\r\n") != std::string_view::npos; }

}  // namespace

void WriteCsvHeader(std::span<const ColumnInfo> columns, const CsvSink& sink) {
    for (std::size_t c = 0; c < columns.size(); ++c) {
        if (c > 0) sink(",");
        WriteQuoted(columns[c].caption, sink);
    }
    sink("\r\n");
}

void WriteCsvFirstCell(std::string_view text, const CsvSink& sink) {
    if (NeedsQuotes(text)) {
        WriteQuoted(text, sink);
    } else {
        sink(text);
    }
}

void WriteCsvRow(const ReportRow& row, const CsvSink& sink) {
    WriteCsvFirstCell(row.First(), sink);
    for (std::string_view cell : row.Cells()) {
        sink(",");
        WriteQuoted(cell, sink);
    }
    sink("\r\n");
}

void WriteCsv(std::span<const ColumnInfo> columns, const ReportRows& rows, const CsvSink& sink) {
    WriteCsvHeader(columns, sink);
    for (const ReportRow& row : rows) WriteCsvRow(row, sink);
}

void WriteCsvAllQuoted(std::span<const ColumnInfo> columns, const ReportRows& rows, const CsvSink& sink) {
    WriteCsvHeader(columns, sink);
    for (const ReportRow& row : rows) {
        WriteQuoted(row.First(), sink);
        for (std::string_view cell : row.Cells()) {
            sink(",");
            WriteQuoted(cell, sink);
        }
        sink("\r\n");
    }
}

std::string_view ProposedFileBase(std::string_view documentPath) {
    std::string_view base = documentPath;
    const std::size_t separator = base.find_last_of("/\\");
    if (separator != std::string_view::npos) base.remove_prefix(separator + 1);
    const std::size_t dot = base.rfind('.');
    if (dot != std::string_view::npos) base = base.substr(0, dot);
    return base;
}

std::string ProposedCsvFileName(std::string_view documentPath, std::string_view title) {
    std::string name(ProposedFileBase(documentPath));
    name += " - ";
    for (char c : title) name += (c == '/' || c == '\\') ? '_' : c;
    name += ".csv";
    return name;
}

}  // namespace oryx::reports
