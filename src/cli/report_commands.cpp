#include "cli/report_commands.h"

#include <cerrno>
#include <cstring>
#include <optional>
#include <span>
#include <filesystem>
#include <system_error>

#include "prov/component_store.h"
#include "prov/reader.h"
#include "reports/csv_export.h"
#include "reports/custom_report.h"
#include "reports/report_registry.h"
#include "reports/report_config.h"

namespace oryx::cli {

namespace {

std::string ReportNames() {
    std::string names;
    for (const reports::ReportInfo& info : reports::FixedReports()) {
        if (!names.empty()) names += ", ";
        names += info.cliName;
    }
    return names;
}

// The arguments without "--config CFG", which may stand anywhere; `config`
// gets CFG, or the file beside the executable when there is none.
Args TakeConfigOption(const Args& args, std::string& config) {
    Args rest;
    bool given = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--config") {
            rest.push_back(args[i]);
            continue;
        }
        if (i + 1 == args.size()) throw UsageError{"--config needs a file name"};
        if (given) throw UsageError{"--config given twice"};
        given = true;
        config = args[++i];
    }
    if (!given) {
        std::error_code error;
        const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
        const std::string folder = error ? std::string(".") : exe.parent_path().string();
        config = reports::ReportConfigPathInFolder(folder);
    }
    return rest;
}

int Emit(Output& out, const char* what) {
    if (out.Commit()) return kExitOk;
    PrintError(std::string("cannot write the ") + what + ": " + std::strerror(errno));
    return kExitFailure;
}

int EmitCsv(std::span<const reports::ColumnInfo> columns, const reports::ReportRows& rows) {
    Output out;
    reports::WriteCsv(columns, rows, [&out](std::string_view piece) { out.Append(piece); });
    return Emit(out, "report");
}

}  // namespace

int RunReport(const Args& allArgs) {
    // --config is accepted as by the other report commands; fixed reports do not read it.
    std::string unused;
    const Args args = TakeConfigOption(allArgs, unused);
    if (args.size() != 2) throw UsageError{"report takes NAME and FILE (NAME is one of " + ReportNames() + ")"};
    const std::optional<reports::ReportId> id = reports::ReportByCliName(args[0]);
    if (!id) throw UsageError{"unknown report '" + args[0] + "' (one of " + ReportNames() + ")"};
    prov::ComponentStore store;
    prov::ReadProvisioningFile(args[1], store);
    reports::ReportRows rows;
    reports::BuildReportRows(*id, store, rows);  // a failed report prints only its message
    return EmitCsv(reports::Report(*id).columns, rows);
}

int RunCustom(const Args& args) {
    std::string config;
    const Args rest = TakeConfigOption(args, config);
    if (rest.size() != 2) throw UsageError{"custom takes SECTION and FILE, and optionally --config CFG"};
    prov::ComponentStore store;
    prov::ReadProvisioningFile(rest[1], store);
    reports::ReportRows rows;
    reports::BuildCustomReportRows(store, reports::ReportConfig::Load(config), rest[0], rows);
    return EmitCsv(reports::CustomReportColumns(), rows);
}

int RunSections(const Args& args) {
    std::string config;
    if (!TakeConfigOption(args, config).empty()) throw UsageError{"sections takes only --config CFG"};
    Output out;
    for (const std::string& name : reports::CustomReportMenuNames(reports::ReportConfig::Load(config))) {
        out.Append(name);
        out.Append("\n");
    }
    return Emit(out, "section names");
}

}  // namespace oryx::cli
