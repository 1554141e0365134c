#include "compare/difference_listing.h"

#include <string>
#include <vector>

#include "compare/difference_walk.h"

namespace oryx::compare {
namespace {

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

}  // namespace

void ForEachListedDifference(const Comparison& comparison, const DifferenceSelection* selection,
                             const ListedVisitor& visit) {
    AttributeMatcher matcher(comparison.Options());
    std::vector<AttributeRow> rows;
    ForEachDifference(comparison, [&](Comparison::Index i, std::string_view path) {
        if (selection && !selection->KeepsComponent(i)) return;
        const ComparedComponent node = comparison[i];
        if (node.change != Change::Changed) {
            visit({i, path, node, {}});
            return;
        }
        matcher.Rows(node.first, node.second, rows);
        std::erase_if(rows, [selection](const AttributeRow& row) {
            return !row.Differs() || (selection && !selection->KeepsAttribute(row.name));
        });
        if (!rows.empty()) visit({i, path, node, rows});
    });
}

DiffSummary CountListed(const Comparison& comparison, const DifferenceSelection* selection) {
    if (!selection) return comparison.Summary();
    DiffSummary summary;
    ForEachListedDifference(comparison, selection, [&summary](const ListedDifference& difference) {
        switch (difference.node.change) {
        case Change::Added: ++summary.added; break;
        case Change::Removed: ++summary.removed; break;
        case Change::Changed: ++summary.changed; break;
        case Change::Same: break;
        }
    });
    return summary;
}

void AppendDifferenceText(const ListedDifference& difference, ChunkedOutput& out) {
    const ComparedComponent& node = difference.node;
    if (node.change != Change::Changed) {
        out << (node.change == Change::Added ? "+ " : "- ") << difference.path;
        if (node.beneath > 0)
            out << "  (" << std::to_string(node.beneath)
                << (node.beneath == 1 ? " component beneath)" : " components beneath)");
        out << "\n";
        return;
    }
    out << "~ " << difference.path << "\n";
    for (const AttributeRow& row : difference.rows) {
        if (row.change == AttributeChange::Changed || row.change == AttributeChange::Removed)
            out << "  - " << row.name << "=" << row.first << "\n";
        if (row.change == AttributeChange::Changed || row.change == AttributeChange::Added)
            out << "  + " << row.name << "=" << row.second << "\n";
    }
}

void AppendQuotedField(std::string_view text, ChunkedOutput& out) {
    out << "\"";
    for (std::size_t quote = text.find('"'); quote != std::string_view::npos; quote = text.find('"')) {
        out << text.substr(0, quote + 1) << "\"";
        text.remove_prefix(quote + 1);
    }
    out << text << "\"";
}

void ForEachDifferenceRow(const ListedDifference& difference, const DifferenceRowVisitor& visit) {
    if (difference.node.change != Change::Changed) {
        visit(difference.node.change == Change::Added ? "added" : "removed", {}, {}, {});
        return;
    }
    for (const AttributeRow& row : difference.rows) visit(ChangeWord(row.change), row.name, row.first, row.second);
}

void AppendDifferenceCsv(const ListedDifference& difference, std::string_view rowStart, ChunkedOutput& out) {
    ForEachDifferenceRow(difference, [&](std::string_view change, std::string_view attribute, std::string_view oldValue,
                                         std::string_view newValue) {
        out << rowStart;
        AppendQuotedField(change, out);
        for (std::string_view field : {difference.path, attribute, oldValue, newValue}) {
            out << ",";
            AppendQuotedField(field, out);
        }
        out << "\r\n";
    });
}

}  // namespace oryx::compare
