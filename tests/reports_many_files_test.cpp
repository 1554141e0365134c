// oryx-cli report, custom and summary over many files and folders, run as a
// separate process.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli_runner.h"
#include "reports/custom_report.h"
#include "reports/report_config.h"
#include "reports_test_support.h"

namespace oryx::reports::test {
namespace {

using oryx::testing::CliResult;
using oryx::testing::ReadBytes;
using oryx::testing::RunCli;
using oryx::testing::ShellQuote;
using Json = nlohmann::ordered_json;

constexpr std::string_view kNode =
    "start prov\r\n"
    "add Shelf\r\n"
    "add Shelf Card/0\r\n"
    "set Shelf Card/0 cardType \"CP\", cardNote a,b\r\n"
    "add AtmIf/1\r\n"
    "set AtmIf/1 interfaceName Lp/0 E1/0\r\n"
    "add AtmIf/1 Vcc/0.32\r\n"
    "add Mod\r\n"
    "set Mod nodeName HALY1\r\n";

constexpr std::string_view kConfig = "[Cards]\r\nCard 0=Shelf Card/0 &cardtype\r\n[Node]\r\nName=Mod &nodename\r\n";

// A start-prov node with `interfaces` ATM interfaces of `vccs` connections
// each, tagged so that every file's rows differ.
std::string AtmNode(int interfaces, int vccs, const std::string& tag) {
    std::string text = "start prov\n";
    for (int i = 1; i <= interfaces; ++i) {
        const std::string atmIf = "AtmIf/" + std::to_string(i);
        text += "add " + atmIf + "\nset " + atmIf + " interfaceName " + tag + "\n";
        for (int v = 32; v < 32 + vccs; ++v) {
            const std::string vcc = atmIf + " Vcc/0." + std::to_string(v);
            text += "add " + vcc + "\nadd " + vcc + " Nrp\nset " + vcc + " Nrp nextHop " + tag + "\n";
        }
    }
    return text;
}

// The text as a first cell of a CSV line: bare, or quoted with quotes doubled
// when it holds a comma, a quote, CR or LF.
std::string FirstCell(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

// The lines of a CSV output, without their CR LF (no cell here holds one).
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "output does not end with CR LF";
    return lines;
}

std::vector<std::string> Concat(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// What `command` over `files` must print: the header of the single-file
// output with "File", in front, then every file's own rows with its name in
// front, file after file.
std::string ExpectedTable(const std::vector<std::string>& command, const std::vector<std::string>& files) {
    std::string table;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const CliResult single = RunCli(Concat(command, {files[i]}));
        EXPECT_EQ(single.exitCode, 0) << files[i];
        const std::vector<std::string> lines = Lines(single.out);
        if (lines.empty()) return {};
        if (i == 0) table = "\"File\"," + lines[0] + "\r\n";
        for (std::size_t l = 1; l < lines.size(); ++l) table += FirstCell(files[i]) + "," + lines[l] + "\r\n";
    }
    return table;
}

// The sample nodes, a small node, a file name the CSV must quote, a node
// with Latin-1 bytes: every report and custom report over all of them at
// once is the single-file outputs with the File column, row for row.
TEST(ManyFilesCli, EveryReportIsTheSingleFileRowsWithTheirFile) {
    ScratchDir dir;
    const std::string examples = ORYX_EXAMPLES_DIR;
    const std::vector<std::string> files = {
        dir.Write("node31.txt", ReadBytes(examples + "/node31-startprov.txt")),
        dir.Write("node32.txt", ReadBytes(examples + "/node32-configure.txt")),
        dir.Write("small, \"quoted\".txt", kNode),
        dir.Write("latin.txt", "start prov\nadd Mod\nset Mod nodeName caf\xe9\nadd AtmIf/7\n"),
    };
    std::vector<std::vector<std::string>> commands;
    for (const ReportInfo& info : FixedReports()) commands.push_back({"report", std::string(info.cliName)});
    const std::string config = examples + "/" + std::string(kReportConfigFileName);
    for (const std::string& section : CustomReportMenuNames(ReportConfig::Load(config)))
        commands.push_back({"custom", "--config", config, section});
    for (const std::vector<std::string>& command : commands) {
        const std::string what = command.back();
        const std::string expected = ExpectedTable(command, files);
        ASSERT_FALSE(expected.empty()) << what;
        EXPECT_GT(Lines(expected).size(), 1u) << what;
        for (const char* jobs : {"1", "3"}) {
            const CliResult r = RunCli(Concat(Concat(command, files), {"-j", jobs}));
            EXPECT_EQ(r.exitCode, 0) << what;
            EXPECT_EQ(r.out, expected) << what << " -j " << jobs;
            EXPECT_EQ(r.err, "") << what;
        }
    }
}

// Files of very different sizes finish out of order under -j; the output is
// always in the order of the arguments, whatever the number of jobs.
TEST(ManyFilesCli, OrderOfTheFilesIsKeptUnderJobs) {
    ScratchDir dir;
    std::vector<std::string> files;
    for (int i = 0; i < 12; ++i) {
        const int interfaces = i % 4 == 0 ? 300 : 1 + i;
        files.push_back(
            dir.Write("node" + std::to_string(i) + ".txt", AtmNode(interfaces, 10, "n" + std::to_string(i))));
    }
    files.push_back(files[1]);  // a file named twice is reported twice
    const std::string expected = ExpectedTable({"report", "atmif-vcc"}, files);
    for (const char* jobs : {"1", "2", "5", "64"}) {
        const CliResult r = RunCli(Concat({"report", "atmif-vcc", "-j", jobs}, files));
        EXPECT_EQ(r.exitCode, 0) << jobs;
        EXPECT_EQ(r.out, expected) << "-j " << jobs;
        EXPECT_EQ(r.err, "") << jobs;
    }
    EXPECT_EQ(RunCli(Concat({"report", "atmif-vcc", "-j3"}, files)).out, expected);
    EXPECT_EQ(RunCli(Concat({"report", "atmif-vcc"}, files)).out, expected);
}

// A file that cannot be read, or whose report fails, is reported in its
// place, by its name, and skipped; the others still give their rows; the status is 1.
TEST(ManyFilesCli, FailedFilesAreReportedAndSkipped) {
    ScratchDir dir;
    const std::string first = dir.Write("first.txt", kNode);
    const std::string missing = (dir.Path() / "missing.txt").string();
    const std::string bad = dir.Write("bad.txt", "start prov\nadd Shelf\nadd Shelf Card/x1\n");
    const std::string last = dir.Write("last.txt", AtmNode(2, 1, "last"));
    const std::string folder = (dir.Path() / "folder").string();
    std::filesystem::create_directory(folder);
    const std::string fifo = (dir.Path() / "fifo").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);

