#include "compare/diff_output.h"

#include <vector>

#include "compare/attribute_comparison.h"
#include "compare/chunked_output.h"
#include "compare/difference_walk.h"

namespace oryx::compare {
namespace {

void Field(ChunkedOutput& out, std::string_view text) {
    out << "\"";
    for (std::size_t quote = text.find('"'); quote != std::string_view::npos; quote = text.find('"')) {
        out << text.substr(0, quote + 1) << "\"";
        text.remove_prefix(quote + 1);
    }
    out << text << "\"";
}

void Row(ChunkedOutput& out, std::string_view change, std::string_view path, std::string_view attribute,
         std::string_view oldValue, std::string_view newValue) {
    Field(out, change);
    for (std::string_view field : {path, attribute, oldValue, newValue}) {
        out << ",";
        Field(out, field);
    }
    out << "\r\n";
}

std::string_view ChangeWord(AttributeChange change) {
    switch (change) {
    case AttributeChange::Changed: return "changed";
    case AttributeChange::Removed: return "removed";
    case AttributeChange::Added: return "added";
    case AttributeChange::Same:
    case AttributeChange::Ignored: break;
    }
    return {};
}

std::string_view BaseName(std::string_view path) {
    const std::size_t separator = path.find_last_of("/\\");
    if (separator != std::string_view::npos) path.remove_prefix(separator + 1);
    return path.substr(0, path.rfind('.'));
}

}  // namespace

void WriteDiffCsv(const Comparison& comparison, const DiffSink& sink) {
    ChunkedOutput out(sink);
    AttributeMatcher matcher(comparison.Options());
    std::vector<AttributeRow> rows;
    out << "\"change\",\"path\",\"attribute\",\"old\",\"new\"\r\n";
    ForEachDifference(comparison, [&](Comparison::Index i, std::string_view path) {
        const ComparedComponent node = comparison[i];
        if (node.change != Change::Changed) {
            Row(out, node.change == Change::Added ? "added" : "removed", path, {}, {}, {});
            return;
        }
        matcher.Rows(node.first, node.second, rows);
        for (const AttributeRow& row : rows)
            if (row.Differs()) Row(out, ChangeWord(row.change), path, row.name, row.first, row.second);
    });
    out.Flush();
}

std::string ProposedDiffCsvFileName(std::string_view firstPath, std::string_view secondPath) {
    std::string name(BaseName(firstPath));
    name += " vs ";
    name += BaseName(secondPath);
    name += ".csv";
    return name;
}

}  // namespace oryx::compare
