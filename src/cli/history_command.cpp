#include "cli/history_command.h"

#include <cerrno>
#include <optional>
#include <string>
#include <vector>

#include "cli/arg_parser.h"
#include "cli/diff_command.h"
#include "cli/input_files.h"
#include "cli/table_formats.h"
#include "compare/chunked_output.h"
#include "compare/comparison.h"
#include "compare/diff_output.h"
#include "compare/difference_listing.h"
#include "history/change_filter.h"
#include "history/value_table.h"
#include "history/version_stream.h"
#include "prov/component_store.h"
#include "prov/file_error.h"
#include "reports/fixed_reports.h"
#include "search/component_path.h"
#include "text/message_value.h"

namespace oryx::cli {
namespace {

enum class HistoryFormat { Text, Csv, Tsv, Json };

struct HistoryRequest {
    Args inputs;
    bool recursive = false;
    compare::CompareOptions options;
    history::ChangeFilter filter;
    std::optional<HistoryFormat> format;
    bool values = false;
};

// Options may stand anywhere among the files.
HistoryRequest ParseHistoryArgs(const Args& args) {
    HistoryRequest request;
    std::optional<std::string> format;
    ArgParser parser("history");
    parser.Value("--path", request.filter.path, "a component path")
        .Flag("--below", request.filter.below)
        .Repeated("--attr", request.filter.attributes, "an attribute name")
        .Repeated("--ignore", request.options.ignoredNames, "an attribute name")
        .Flag("--ignore-case", request.options.ignoreValueCase)
        .Flag("--values", request.values)
        .Flag("--recursive", request.recursive)
        .Value("--format", format, "text, csv, tsv or json");
    request.inputs = parser.Parse(args);
    if (format) {
        if (*format == "text")
            request.format = HistoryFormat::Text;
        else if (*format == "csv")
            request.format = HistoryFormat::Csv;
        else if (*format == "tsv")
            request.format = HistoryFormat::Tsv;
        else if (*format == "json")
            request.format = HistoryFormat::Json;
        else
            throw UsageError{"unknown format '" + text::MessageValue(*format) + "' (text, csv, tsv or json)"};
    }
    if (request.filter.below && !request.filter.path) throw UsageError{"--below needs --path"};
    if (request.values) {
        if (!request.filter.path) throw UsageError{"--values needs --path"};
        if (request.filter.below || !request.filter.attributes.empty())
            throw UsageError{"--values takes neither --below nor --attr"};
        if (request.format == HistoryFormat::Text) throw UsageError{"--values writes csv, tsv or json"};
    }
    return request;
}

// The files of the series; a folder that cannot be listed ends it, and its
// message is given when the series reaches it.
struct Series {
    std::vector<std::string> files;
    std::string holeMessage;
};

Series ListSeries(const HistoryRequest& request) {
    Series series;
    for (InputFile& file : ListInputFiles(request.inputs, request.recursive).files) {
        if (!file.error.empty()) {
            series.holeMessage = std::move(file.error);
            break;
        }
        series.files.push_back(std::move(file.path));
    }
    const std::size_t least = request.values ? 1 : 2;
    if (series.files.size() < least && series.holeMessage.empty())
        throw UsageError{request.values ? "history takes one FILE or more" : "history takes two FILEs or more"};
    return series;
}

std::string NodeName(const prov::ComponentStore& store) {
    reports::ReportRows rows;
    reports::BuildNodeSummaryRows(store, rows);
    for (const reports::ReportRow& row : rows)
        if (row.First() == "nodeName" && row.CellCount() > 0) return std::string(row.Cell(0));
    return {};
}

// Notes on stderr where a version is of another node than the one before.
class NodeNameCheck final {
public:
    void Check(const history::VersionStream& stream) {
        std::string name = NodeName(stream.Current());
        if (stream.CurrentIndex() > 0 && name != name_)
            PrintError("versions of different nodes: '" + text::MessageValue(name_) + "' in " +
                       text::MessageValue(file_) + ", '" + text::MessageValue(name) + "' in " +
                       text::MessageValue(stream.CurrentFile()));
        name_ = std::move(name);
        file_ = stream.CurrentFile();
    }

private:
    std::string name_;
    std::string file_;
};

// Stdout for a run that may stop part-way: what was written stays.
class SeriesOutput final {
public:
    SeriesOutput() : out_(sink_) {}
    compare::ChunkedOutput& Out() { return out_; }
    // False once a write has failed.
    bool Flush() {
        out_.Flush();
        return ok_;
    }
    int Failure() const { return WriteFailure("history", error_); }

private:
    bool ok_ = true;
    int error_ = 0;
    const compare::DiffSink sink_ = [this](std::string_view text) {
        if (ok_ && !WriteStdout(text)) {
            ok_ = false;
            error_ = errno;
        }
    };
    compare::ChunkedOutput out_;
};

constexpr reports::ColumnInfo kChangeColumns[] = {{"from", 0},      {"to", 0},  {"change", 0}, {"path", 0},
                                                  {"attribute", 0}, {"old", 0}, {"new", 0}};

TableFormat TableFormatOf(HistoryFormat format) {
    return format == HistoryFormat::Tsv    ? TableFormat::Tsv
           : format == HistoryFormat::Json ? TableFormat::Json
                                           : TableFormat::Csv;
}

// Writes the differences of one pair and gives their counts.
class PairWriter final {
public:
    PairWriter(HistoryFormat format, compare::ChunkedOutput& out)
        : format_(format), out_(out), table_(TableFormatOf(format), kChangeColumns, false) {}