    const std::string expected = ExpectedTable({"report", "overview"}, {first, last});
    const std::string errors = "oryx-cli: cannot read '" + missing +
                               "': No such file or directory\n"
                               "oryx-cli: '" +
                               bad + "': 'x1' is not a valid integer value\n" + "oryx-cli: cannot read '" + fifo +
                               "': not a regular file\n";
    for (const char* jobs : {"1", "4"}) {
        const CliResult r = RunCli({"report", "overview", "-j", jobs, first, missing, bad, fifo, last});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.out, expected) << jobs;
        EXPECT_EQ(r.err, errors) << jobs;
    }
    // Every file failing still gives the header and valid JSON.
    const CliResult none = RunCli({"report", "overview", missing, bad});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.out, Lines(expected)[0] + "\r\n");
    const CliResult json = RunCli({"report", "overview", "--format", "json", missing, bad});
    EXPECT_EQ(json.exitCode, 1);
    EXPECT_EQ(json.out, "[]\n");
    // A folder with no regular file is no failure.
    const CliResult empty = RunCli({"report", "overview", folder, first});
    EXPECT_EQ(empty.exitCode, 0);
    EXPECT_EQ(empty.out, ExpectedTable({"report", "overview"}, {first}));
    EXPECT_EQ(empty.err, "");
}

// The File cells of `summary` over the arguments, in output order.
std::vector<std::string> ListedFiles(const std::vector<std::string>& arguments) {
    const CliResult r = RunCli(Concat({"summary", "--format", "json"}, arguments));
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "");
    std::vector<std::string> files;
    for (const Json& row : Json::parse(r.out)) files.push_back(row["File"].get<std::string>());
    return files;
}

