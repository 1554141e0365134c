// oryx-cli report, custom and sections, run as a separate process.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "cli_runner.h"
#include "memory_limit.h"
#include "reports/custom_report.h"
#include "reports/report_config.h"
#include "reports/report_error.h"
#include "reports_test_support.h"

namespace oryx::reports::test {
namespace {

using oryx::testing::CliResult;
using oryx::testing::ExitStatusOnFullDisk;
using oryx::testing::RunCli;
using oryx::testing::ShellQuote;

constexpr std::string_view kNode =
    "start prov\r\n"
    "add Shelf\r\n"
    "add Shelf Card/0\r\n"
    "set Shelf Card/0 cardType \"CP\", cardNote a,b\r\n"
    "add AtmIf/1\r\n"
    "set AtmIf/1 interfaceName Lp/0 E1/0\r\n"
    "add Mod\r\n"
    "set Mod nodeName HALY1\r\n";

constexpr std::string_view kConfig =
    "[Cards]\r\nCard 0=Shelf Card/0 &cardtype\r\n[atm]\r\nA=AtmIf/1 &interfacename\r\n";

TEST(ReportCli, EveryReportPrintsItsExportBytes) {
    ScratchDir dir;
    const std::string file = dir.Write("node.txt", kNode);
    LoadedStore loaded(kNode);
    for (const ReportInfo& info : FixedReports()) {
        ReportRows rows;
        BuildReportRows(info.id, loaded.store, rows);
        const CliResult r = RunCli({"report", std::string(info.cliName), file});
        EXPECT_EQ(r.exitCode, 0) << info.cliName;
        EXPECT_EQ(r.out, CsvText(info.columns, rows)) << info.cliName;
        EXPECT_EQ(r.err, "") << info.cliName;
    }
    EXPECT_EQ(RunCli({"report", "--config", file, "atmif", file}).out, RunCli({"report", "atmif", file}).out);
    EXPECT_EQ(RunCli({"report", "overview", file}).out,
              Crlf("\"#\",\"Card\",\"LP\",\"LPT\",\"AtmIf\",\"FrUni\",\"FrAtm\",\"TRK\",\"FL\"\n"
                   "0,\"\"\"CP\"\"\",\"\",\"\",\"1\",\"\",\"\",\"\",\"\"\n"));
}

TEST(ReportCli, CustomReportAndSections) {
    ScratchDir dir;
    const std::string file = dir.Write("node.txt", kNode);
    const std::string config = dir.Write("my reports.cfg", kConfig);
    const std::string expected = Crlf("\"Attribute\",\"Value\"\nCard 0,\"\"\"CP\"\"\"\n");
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"custom", "cards", file, "--config", config},
                                               {"custom", "--config", config, "Cards", file},
                                               {"custom", "Cards", "--config", config, file}}) {
        const CliResult r = RunCli(args);
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.out, expected);
        EXPECT_EQ(r.err, "");
    }
    const CliResult sections = RunCli({"sections", "--config", config});
    EXPECT_EQ(sections.exitCode, 0);
    EXPECT_EQ(sections.out, "atm\nCards\n");
}

// A configuration that cannot be read, or a section it does not have, is an
// error rather than an empty report; both are found before FILE is read.
TEST(ReportCli, ConfigurationAndSectionErrors) {
    ScratchDir dir;
    const std::string file = dir.Write("node.txt", kNode);
    const std::string config = dir.Write("my reports.cfg", kConfig);
    const std::string missing = (dir.Path() / "missing.cfg").string();
    const std::string fifo = (dir.Path() / "fifo.cfg").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string absentNode = (dir.Path() / "absent.txt").string();
    struct Case {
        std::vector<std::string> args;
        std::string errorLine;
    } cases[] = {
        {{"custom", "Cards", file, "--config", missing}, "cannot read '" + missing + "': No such file or directory"},
        {{"custom", "Cards", absentNode, "--config", missing},
         "cannot read '" + missing + "': No such file or directory"},
        {{"sections", "--config", missing}, "cannot read '" + missing + "': No such file or directory"},
        {{"custom", "Cards", file, "--config", dir.Path().string()},
         "cannot read '" + dir.Path().string() + "': is a directory"},
        {{"sections", "--config", dir.Path().string()}, "cannot read '" + dir.Path().string() + "': is a directory"},
        {{"custom", "Cards", file, "--config", fifo}, "cannot read '" + fifo + "': not a regular file"},
        {{"sections", "--config", fifo}, "cannot read '" + fifo + "': not a regular file"},
        {{"sections", "--config", "/dev/zero"}, "cannot read '/dev/zero': not a regular file"},
        {{"custom", "none", file, "--config", config}, "no section 'none' in '" + config + "'"},
        {{"custom", "none", absentNode, "--config", config}, "no section 'none' in '" + config + "'"},
        {{"custom", "Card", file, "--config", config}, "no section 'Card' in '" + config + "'"},
    };
    for (const Case& c : cases) {
        const CliResult r = RunCli(c.args);
        const std::string what = c.args[0] + " " + c.args[1] + " " + c.args.back();
        EXPECT_EQ(r.exitCode, 1) << what;
        EXPECT_EQ(r.out, "") << what;
        EXPECT_EQ(r.err, "oryx-cli: " + c.errorLine + "\n") << what;
    }
    if (::geteuid() != 0) {
        const std::string locked = dir.Write("locked.cfg", kConfig);
        ::chmod(locked.c_str(), 0);
        EXPECT_EQ(RunCli({"sections", "--config", locked}).err,
                  "oryx-cli: cannot read '" + locked + "': Permission denied\n");
    }
    // Fixed reports do not read the configuration.
    EXPECT_EQ(RunCli({"report", "atmif", file, "--config", fifo}).exitCode, 0);
}