    void Opening() {
        if (format_ == HistoryFormat::Csv) {
            for (const reports::ColumnInfo& column : kChangeColumns) {
                if (&column != kChangeColumns) out_ << ",";
                compare::AppendQuotedField(column.caption, out_);
            }
            out_ << "\r\n";
        } else if (format_ != HistoryFormat::Text) {
            out_ << table_.Opening();
        }
    }
    void Closing() {
        if (format_ == HistoryFormat::Tsv || format_ == HistoryFormat::Json) out_ << table_.Closing(anyRows_);
    }

    compare::DiffSummary Write(const compare::Comparison& comparison, const compare::DifferenceSelection* selection,
                               const std::string& older, const std::string& newer) {
        compare::DiffSummary summary;
        if (format_ == HistoryFormat::Text) {
            summary = compare::CountListed(comparison, selection);
            out_ << "== " << text::MessageValue(older) << " -> " << text::MessageValue(newer) << ": "
                 << compare::SummaryLine(summary) << "\n";
        }
        std::string rowStart;
        if (format_ == HistoryFormat::Csv) {
            const compare::DiffSink collect = [&rowStart](std::string_view piece) { rowStart += piece; };
            compare::ChunkedOutput start(collect);
            compare::AppendQuotedField(older, start);
            start << ",";
            compare::AppendQuotedField(newer, start);
            start << ",";
            start.Flush();
        }
        compare::ForEachListedDifference(comparison, selection, [&](const compare::ListedDifference& difference) {
            switch (format_) {
            case HistoryFormat::Text: compare::AppendDifferenceText(difference, out_); return;
            case HistoryFormat::Csv: compare::AppendDifferenceCsv(difference, rowStart, out_); break;
            case HistoryFormat::Tsv:
            case HistoryFormat::Json: AddRows(difference, older, newer); break;
            }
            Count(difference, summary);
        });
        WriteRows();
        return summary;
    }

private:
    static void Count(const compare::ListedDifference& difference, compare::DiffSummary& summary) {
        switch (difference.node.change) {
        case compare::Change::Added: ++summary.added; break;
        case compare::Change::Removed: ++summary.removed; break;
        case compare::Change::Changed: ++summary.changed; break;
        case compare::Change::Same: break;
        }
    }