TEST(ManyFilesCli, FoldersListTheirRegularFilesInByteOrder) {
    ScratchDir scratch;
    const std::filesystem::path d = scratch.Path() / "nodes";
    for (const char* sub : {"sub/deeper", "sub2", "empty", "Zsub"}) std::filesystem::create_directories(d / sub);
    for (const char* name : {"b.txt", "a.txt", "B.txt", "sub/c.txt", "sub/deeper/e.txt", "sub2/f.txt", "Zsub/g.txt"})
        scratch.Write((std::filesystem::path("nodes") / name).string(), kNode);
    std::filesystem::create_symlink(d / "a.txt", d / "link.txt");
    std::filesystem::create_directory_symlink(d, d / "sub" / "loop");
    ASSERT_EQ(::mkfifo((d / "pipe").c_str(), 0600), 0);
    const std::string n = d.string();
    const std::string file = scratch.Write("single.txt", kNode);

    struct Case {
        std::vector<std::string> arguments;
        std::vector<std::string> files;
    } cases[] = {
        {{n}, {n + "/B.txt", n + "/a.txt", n + "/b.txt", n + "/link.txt"}},
        {{n + "/"}, {n + "/B.txt", n + "/a.txt", n + "/b.txt", n + "/link.txt"}},
        {{n, "--recursive"},
         {n + "/B.txt", n + "/a.txt", n + "/b.txt", n + "/link.txt", n + "/Zsub/g.txt", n + "/sub/c.txt",
          n + "/sub/deeper/e.txt", n + "/sub2/f.txt"}},
        {{n + "/sub", file, "--recursive", n + "/sub2"},
         {n + "/sub/c.txt", n + "/sub/deeper/e.txt", file, n + "/sub2/f.txt"}},
        {{n + "/empty"}, {}},
        {{n + "/empty", "--recursive"}, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(ListedFiles(c.arguments), c.files) << c.arguments[0];

    // A single folder holding a single file still shows the File column.
    const std::string expected = ExpectedTable({"report", "atmif"}, {n + "/sub2/f.txt"});
    const CliResult one = RunCli({"report", "atmif", n + "/sub2"});
    EXPECT_EQ(one.exitCode, 0);
    EXPECT_EQ(one.out, expected);
    const CliResult empty = RunCli({"report", "atmif", n + "/empty"});
    EXPECT_EQ(empty.exitCode, 0);
    EXPECT_EQ(empty.out,
              "\"File\",\"AtmIf\",\"interfaceName\",\"oamSB\",\"Ts\",\"Upc\",\"Pnni\",\"Uni Version\","
              "\"Uni Side\",\"Ilmi Operating Mode\"\r\n");
}

// A folder entry whose type cannot be read is a file that cannot be read:
// reported in its place, exit status 1. A link to a folder is skipped.
TEST(ManyFilesCli, FolderEntriesWhoseTypeCannotBeReadAreReported) {
    ScratchDir scratch;
    const std::filesystem::path d = scratch.Path() / "f\n\x1b[31m";
    const std::string shown = (scratch.Path() / "f\\x0A\\x1B[31m").string();
    std::filesystem::create_directories(d / "sub");
    scratch.Write("f\n\x1b[31m/a.txt", kNode);
    scratch.Write("f\n\x1b[31m/sub/e.txt", kNode);
    std::filesystem::create_symlink(d / "missing.txt", d / "b.txt");
    std::filesystem::create_symlink(d / "c.txt", d / "c.txt");
    std::filesystem::create_directory_symlink(d / "sub", d / "d");
    const std::string err = "oryx-cli: cannot read '" + shown + "/b.txt': No such file or directory\n" +
                            "oryx-cli: cannot read '" + shown + "/c.txt': Too many levels of symbolic links\n";
    const struct {
        std::vector<std::string> arguments;
        std::vector<std::string> files;  // the rows
    } cases[] = {
        {{"report", "atmif", d.string()}, {d.string() + "/a.txt"}},
        {{"report", "atmif", d.string(), "--recursive"}, {d.string() + "/a.txt", d.string() + "/sub/e.txt"}},
    };
    for (const auto& c : cases) {
        const CliResult r = RunCli(c.arguments);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, err);
        EXPECT_EQ(r.out, ExpectedTable({"report", "atmif"}, c.files));
    }
}

TEST(ManyFilesCli, TsvSeparatesByTabAndQuotesNothing) {
    ScratchDir dir;
    const std::string plain = dir.Write("plain.txt", kNode);
    const std::string odd =
        dir.Write("tab\there\nand \"quote\", comma.txt", "start prov\nadd Mod\nset Mod nodeName a\tb, nodeId \"7\"\n");
    const std::string oddShown = (dir.Path() / "tab here and \"quote\", comma.txt").string();
    const CliResult r =
        RunCli({"custom", "Node", plain, odd, "--format", "tsv", "--config", dir.Write("r.cfg", kConfig)});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, Crlf("File\tAttribute\tValue\n" + plain + "\tName\tHALY1\n" + oddShown + "\tName\ta b\n"));

    const CliResult single = RunCli({"report", "node-summary", odd, "--format=tsv"});
    EXPECT_EQ(single.exitCode, 0);
    const std::vector<std::string> lines = Lines(single.out);
    ASSERT_EQ(lines.size(), 13u);
    EXPECT_EQ(lines[0], "Attribute\tValue");
    EXPECT_EQ(lines[1], "nodeId\t\"7\"");
    EXPECT_EQ(lines[2], "nodeName\ta b");
}