// Runs a copy of oryx-cli placed in `folder`, so that it finds the report
// configuration file there.
CliResult RunCopyIn(const std::filesystem::path& folder, const std::string& args) {
    const std::filesystem::path program = folder / "oryx-cli";
    std::filesystem::copy_file(ORYX_CLI_PATH, program, std::filesystem::copy_options::overwrite_existing);
    const std::string out = (folder / "out").string();
    const int status =
        std::system((ShellQuote(program.string()) + " " + args + " >" + ShellQuote(out) + " 2>/dev/null").c_str());
    CliResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = oryx::testing::ReadBytes(out);
    return result;
}

TEST(ReportCli, DefaultConfigurationLiesBesideTheProgram) {
    ScratchDir dir;
    const std::string file = dir.Write("node.txt", kNode);
    const std::string config = dir.Write(std::string(kReportConfigFileName), kConfig);
    EXPECT_EQ(RunCopyIn(dir.Path(), "sections").out, "atm\nCards\n");
    EXPECT_EQ(RunCopyIn(dir.Path(), "custom atm " + ShellQuote(file)).out,
              Crlf("\"Attribute\",\"Value\"\nA,\"Lp/0 E1/0\"\n"));

    // None there: no custom reports, as in the window.
    std::filesystem::remove(config);
    const CliResult none = RunCopyIn(dir.Path(), "sections");
    EXPECT_EQ(none.exitCode, 0);
    EXPECT_EQ(none.out, "");
    EXPECT_EQ(RunCopyIn(dir.Path(), "custom atm " + ShellQuote(file)).exitCode, 1);
    // Something there that is not a regular file is never read.
    ASSERT_EQ(::mkfifo(config.c_str(), 0600), 0);
    EXPECT_EQ(RunCopyIn(dir.Path(), "sections").exitCode, 1);
}

TEST(ReportCli, FailuresAndUsageErrors) {
    ScratchDir dir;
    const std::string file = dir.Write("node.txt", kNode);
    const std::string bad = dir.Write("bad.txt", "start prov\nadd Shelf\nadd Shelf Card/x1\n");
    const std::string missing = (dir.Path() / "missing.txt").string();
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        std::string errorLine;  // for exit code 1: the whole of stderr
    } cases[] = {
        {{"report"}, 2, ""},
        {{"report", "overview"}, 2, ""},
        {{"report", "Overview", file}, 2, ""},
        {{"report", "summary", file}, 2, ""},
        {{"report", "atmif", "--format", "tsv"}, 2, ""},
        {{"custom", "Cards"}, 2, ""},
        {{"custom", "Cards", file, "--config"}, 2, ""},
        {{"custom", "Cards", file, "--config", "a", "--config", "b"}, 2, ""},
        {{"sections", "extra"}, 2, ""},
        {{"reports"}, 2, ""},
        {{"report", "overview", bad}, 1, "oryx-cli: 'x1' is not a valid integer value\n"},
        {{"report", "atmif", missing}, 1, ""},
        {{"custom", "Cards", missing, "--config", file}, 1, ""},
    };
    for (const Case& c : cases) {
        const CliResult r = RunCli(c.args);
        const std::string what = c.args.size() > 1 ? c.args[0] + " " + c.args[1] : c.args[0];
        EXPECT_EQ(r.exitCode, c.exitCode) << what;
        EXPECT_EQ(r.out, "") << what;
        if (c.exitCode == 2) {
            EXPECT_NE(r.err.find("usage: oryx-cli"), std::string::npos) << what;
        } else if (c.errorLine.empty()) {
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << what;
        } else {
            EXPECT_EQ(r.err, c.errorLine) << what;
        }
    }
    const CliResult help = RunCli({"--help"});
    for (const char* synopsis : {"oryx-cli report NAME FILE", "oryx-cli custom SECTION FILE [--config CFG]",
                                 "oryx-cli sections [--config CFG]"}) {
        EXPECT_NE(help.out.find(synopsis), std::string::npos) << synopsis;
    }
}

