#include "cli/report_commands.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <new>
#include <optional>
#include <span>
#include <system_error>

#include "prov/component_store.h"
#include "prov/reader.h"
#include "reports/csv_export.h"
#include "reports/custom_report.h"
#include "reports/fixed_reports.h"
#include "reports/report_catalog.h"
#include "reports/report_config.h"
#include "reports/report_error.h"

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

// The report configuration a command reads: CFG of "--config CFG", or the
// file beside the executable.
struct ConfigFile {
    std::string name;
    bool given = false;
};

// The arguments without "--config CFG", which may stand anywhere.
Args TakeConfigOption(const Args& args, ConfigFile& config) {
    Args rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--config") {
            rest.push_back(args[i]);
            continue;
        }
        if (i + 1 == args.size()) throw UsageError{"--config needs a file name"};
        if (config.given) throw UsageError{"--config given twice"};
        config.given = true;
        config.name = args[++i];
    }
    if (!config.given) {
        std::error_code error;
        const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
        const std::string folder = error ? std::string(".") : exe.parent_path().string();
        config.name = reports::ReportConfigPathInFolder(folder);
    }
    return rest;
}

// A file named by --config must be readable; the one beside the program may
// be missing, which means no custom reports, as in the window. Anything else
// that is not a readable regular file raises prov::FileError.
reports::ReportConfig ReadConfig(const ConfigFile& config) {
    struct stat st{};
    if (!config.given && ::stat(config.name.c_str(), &st) != 0 && errno == ENOENT) return {};
    return reports::ReportConfig::Read(config.name);
}

int Emit(Output& out, const char* what) {
    if (out.Commit()) return kExitOk;
    PrintError(std::string("cannot write the ") + what + ": " + std::strerror(errno));
    return kExitFailure;
}

int EmitCsv(std::span<const reports::ColumnInfo> columns, const reports::ReportRows& rows,
            std::string_view reportName) {
    Output out;
    try {
        reports::WriteCsv(columns, rows, [&out](std::string_view piece) { out.Append(piece); });
    } catch (const std::bad_alloc&) {
        throw reports::NotEnoughMemoryToBuild(reportName);
    }
    return Emit(out, "report");
}

}  // namespace

int RunReport(const Args& allArgs) {
    // --config is accepted as by the other report commands; fixed reports do not read it.
    ConfigFile unused;
    const Args args = TakeConfigOption(allArgs, unused);
    if (args.size() != 2) throw UsageError{"report takes NAME and FILE (NAME is one of " + ReportNames() + ")"};
    const std::optional<reports::ReportId> id = reports::ReportByCliName(args[0]);
    if (!id) throw UsageError{"unknown report '" + args[0] + "' (one of " + ReportNames() + ")"};
    prov::ComponentStore store;
    prov::ReadProvisioningFile(args[1], store);
    reports::ReportRows rows;
    reports::BuildReportRows(*id, store, rows);  // a failed report prints only its message
    const reports::ReportInfo& info = reports::Report(*id);
    return EmitCsv(info.columns, rows, info.cliName);
}

int RunCustom(const Args& args) {
    ConfigFile configFile;
    const Args rest = TakeConfigOption(args, configFile);
    if (rest.size() != 2) throw UsageError{"custom takes SECTION and FILE, and optionally --config CFG"};
    const std::string& section = rest[0];
    // The configuration is checked first: a typo there is not worth reading a large FILE for.
    const reports::ReportConfig config = ReadConfig(configFile);
    if (!config.HasSection(section)) {
        PrintError("no section '" + section + "' in '" + configFile.name + "'");
        return kExitFailure;
    }
    prov::ComponentStore store;
    prov::ReadProvisioningFile(rest[1], store);
    reports::ReportRows rows;
    reports::BuildCustomReportRows(store, config, section, rows);
    return EmitCsv(reports::CustomReportColumns(), rows, section);
}

int RunSections(const Args& args) {
    ConfigFile configFile;
    if (!TakeConfigOption(args, configFile).empty()) throw UsageError{"sections takes only --config CFG"};
    Output out;
    for (const std::string& name : reports::CustomReportMenuNames(ReadConfig(configFile))) {
        out.Append(name);
        out.Append("\n");
    }
    return Emit(out, "section names");
}

}  // namespace oryx::cli
