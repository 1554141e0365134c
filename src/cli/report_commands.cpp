#include "cli/report_commands.h"

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <optional>
#include <system_error>

#include "cli/arg_parser.h"
#include "cli/multi_file_runner.h"
#include "prov/component_store.h"
#include "prov/reader.h"
#include "reports/custom_report.h"
#include "reports/report_config.h"
#include "reports/report_registry.h"
#include "text/message_value.h"

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

ConfigFile ConfigFileOf(const std::optional<std::string>& option) {
    ConfigFile config;
    if (option) {
        config.given = true;
        config.name = *option;
        return config;
    }
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::string folder = error ? std::string(".") : exe.parent_path().string();
    config.name = reports::ReportConfigPathInFolder(folder);
    return config;
}

// The arguments of a table command: the run options, --config CFG, and the
// positional arguments in order.
struct TableArgs {
    RunOptions options;
    ConfigFile config;
    Args positional;
};

TableArgs ParseTableArgs(std::string_view command, const Args& args) {
    RunOptionArgs runOptions;
    std::optional<std::string> config;
    ArgParser parser(command);
    AddRunOptions(parser, runOptions);
    parser.Value("--config", config, "a file name");
    TableArgs parsed;
    parsed.positional = parser.Parse(args);
    parsed.options = CheckRunOptions(runOptions);
    parsed.config = ConfigFileOf(config);
    return parsed;
}

// A file named by --config must be readable; the one beside the program may
// be missing, which means no custom reports, as in the window. Anything else
// that is not a readable regular file raises prov::FileError.
reports::ReportConfig ReadConfig(const ConfigFile& config) {
    struct stat st {};
    if (!config.given && ::stat(config.name.c_str(), &st) != 0 && errno == ENOENT) return {};
    return reports::ReportConfig::Read(config.name);
}

int Emit(Output& out, const char* what) { return out.Commit() ? kExitOk : WriteFailure(what, errno); }

}  // namespace

int RunReport(const Args& allArgs) {
    // --config is accepted as by the other report commands; fixed reports do not read it.
    const TableArgs parsed = ParseTableArgs("report", allArgs);
    const Args& args = parsed.positional;
    if (args.size() < 2) throw UsageError{"report takes NAME and FILE (NAME is one of " + ReportNames() + ")"};
    const std::optional<reports::ReportId> id = reports::ReportByCliName(args[0]);
    if (!id) throw UsageError{"unknown report '" + text::MessageValue(args[0]) + "' (one of " + ReportNames() + ")"};
    TableRun run;
    run.columns = reports::Report(*id).columns;
    if (reports::Report(*id).canFail) {
        run.rowsOf = [id = *id](const std::string& file, reports::ReportRows& rows) {
            prov::ComponentStore store;
            prov::ReadProvisioningFile(file, store);
            reports::BuildReportRows(id, store, rows);  // a failed report prints only its message
        };
    } else {
        run.streamRowsOf = [id = *id](const std::string& file, reports::RowSink& rows) {
            prov::ComponentStore store;
            prov::ReadProvisioningFile(file, store);
            reports::StreamReportRows(id, store, rows);
        };
    }
    return RunOverFiles(Args(args.begin() + 1, args.end()), parsed.options, run);
}

int RunCustom(const Args& args) {
    const TableArgs parsed = ParseTableArgs("custom", args);
    const Args& rest = parsed.positional;
    const ConfigFile& configFile = parsed.config;
    if (rest.size() < 2) throw UsageError{"custom takes SECTION and FILE, and optionally --config CFG"};
    const std::string& section = rest[0];
    // The configuration is checked first: a typo there is not worth reading a large FILE for.
    const reports::ReportConfig config = ReadConfig(configFile);
    if (!config.HasSection(section)) {
        PrintError("no section '" + text::MessageValue(section) + "' in '" + text::MessageValue(configFile.name) + "'");
        return kExitFailure;
    }
    TableRun run;
    run.columns = reports::CustomReportColumns();
    run.rowsOf = [&config, &section](const std::string& file, reports::ReportRows& rows) {
        prov::ComponentStore store;
        prov::ReadProvisioningFile(file, store);
        reports::BuildCustomReportRows(store, config, section, rows);
    };
    return RunOverFiles(Args(rest.begin() + 1, rest.end()), parsed.options, run);
}

int RunSections(const Args& args) {
    std::optional<std::string> config;
    ArgParser parser("sections");
    parser.Value("--config", config, "a file name");
    if (!parser.Parse(args).empty()) throw UsageError{"sections takes only --config CFG"};
    const ConfigFile configFile = ConfigFileOf(config);
    Output out;
    for (const std::string& name : reports::CustomReportMenuNames(ReadConfig(configFile))) {
        out.Append(name);
        out.Append("\n");
    }
    return Emit(out, "section names");
}

}  // namespace oryx::cli