// A value from the file quoted in a report error: a 50 MB card name makes a
// short line, and control bytes cannot reach the terminal.
TEST(ReportCli, ValuesInErrorsAreCleaned) {
    ScratchDir dir;
    std::string name(50u << 20, '7');
    name[10] = '\x1b';
    const std::string file = dir.Write("big.txt", "start prov\nadd Shelf\nadd Shelf Card/" + name + "\n");
    const CliResult r = RunCli({"report", "overview", file});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "oryx-cli: '7777777777\\x1B" + std::string(85, '7') + "..." + std::string(96, '7') +
                         "' is not a valid integer value\n");
}

// The sample nodes give every report rows to show, in both formats, and the
// sample configuration's reports find their values.
TEST(ReportExamples, EveryReportHasRowsOnTheSampleNodes) {
    const std::string examples = ORYX_EXAMPLES_DIR;
    for (const char* node : {"/node31-startprov.txt", "/node32-configure.txt"}) {
        LoadedStore loaded(oryx::testing::ReadBytes(examples + node));
        for (const ReportInfo& info : FixedReports()) {
            ReportRows rows;
            BuildReportRows(info.id, loaded.store, rows);
            EXPECT_FALSE(rows.empty()) << node << " " << info.cliName;
        }
        const ReportConfig config = ReportConfig::Load(examples + "/" + std::string(kReportConfigFileName));
        const std::vector<std::string> sections = CustomReportMenuNames(config);
        EXPECT_EQ(sections.size(), 5u);
        for (const std::string& section : sections) {
            ReportRows rows;
            BuildCustomReportRows(loaded.store, config, section, rows);
            for (const ReportRow& row : rows) {
                ASSERT_GE(row.CellCount(), 1u) << node << " " << row.First();
                EXPECT_FALSE(row.Cell(0).empty()) << node << " " << row.First();
            }
        }
    }
}

// Rows handed on as they are made are the rows of the built report, in the
// same order; a report that fails hands on none of them.
class StreamedReport : public ::testing::TestWithParam<ReportInfo> {};

struct RecordingSink final : RowSink {
    ReportRows rows;
    void Add(ReportRow&& row) override { rows.push_back(std::move(row)); }
};

TEST_P(StreamedReport, HandsOnTheBuiltRows) {
    const std::string examples = ORYX_EXAMPLES_DIR;
    const std::string node31 = oryx::testing::ReadBytes(examples + "/node31-startprov.txt");
    struct Case {
        std::string bytes;
        bool overviewFails;
    };
    const Case cases[] = {{node31, false},
                          {oryx::testing::ReadBytes(examples + "/node32-configure.txt"), false},
                          {node31 + "add Shelf Card/x1\n", true}};
    for (const Case& c : cases) {
        LoadedStore loaded(c.bytes);
        ReportRows built;
        std::string builtError, streamedError;
        try {
            BuildReportRows(GetParam().id, loaded.store, built);
        } catch (const ReportError& e) {
            builtError = e.what();
        }
        RecordingSink streamed;
        try {
            StreamReportRows(GetParam().id, loaded.store, streamed);
        } catch (const ReportError& e) {
            streamedError = e.what();
        }
        EXPECT_EQ(streamedError, builtError);
        EXPECT_EQ(!builtError.empty(), c.overviewFails && GetParam().id == ReportId::Overview);
        if (builtError.empty())
            EXPECT_EQ(streamed.rows, built);
        else
            EXPECT_TRUE(streamed.rows.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(EveryReport, StreamedReport, ::testing::ValuesIn(FixedReports().begin(), FixedReports().end()),
                         [](const auto& test) {
                             std::string name;
                             for (char c : test.param.cliName)
                                 if (c != '-') name += c;
                             return name;
                         });

TEST(ReportCli, NotEnoughMemoryToBuild) {
    if (!oryx::testing::kMemoryLimitsWork) GTEST_SKIP() << "no memory limits under the address sanitizer";
    ScratchDir dir;
    const std::string file = dir.Write(
        "node.txt", "start prov\nadd AtmIf/1\nset AtmIf/1 interfaceName " + std::string(4u << 20, 'n') + "\n");
    std::string keys = "[Big]\n";
    for (int i = 0; i < 30; ++i) keys += "k" + std::to_string(i) + "=AtmIf/1 &interfacename\n";
    const std::string one = dir.Write("one.cfg", "[Big]\nk=AtmIf/1 &interfacename\n");
    const std::string thirty = dir.Write("thirty.cfg", keys);
    const std::string limit = "ulimit -v 60000; ";
    EXPECT_EQ(RunCli({"custom", "Big", file, "--config", one}, limit).exitCode, 0);  // reading fits
    const CliResult r = RunCli({"custom", "big", file, "--config", thirty}, limit);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "oryx-cli: not enough memory to build the big report\n");
}

TEST(ReportCli, WriteErrorIsAFailure) {
    ScratchDir dir;
    const std::string file = dir.Write("node.txt", kNode);
    EXPECT_EQ(ExitStatusOnFullDisk({"report", "atmif", file}), 1);
}

}  // namespace
}  // namespace oryx::reports::test
