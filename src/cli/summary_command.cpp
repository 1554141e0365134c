#include "cli/summary_command.h"

#include <string>
#include <vector>

#include "cli/arg_parser.h"
#include "cli/multi_file_runner.h"
#include "prov/component_store.h"
#include "prov/reader.h"
#include "reports/fixed_reports.h"
#include "text/hidden_name.h"

namespace oryx::cli {

namespace {

constexpr reports::ColumnInfo kFileColumns[] = {{"File", 0}, {"Format", 0}, {"Lines", 0}, {"Components", 0}};

// Every component below the add node that the tree shows: a hidden one and
// everything below it do not count.
std::size_t CountShownComponents(const prov::ComponentNode* add) {
    if (add == nullptr) return 0;
    std::size_t count = 0;
    std::vector<const prov::ComponentNode*> pending{add};
    while (!pending.empty()) {
        const prov::ComponentNode* node = pending.back();
        pending.pop_back();
        for (const prov::ComponentNode* child : node->Children()) {
            if (text::IsHiddenName(child->Name())) continue;
            ++count;
            pending.push_back(child);
        }
    }
    return count;
}

void BuildSummaryRow(const std::string& fileName, reports::ReportRows& rows) {
    prov::ComponentStore store;
    const prov::FileShape shape = prov::ReadProvisioningFile(fileName, store);
    reports::ReportRows values;
    reports::BuildNodeSummaryRows(store, values);

    reports::ReportRow row(fileName);
    row.AddCell(shape.startProv ? "start-prov" : "configure");
    row.AddCell(std::to_string(shape.lines));
    row.AddCell(std::to_string(CountShownComponents(store.AddNode())));
    for (const reports::ReportRow& value : values) row.AddCell(value.CellCount() > 0 ? value.Cell(0) : "");
    rows.push_back(std::move(row));
}

}  // namespace

int RunSummary(const Args& args) {
    RunOptionArgs given;
    ArgParser parser("summary");
    AddRunOptions(parser, given);
    const Args files = parser.Parse(args);
    const RunOptions options = CheckRunOptions(given);
    if (files.empty()) throw UsageError{"summary takes one FILE or more"};

    // The Node Summary's labels name the further columns; its rows of an
    // empty store hold them.
    const prov::ComponentStore empty;
    reports::ReportRows labels;
    reports::BuildNodeSummaryRows(empty, labels);
    std::vector<reports::ColumnInfo> columns(std::begin(kFileColumns), std::end(kFileColumns));
    for (const reports::ReportRow& label : labels) columns.push_back({label.First(), 0});

    TableRun run;
    run.columns = columns;
    run.rowsOf = BuildSummaryRow;
    run.rowsNameTheirFile = true;
    run.what = "summary";
    return RunOverFiles(files, options, run);
}

}  // namespace oryx::cli
