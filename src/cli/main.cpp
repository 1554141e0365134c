// oryx-cli: the tree text, attribute rows and reports of a provisioning file,
// and the differences between two, without a window.
#include <cerrno>
#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <string_view>

#include "cli/check_command.h"
#include "cli/cli_common.h"
#include "cli/diff_command.h"
#include "cli/find_command.h"
#include "cli/history_command.h"
#include "cli/refs_command.h"
#include "cli/report_commands.h"
#include "cli/summary_command.h"
#include "cli/tree_commands.h"
#include "prov/reader.h"
#include "reports/report_registry.h"
#include "text/message_value.h"

namespace {

using oryx::cli::Args;

struct Command {
    std::string_view name;
    std::string_view synopsis;
    std::string help;
    int (*run)(const Args&);
};

// "a, b or c": the report names in help order.
std::string ReportNameList() {
    const auto order = oryx::reports::CliHelpOrder();
    std::string names;
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (i > 0) names += i + 1 == order.size() ? " or " : ", ";
        names += oryx::reports::Report(order[i]).cliName;
    }
    return names;
}

const Command kCommands[] = {
    {"tree", "tree FILE", "the tree text of FILE, as a saved tree text file holds it", oryx::cli::RunTree},
    {"attrs", "attrs FILE PATH",
     "the attribute rows of the component at PATH (such as \"Shelf Card/3\"), one \"name = value\" line each",
     oryx::cli::RunAttrs},
    {"find", "find FILE QUERY [--in names|paths|attr-names|values|all] [--regex] [--word] [--case]",
     "the components and attribute lines of FILE that match QUERY, one per line: the component's path, or the "
     "path, a TAB and the line as stored (name=value); --in picks where to look (default all), --regex takes "
     "QUERY as an RE2 pattern, --word matches whole words, --case matches letter case; a TAB inside a path or "
     "line is written as \\t, so that the only TAB of a line is the one before the line; exit status 3 when "
     "nothing matched",
     oryx::cli::RunFind},
    {"refs", "refs FILE PATH [--below] | refs FILE --unresolved",
     "the references of the component at PATH: its own lines that name a component, \"-> LINE\" when one is "
     "there, \"~> LINE\" when only its leading part is (a partial reference), \"?> LINE\" when none is (a "
     "dangling reference); then \"<- SOURCE\", a TAB and the line for every line elsewhere that names PATH "
     "exactly; --below adds the lines that name a component beneath PATH and the partial references that end "
     "at or beneath it; --unresolved lists every partial (\"~>\") and dangling (\"?>\") reference of FILE "
     "with its SOURCE; a TAB inside a name or line is written as \\t; exit status 3 when nothing was printed",
     oryx::cli::RunRefs},
    {"report", "report NAME FILE", "the CSV export of a report of FILE; NAME is " + ReportNameList(),
     oryx::cli::RunReport},
    {"custom", "custom SECTION FILE [--config CFG]",
     "the CSV export of the custom report SECTION of FILE; CFG defaults to \"ORYX Reports.cfg\" beside oryx-cli",
     oryx::cli::RunCustom},
    {"sections", "sections [--config CFG]", "the custom report names in menu order, one per line",
     oryx::cli::RunSections},
    {"diff", "diff FILE1 FILE2 [--ignore NAME]... [--ignore-case] [--format text|csv]",
     "the components removed, added and changed from FILE1 to FILE2, as text or CSV; --ignore leaves the "
     "attribute NAME out, --ignore-case compares values ignoring case; exit status 0 when the nodes are "
     "equal, 3 when they differ",
     oryx::cli::RunDiff},
    {"history",
     "history FILE... [--path PATH [--below]] [--attr NAME]... [--ignore NAME]... [--ignore-case] "
     "[--format text|csv|tsv|json] [--values]",
     "the changes along versions of one node, in the order given (a folder stands for its regular files, names "
     "in byte order; --recursive as for report): for each consecutive pair a line \"== OLDER -> NEWER: N added, M "
     "removed, K changed\" and the lines diff prints for that pair; csv, tsv and json add \"from\" and \"to\" "
     "to diff's CSV columns. --path keeps the differences at the component PATH (with --below those beneath it "
     "too) and an added or removed component holding it; --attr keeps the changes of attribute NAME and the "
     "components added or removed with it; --ignore and --ignore-case as for diff. --values --path PATH writes "
     "instead a table of PATH's attribute values, one row per attribute and one column per version, empty "
     "where absent (csv by default, or tsv or json). Reading stops at a file that cannot be read (exit status "
     "1); a note on stderr says when versions name different nodes; exit status 0 when nothing changed, 3 "
     "when something did (0 for --values)",
     oryx::cli::RunHistory},
    {"summary", "summary FILE...",
     "one row per FILE: \"File\", \"Format\" (start-prov or configure), \"Lines\", \"Components\" (below the add node) "
     "and the Node Summary values",
     oryx::cli::RunSummary},
    {"check",
     "check FILE... [--rules RULES]... [--format text|csv|tsv|json] [--fail-on error|warning|note] [-j N] "
     "[--recursive]",
     "what the reader passed over in each FILE (lines it ignored, set lines that name another component, "
     "components made without their parents...) and the findings of the YAML rules files RULES, one per line as "
     "compilers write them (\"FILE:LINE: SEVERITY: MESSAGE [ID]\"), or as a table of \"File\", \"Line\", "
     "\"Severity\", \"Check\", \"Path\" and \"Message\"; a summary goes to stderr; exit status 3 when a "
     "finding is at or above --fail-on (default warning), 1 when a file or a rules file cannot be read; files, "
     "folders, --recursive and -j as for report",
     oryx::cli::RunCheck},
};