    void AddRows(const compare::ListedDifference& difference, const std::string& older, const std::string& newer) {
        compare::ForEachDifferenceRow(difference, [&](std::string_view change, std::string_view attribute,
                                                      std::string_view oldValue, std::string_view newValue) {
            rows_.emplace_back(older, std::initializer_list<std::string_view>{newer, change, difference.path, attribute,
                                                                              oldValue, newValue});
        });
        if (rows_.size() >= 4096) WriteRows();
    }

    void WriteRows() {
        if (rows_.empty()) return;
        std::string piece(table_.BeforePiece(!anyRows_));
        table_.AppendRows(rows_, {}, piece);
        out_ << piece;
        anyRows_ = true;
        rows_.clear();
    }

    HistoryFormat format_;
    compare::ChunkedOutput& out_;
    TableFormatter table_;
    reports::ReportRows rows_;
    bool anyRows_ = false;
};

int RunChanges(const HistoryRequest& request, const Series& series) {
    SeriesOutput output;
    PairWriter writer(request.format.value_or(HistoryFormat::Text), output.Out());
    writer.Opening();
    history::VersionStream stream(series.files);
    NodeNameCheck names;
    bool changed = false;
    try {
        while (stream.Advance()) {
            names.Check(stream);
            if (!stream.Previous()) continue;
            const compare::Comparison comparison(*stream.Previous(), stream.Current(), request.options);
            std::optional<history::FilteredDifferences> filtered;
            if (request.filter.Narrows()) filtered.emplace(comparison, request.filter);
            const compare::DiffSummary summary =
                writer.Write(comparison, filtered ? &*filtered : nullptr, series.files[stream.CurrentIndex() - 1],
                             stream.CurrentFile());
            changed = changed || !summary.Equal();
            if (!output.Flush()) return output.Failure();
        }
    } catch (const prov::FileError& e) {
        PrintError(e.what());
        return kExitFailure;
    }
    if (!series.holeMessage.empty()) {
        PrintError(series.holeMessage);
        return kExitFailure;
    }
    writer.Closing();
    if (!output.Flush()) return output.Failure();
    return changed ? kExitDiffer : kExitOk;
}

int RunValues(const HistoryRequest& request, const Series& series) {
    history::ValueTable table(request.options.ignoredNames);
    history::VersionStream stream(series.files);
    NodeNameCheck names;
    try {
        while (stream.Advance()) {
            stream.ReleasePrevious();
            names.Check(stream);
            table.AddVersion(
                search::FindComponentAtPath(stream.Current(), *request.filter.path, search::QueryText::Bytes));
        }
    } catch (const prov::FileError& e) {
        PrintError(e.what());
        return kExitFailure;
    }
    if (!series.holeMessage.empty()) {
        PrintError(series.holeMessage);
        return kExitFailure;
    }

    std::vector<reports::ColumnInfo> columns{{"Attribute", 0}};
    for (const std::string& file : series.files) columns.push_back({file, 0});
    const TableFormatter formatter(TableFormatOf(request.format.value_or(HistoryFormat::Csv)), columns, false);
    reports::ReportRows rows;
    for (history::ValueTable::Row& row : table.TakeRows()) {
        reports::ReportRow& out = rows.emplace_back(row.name);
        for (const std::string& cell : row.cells) out.AddCell(cell);
    }
    Output out;
    out.Append(formatter.Opening());
    if (!rows.empty()) {
        out.Append(formatter.BeforePiece(true));
        formatter.AppendRows(rows, {}, out.Text());
    }
    out.Append(formatter.Closing(!rows.empty()));
    return out.Commit() ? kExitOk : WriteFailure("history", errno);
}

}  // namespace

int RunHistory(const Args& args) {
    const HistoryRequest request = ParseHistoryArgs(args);
    const Series series = ListSeries(request);
    return request.values ? RunValues(request, series) : RunChanges(request, series);
}

}  // namespace oryx::cli
