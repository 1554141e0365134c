#include "cli/table_formats.h"

#include <nlohmann/json.hpp>

#include "reports/csv_export.h"
#include "text/utf8.h"

namespace oryx::cli {

namespace {

constexpr reports::ColumnInfo kFileColumn{"File", 0};

void AppendTsvCell(std::string_view cell, std::string& out) {
    for (char c : cell) out += (c == '\t' || c == '\r' || c == '\n') ? ' ' : c;
}

}  // namespace

std::string Utf8FromBytes(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    while (!bytes.empty()) {
        const std::size_t length = text::Utf8SequenceLength(bytes);
        if (length > 0) {
            text.append(bytes.substr(0, length));
            bytes.remove_prefix(length);
            continue;
        }
        text::AppendLatin1AsUtf8(static_cast<unsigned char>(bytes.front()), text);
        bytes.remove_prefix(1);
    }
    return text;
}

std::optional<TableFormat> TableFormatByName(std::string_view name) {
    if (name == "csv") return TableFormat::Csv;
    if (name == "tsv") return TableFormat::Tsv;
    if (name == "json") return TableFormat::Json;
    return std::nullopt;
}

TableFormatter::TableFormatter(TableFormat format, std::span<const reports::ColumnInfo> columns, bool fileColumn)
    : format_(format), fileColumn_(fileColumn) {
    if (fileColumn) columns_.push_back(kFileColumn);
    columns_.insert(columns_.end(), columns.begin(), columns.end());
    if (format == TableFormat::Json) {
        for (const reports::ColumnInfo& column : columns_) jsonKeys_.push_back(Utf8FromBytes(column.caption));
    }
}

std::string TableFormatter::Opening() const {
    if (format_ == TableFormat::Json) return std::string(1, '[');
    std::string text;
    if (format_ == TableFormat::Csv) {
        reports::WriteCsvHeader(columns_, [&text](std::string_view piece) { text += piece; });
        return text;
    }
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        if (c > 0) text += '\t';
        AppendTsvCell(columns_[c].caption, text);
    }
    text += "\r\n";
    return text;
}

void TableFormatter::AppendRows(const reports::ReportRows& rows, std::string_view file, std::string& out) const {
    bool first = true;
    for (const reports::ReportRow& row : rows) {
        AppendRow(row, file, first, out);
        first = false;
    }
}

void TableFormatter::AppendRow(const reports::ReportRow& row, std::string_view file, bool firstOfPiece,
                               std::string& out) const {
    switch (format_) {
    case TableFormat::Csv: {
        const reports::CsvSink sink = [&out](std::string_view piece) { out += piece; };
        if (fileColumn_) {
            reports::WriteCsvFirstCell(file, sink);
            out += ',';
        }
        reports::WriteCsvRow(row, sink);
        break;
    }
    case TableFormat::Tsv:
        if (fileColumn_) {
            AppendTsvCell(file, out);
            out += '\t';
        }
        AppendTsvCell(row.First(), out);
        for (std::string_view cell : row.Cells()) {
            out += '\t';
            AppendTsvCell(cell, out);
        }
        out += "\r\n";
        break;
    case TableFormat::Json: {
        nlohmann::ordered_json object = nlohmann::ordered_json::object();
        std::size_t key = 0;
        if (fileColumn_) object[jsonKeys_[key++]] = Utf8FromBytes(file);
        object[jsonKeys_[key++]] = Utf8FromBytes(row.First());
        auto cell = row.Cells().begin();
        const auto end = row.Cells().end();
        // A row short of cells shows empty values, as the report list would.
        for (; key < jsonKeys_.size(); ++key) {
            object[jsonKeys_[key]] = cell == end ? std::string() : Utf8FromBytes(*cell++);
        }
        if (!firstOfPiece) out += ",\n";
        // The object as an element of the array dump(2) writes: every
        // line indented once more. Strings hold no raw line ends.
        out += "  ";
        for (char c : object.dump(2)) {
            out += c;
            if (c == '\n') out += "  ";
        }
        break;
    }
    }
}

std::string_view TableFormatter::BeforePiece(bool firstPiece) const {
    if (format_ != TableFormat::Json) return {};
    return firstPiece ? "\n" : ",\n";
}

std::string_view TableFormatter::Closing(bool anyRows) const {
    if (format_ != TableFormat::Json) return {};
    return anyRows ? "\n]\n" : "]\n";
}

}  // namespace oryx::cli