struct Option {
    std::string_view synopsis;
    std::string_view help;
};

// Options of the commands that make one table over many files.
constexpr Option kTableOptions[] = {
    {"FILE... and folders",
     "many files give one table whose rows begin with a \"File\" column; a folder stands "
     "for every regular file directly in it, names in byte order; a link to a file counts as the file, a link "
     "to a folder is skipped, and an entry whose type cannot be read (a dangling link, a link loop) is "
     "reported as a file that cannot be read"},
    {"--recursive", "folders' subfolders too, a folder's files before its subfolders"},
    {"--format csv|tsv|json",
     "csv (the default), tsv (TAB between cells, nothing quoted) or json (an array of "
     "objects keyed by the column captions)"},
    {"-j N",
     "read N files at once (default: one per core); the rows keep the order of the files, a file that "
     "fails is reported and skipped"},
};

// "usage: oryx-cli tree|attrs|... ARGS...": every command, in help order.
std::string UsageLine() {
    std::string line = "usage: oryx-cli ";
    for (const Command& c : kCommands) {
        if (&c != kCommands) line += '|';
        line += c.name;
    }
    return line + " ARGS... (oryx-cli --help lists the commands)";
}

int PrintHelp() {
    std::string text = "usage: oryx-cli COMMAND ARGS...\n\ncommands:\n";
    for (const Command& c : kCommands) {
        text += "  oryx-cli ";
        text += c.synopsis;
        text += "\n      ";
        text += c.help;
        text += '\n';
    }
    text += "\nreport, custom and summary:\n";
    for (const Option& o : kTableOptions) {
        text += "  ";
        text += o.synopsis;
        text += "\n      ";
        text += o.help;
        text += '\n';
    }
    text +=
        "\nExit status: 0 on success, 1 when a file cannot be read or a command fails (over many files: when any "
        "file failed, the rows of the others written), 2 on a usage error, 3 when find matched nothing, refs "
        "printed nothing, diff found the nodes different, history found a change or check a finding at or above "
        "--fail-on.\n";
    if (!oryx::cli::WriteStdout(text)) return oryx::cli::WriteFailure("help", errno);
    return oryx::cli::kExitOk;
}

int Usage(std::string_view why) {
    std::string text;
    if (!why.empty()) {
        text = "oryx-cli: ";
        text += why;
        text += '\n';
    }
    text += UsageLine();
    text += '\n';
    std::fwrite(text.data(), 1, text.size(), stderr);
    return oryx::cli::kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage("");
    const std::string_view name = argv[1];
    if (name == "--version") {
        std::fputs("oryx-cli " ORYX_VERSION "\n", stdout);
        return oryx::cli::kExitOk;
    }
    if (name == "--help" || name == "-h" || name == "help") {
        return PrintHelp();
    }
    const Args args(argv + 2, argv + argc);
    for (const Command& c : kCommands) {
        if (c.name != name) continue;
        try {
            return c.run(args);
        } catch (const oryx::cli::UsageError& e) {
            return Usage(e.message);
        } catch (const std::bad_alloc&) {
            oryx::cli::PrintError("not enough memory");
            return oryx::cli::kExitFailure;
        } catch (const std::exception& e) {
            oryx::cli::PrintError(e.what());
            return oryx::cli::kExitFailure;
        }
    }
    return Usage("unknown command '" + oryx::text::MessageValue(name) + "'");
}
