#include "cli/check_command.h"

#include <array>
#include <atomic>
#include <cstdio>
#include <optional>
#include <string>

#include "check/builtin_checks.h"
#include "check/check_file.h"
#include "check/finding_row.h"
#include "check/rule_checks.h"
#include "check/rules_file.h"
#include "cli/arg_parser.h"
#include "cli/multi_file_runner.h"
#include "prov/file_error.h"
#include "text/message_value.h"

namespace oryx::cli {

namespace {

constexpr reports::ColumnInfo kFindingColumns[] = {
    {"File", 0}, {"Line", 0}, {"Severity", 0}, {"Check", 0}, {"Path", 0}, {"Message", 0},
};

struct CheckOptions {
    std::vector<std::string> rules;
    std::optional<TableFormat> table;  // none: text
    check::Severity failOn = check::Severity::Warning;
    RunOptions run;
};

// FILE... and the options, which may stand anywhere.
Args ParseCheckArgs(const Args& args, CheckOptions& options) {
    std::optional<std::string> format, failOn;
    RunOptionArgs run;
    ArgParser parser("check");
    parser.Repeated("--rules", options.rules, "a rules file")
        .Value("--format", format, "text, csv, tsv or json")
        .Value("--fail-on", failOn, "error, warning or note")
        .Flag("--recursive", run.recursive)
        .Value("-j", run.jobs, "a number of files to read at once");
    const Args files = parser.Parse(args);
    if (format && *format != "text") {
        options.table = TableFormatByName(*format);
        if (!options.table)
            throw UsageError{"unknown format '" + text::MessageValue(*format) + "' (one of text, csv, tsv, json)"};
        run.format = format;
    }
    if (failOn) {
        const std::optional<check::Severity> severity = check::SeverityByName(*failOn);
        if (!severity)
            throw UsageError{"--fail-on takes error, warning or note (not '" + text::MessageValue(*failOn) + "')"};
        options.failOn = *severity;
    }
    options.run = CheckRunOptions(run);
    return files;
}

// "FILE:LINE: SEVERITY: MESSAGE [ID]", as compilers write, so that editors
// and CI annotate the lines.
void WriteTextRows(const reports::ReportRows& rows, std::string& out) {
    for (const reports::ReportRow& row : rows) {
        out += row.First();
        if (!row.Cell(0).empty()) (out += ':') += row.Cell(0);
        ((out += ": ") += row.Cell(1)) += ": ";
        ((out += row.Cell(4)) += " [") += row.Cell(2);
        out += "]\n";
    }
}

// The findings of a run, counted as the workers make them.
class Tally final {
public:
    void Add(check::Severity severity) { counts_[static_cast<std::size_t>(severity)].fetch_add(1); }
    void FileRead() { files_.fetch_add(1); }
    bool AnyAtOrAbove(check::Severity severity) const {
        for (std::size_t s = static_cast<std::size_t>(severity); s < counts_.size(); ++s)
            if (counts_[s].load() > 0) return true;
        return false;
    }
    // "3 errors, 5 warnings, 2 notes in 4 files"
    std::string Summary() const {
        return Count(check::Severity::Error, "error") + ", " + Count(check::Severity::Warning, "warning") + ", " +
               Count(check::Severity::Note, "note") + " in " + Counted(files_.load(), "file");
    }

private:
    static std::string Counted(std::size_t n, const std::string& noun) {
        return std::to_string(n) + " " + noun + (n == 1 ? "" : "s");
    }
    std::string Count(check::Severity severity, const std::string& noun) const {
        return Counted(counts_[static_cast<std::size_t>(severity)].load(), noun);
    }

    std::array<std::atomic<std::size_t>, 3> counts_{};
    std::atomic<std::size_t> files_{0};
};

void AddRow(const std::string& file, const check::Finding& finding, reports::ReportRows& rows) {
    reports::ReportRow row(file);
    for (const std::string& cell : check::FindingCells(finding)) row.AddCell(cell);
    rows.push_back(std::move(row));
}

}  // namespace

int RunCheck(const Args& allArgs) {
    CheckOptions checkOptions;
    const Args files = ParseCheckArgs(allArgs, checkOptions);
    if (files.empty()) throw UsageError{"check takes one or more FILEs or folders"};

    // The rules first: a typo there is not worth reading a fleet of files for.
    check::RuleSet rules;
    try {
        for (const std::string& file : checkOptions.rules) check::ReadRulesFile(file, rules);
    } catch (const std::exception& e) {
        PrintError(e.what());
        return kExitFailure;
    }
    check::RuleRunner runner(rules);
    Tally tally;

    TableRun run;
    run.columns = kFindingColumns;
    run.rowsNameTheirFile = true;
    run.alwaysMany = true;
    run.what = "findings";
    if (!checkOptions.table) run.writeRows = WriteTextRows;
    run.rowsOf = [&](const std::string& file, reports::ReportRows& rows) {
        const std::vector<check::Finding> findings = check::CheckFile(file, rules, runner);
        tally.FileRead();
        for (const check::Finding& finding : findings) {
            tally.Add(finding.severity);
            AddRow(file, finding, rows);
        }
    };
    run.rowsAfterFiles = [&](reports::ReportRows& rows) {
        const std::optional<check::Severity> severity = rules.builtins.Of(check::BuiltinCheck::RuleUnmatched);
        if (!severity) return;
        for (const check::Rule* rule : runner.UnmatchedRules()) {
            tally.Add(*severity);
            AddRow(rule->file, check::UnmatchedRuleFinding(*rule, *severity), rows);
        }
    };
    const int status = RunOverFiles(files, checkOptions.run, run);
    const std::string summary = tally.Summary() + "\n";
    std::fwrite(summary.data(), 1, summary.size(), stderr);
    if (status != kExitOk) return status;
    return tally.AnyAtOrAbove(checkOptions.failOn) ? kExitFindings : kExitOk;
}

}  // namespace oryx::cli
