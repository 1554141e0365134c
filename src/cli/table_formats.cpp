#include "cli/table_formats.h"

#include <nlohmann/json.hpp>

#include "reports/csv_export.h"

namespace oryx::cli {

namespace {

constexpr reports::ColumnInfo kFileColumn{"File", 0};

void AppendTsvCell(std::string_view cell, std::string& out) {
    for (char c : cell) out += (c == '\t' || c == '\r' || c == '\n') ? ' ' : c;
}

// The length of the valid UTF-8 sequence at the start of `bytes`, 0 if there
// is none (overlong forms, surrogates and code points past U+10FFFF included).
std::size_t Utf8SequenceLength(std::string_view bytes) {
    const auto byte = [&bytes](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (bytes.size() < length) return 0;
    if (byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
    }
    return length;
}

}  // namespace

std::string Utf8FromBytes(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    while (!bytes.empty()) {
        const std::size_t length = Utf8SequenceLength(bytes);
        if (length > 0) {
            text.append(bytes.substr(0, length));
            bytes.remove_prefix(length);
            continue;
        }
        const auto latin1 = static_cast<unsigned char>(bytes.front());
        text += static_cast<char>(0xC0 | (latin1 >> 6));
        text += static_cast<char>(0x80 | (latin1 & 0x3F));
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
    switch (format_) {
    case TableFormat::Csv: {
        const reports::CsvSink sink = [&out](std::string_view piece) { out += piece; };
        for (const reports::ReportRow& row : rows) {
            if (fileColumn_) {
                reports::WriteCsvFirstCell(file, sink);
                out += ',';
            }
            reports::WriteCsvRow(row, sink);
        }
        break;
    }
    case TableFormat::Tsv:
        for (const reports::ReportRow& row : rows) {
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
        }
        break;
    case TableFormat::Json:
        for (const reports::ReportRow& row : rows) {
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
            if (&row != &rows.front()) out += ",\n";
            // The object as an element of the array dump(2) writes: every
            // line indented once more. Strings hold no raw line ends.
            out += "  ";
            for (char c : object.dump(2)) {
                out += c;
                if (c == '\n') out += "  ";
            }
        }
        break;
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