// The JSON output parses back to the rows the reports build, keyed by the
// captions in column order, and is what dump(2) writes.
TEST(ManyFilesCli, JsonIsAnArrayOfRowObjects) {
    ScratchDir dir;
    const std::string examples = ORYX_EXAMPLES_DIR;
    const std::vector<std::string> files = {
        dir.Write("node31.txt", ReadBytes(examples + "/node31-startprov.txt")),
        dir.Write("caf\xe9.txt", AtmNode(3, 2, "caf\xe9")),
        dir.Write("utf8.txt", AtmNode(2, 2, "caf\xc3\xa9 \xe2\x82\xac")),
    };
    const std::string latin1Name = (dir.Path() / "caf\xc3\xa9.txt").string();
    for (const ReportInfo& info : FixedReports()) {
        for (bool many : {true, false}) {
            const std::vector<std::string> used = many ? files : std::vector<std::string>{files[0]};
            const CliResult r = RunCli(Concat({"report", std::string(info.cliName), "--format", "json"}, used));
            EXPECT_EQ(r.exitCode, 0) << info.cliName;
            EXPECT_EQ(r.err, "") << info.cliName;
            const Json parsed = Json::parse(r.out);
            EXPECT_EQ(r.out, parsed.dump(2) + "\n") << info.cliName;
            ASSERT_TRUE(parsed.is_array());
            std::size_t at = 0;
            for (const std::string& file : used) {
                ReportRows rows;
                prov::ComponentStore store;
                prov::ReadProvisioningFile(file, store);
                BuildReportRows(info.id, store, rows);
                for (const ReportRow& row : rows) {
                    ASSERT_LT(at, parsed.size()) << info.cliName;
                    const Json& object = parsed[at++];
                    Json expected = Json::object();
                    if (many) expected["File"] = file == files[1] ? latin1Name : file;
                    std::vector<std::string> cells{std::string(row.First())};
                    for (std::string_view cell : row.Cells()) cells.emplace_back(cell);
                    for (std::size_t c = 0; c < info.columns.size(); ++c) {
                        std::string value = cells[c];
                        // The second file's texts are Latin-1: é is byte E9.
                        for (std::size_t p; (p = value.find('\xe9')) != std::string::npos;)
                            value.replace(p, 1, "\xc3\xa9");
                        expected[std::string(info.columns[c].caption)] = value;
                    }
                    EXPECT_EQ(object, expected) << info.cliName << " " << object.dump();
                    EXPECT_EQ(object.begin().key(), many ? "File" : std::string(info.columns[0].caption));
                }
            }
            EXPECT_EQ(at, parsed.size()) << info.cliName;
        }
    }
    const CliResult utf8 = RunCli({"report", "atmif", files[2], "--format", "json"});
    EXPECT_NE(utf8.out.find("\"interfaceName\": \"caf\xc3\xa9 \xe2\x82\xac\""), std::string::npos) << utf8.out;
}

TEST(ManyFilesCli, SummaryHasOneRowPerFile) {
    ScratchDir dir;
    const std::string startProv = dir.Write("a.txt",
                                            "start prov\r\n"
                                            "add Mod\r\n"
                                            "set Mod nodeId 7, nodeName N7\r\n"
                                            "add Mod Vcs\r\n"
                                            "set Mod Vcs networkIdCode 3021\r\n"
                                            "add Shelf\r\n"
                                            "add Shelf Card/0\r\n"
                                            "add Shelf Card/1\r\n"
                                            "end prov\r\n");
    const std::string configure = dir.Write("b, c.txt",
                                            "# node 8\n"
                                            "configure Mod\n"
                                            "  set nodeId 8\n"
                                            "  configure Vcs\n"
                                            "    set defaultNumberingPlan e164\n"
                                            "  return\n"
                                            "return\n"
                                            "configure Rtg\n"
                                            "  configure Dpn\n"
                                            "    set routingId 208\n"
                                            "  return\n"
                                            "return");
    const std::string empty = dir.Write("empty.txt", "");
    const std::string missing = (dir.Path() / "missing.txt").string();
    const std::string header =
        "\"File\",\"Format\",\"Lines\",\"Components\",\"nodeId\",\"nodeName\",\"namsId\",\"regionId\",\"nodePrefix\","
        "\"networkIdCode\",\"defaultNumberingPlan\",\"primaryReference\",\"secondaryReference\",\"tertiaryReference\","
        "\"routingId\",\"moduleId\"\n";
    const std::string rowA =
        startProv + ",\"start-prov\",\"9\",\"5\",\"7\",\"N7\",\"\",\"\",\"\",\"3021\",\"\",\"\",\"\",\"\",\"\",\"\"\n";
    const std::string rowB =
        "\"" + configure +
        "\",\"configure\",\"12\",\"4\",\"8\",\"\",\"\",\"\",\"\",\"\",\"e164\",\"\",\"\",\"\",\"208\",\"\"\n";
    const std::string rowEmpty =
        empty + ",\"configure\",\"0\",\"0\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\n";

    const CliResult r = RunCli({"summary", startProv, configure, missing, empty, "-j", "2"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, Crlf(header + rowA + rowB + rowEmpty));
    EXPECT_EQ(r.err, "oryx-cli: cannot read '" + missing + "': No such file or directory\n");
    const CliResult one = RunCli({"summary", configure});
    EXPECT_EQ(one.exitCode, 0);
    EXPECT_EQ(one.out, Crlf(header + rowB));
    const CliResult failed = RunCli({"summary", missing});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_EQ(failed.out, "");
}

TEST(ManyFilesCli, ExitStatusesAndUsage) {
    ScratchDir dir;
    const std::string file = dir.Write("node.txt", kNode);
    const std::string missing = (dir.Path() / "missing.txt").string();
    struct Case {
        std::vector<std::string> args;
        int exitCode;
    } cases[] = {
        {{"report", "atmif", file, file}, 0},
        {{"report", "atmif", file, missing}, 1},
        {{"report", "atmif", dir.Path().string()}, 0},
        {{"summary", file, file, "--format", "tsv"}, 0},
        {{"report", "atmif", file, "-j", "0"}, 2},
        {{"report", "atmif", file, "-j", "two"}, 2},
        {{"report", "atmif", file, "-j"}, 2},
        {{"report", "atmif", file, "-j", "2", "-j", "3"}, 2},
        {{"report", "atmif", file, "--format", "xml"}, 2},
        {{"report", "atmif", file, "--format"}, 2},
        {{"custom", "Cards", file, "--format", "csv", "--format", "tsv"}, 2},
        {{"report", "atmif", "-j", "2"}, 2},
        {{"custom", "Cards", "--recursive"}, 2},
        {{"summary"}, 2},
        {{"summary", "--format", "json"}, 2},
    };
    for (const Case& c : cases) {
        const CliResult r = RunCli(c.args);
        std::string what;
        for (const std::string& a : c.args) what += a + " ";
        EXPECT_EQ(r.exitCode, c.exitCode) << what;
        if (c.exitCode == 2) {
            EXPECT_EQ(r.out, "") << what;
            EXPECT_NE(r.err.find("usage: oryx-cli"), std::string::npos) << what;
        }
        if (c.exitCode == 0) {
            EXPECT_EQ(r.err, "") << what;
        }
    }
    // One FILE with the new options in their default values prints what it always did.
    const std::string plain = RunCli({"report", "atmif", file}).out;
    EXPECT_EQ(RunCli({"report", "atmif", file, "-j", "3", "--format", "csv", "--recursive"}).out, plain);

    const CliResult help = RunCli({"--help"});
    for (const char* text : {"oryx-cli summary FILE...", "--format csv|tsv|json", "-j N", "--recursive"})
        EXPECT_NE(help.out.find(text), std::string::npos) << text;
}

// A reader that goes away ends the run: exit 1 with a message, not a silent kill.
TEST(ManyFilesCli, ClosedPipeOrFullDiskEndsTheRunWithStatus1) {
    ScratchDir dir;
    std::vector<std::string> files;
    for (int i = 0; i < 20; ++i) files.push_back(dir.Write("n" + std::to_string(i) + ".txt", AtmNode(50, 20, "x")));
    std::string command = ShellQuote(ORYX_CLI_PATH) + " report atmif-vcc -j 2";
    for (const std::string& f : files) command += " " + ShellQuote(f);
    const std::string err = (dir.Path() / "err").string();
    const std::string script = command + " 2>" + ShellQuote(err) + " | head -c 100 >/dev/null; exit ${PIPESTATUS[0]}";
    const int status = std::system(("bash -c " + ShellQuote(script)).c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(ReadBytes(err), "oryx-cli: cannot write the report: Broken pipe\n");

    const int full = std::system((command + " >/dev/full 2>" + ShellQuote(err)).c_str());
    EXPECT_EQ(WEXITSTATUS(full), 1);
    EXPECT_EQ(ReadBytes(err), "oryx-cli: cannot write the report: No space left on device\n");
}

}  // namespace
}  // namespace oryx::reports::test
