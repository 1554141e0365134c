// oryx-cli history, run as a user runs it, over series of small nodes.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "cli_runner.h"

namespace oryx::testing {
namespace {

using Strings = std::vector<std::string>;

// Runs oryx-cli in `dir`, so that the files are named as given.
CliResult RunIn(const TempDir& dir, const Strings& args) {
    return RunCli(args, "cd " + ShellQuote(dir.Path().string()) + " && ");
}

// Three versions of one node in both formats: a card changes and gains a
// line, an interface goes and comes back, a card comes and goes, letter case
// of a value changes, and a name is given twice.
constexpr std::string_view kVersions[] = {
    "start prov\r\n"
    "add Mod\r\n"
    "set Mod nodeName Haly31\r\n"
    "add Shelf\r\n"
    "add Shelf Card/3\r\n"
    "set Shelf Card/3 cardType aal1Ces, spareCard 0, stamp 1\r\n"
    "add Lp/3\r\n"
    "add Lp/3 E1/0\r\n"
    "add Lp/3 E1/0 Chan/0\r\n"
    "add AtmIf/21 Vcc/0.32\r\n"
    "set AtmIf/21 Vcc/0.32 td 100, TD 200\r\n",

    "configure Shelf\n"
    "configure Card/3\n"
    "set cardType e3Atm\n"
    "set stamp 2\n"
    "set spareCard 0\n"
    "set note say \"hi\", really\n"
    "return\n"
    "configure Card/4\n"
    "return\n"
    "return\n"
    "configure Mod\n"
    "set nodeName Haly31\n"
    "return\n"
    "configure AtmIf/21\n"
    "configure Vcc/0.32\n"
    "set td 100\n"
    "set td 300\n",

    "start prov\r\n"
    "add Mod\r\n"
    "set Mod nodeName Haly31\r\n"
    "add Shelf\r\n"
    "add Shelf Card/3\r\n"
    "set Shelf Card/3 cardType E3ATM, spareCard 0, stamp 3\r\n"
    "add Lp/3\r\n"
    "add Lp/3 E1/1\r\n"
    "add AtmIf/21 Vcc/0.32\r\n"
    "set AtmIf/21 Vcc/0.32 td 100\r\n",
};

std::vector<std::string> DiffLines(const std::string& out) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < out.size();) {
        const std::size_t end = out.find('\n', start);
        lines.push_back(out.substr(start, end + 1 - start));
        start = end + 1;
    }
    return lines;
}

struct SeriesCase {
    const char* name;
    Strings files;  // names of kVersions written as v0, v1, v2
    Strings options;
    bool csv;
};

class HistorySeries : public ::testing::TestWithParam<SeriesCase> {};

// Each pair gives what `diff` gives for it: the heading carries diff's
// summary line, the text its other lines, the CSV its rows after two cells.
TEST_P(HistorySeries, MatchesPairwiseDiff) {
    const SeriesCase& c = GetParam();
    TempDir dir;
    for (std::size_t v = 0; v < std::size(kVersions); ++v) dir.Write("v" + std::to_string(v), kVersions[v]);
    std::string expected = c.csv ? "\"from\",\"to\",\"change\",\"path\",\"attribute\",\"old\",\"new\"\r\n" : "";
    int expectedExit = 0;
    for (std::size_t i = 1; i < c.files.size(); ++i) {
        Strings diff{"diff", c.files[i - 1], c.files[i]};
        diff.insert(diff.end(), c.options.begin(), c.options.end());
        const CliResult pair = RunIn(dir, diff);
        ASSERT_TRUE(pair.exitCode == 0 || pair.exitCode == 3) << pair.err;
        if (pair.exitCode == 3) expectedExit = 3;
        std::vector<std::string> lines = DiffLines(pair.out);
        if (c.csv) {
            for (std::size_t l = 1; l < lines.size(); ++l)
                expected += "\"" + c.files[i - 1] + "\",\"" + c.files[i] + "\"," + lines[l];
        } else {
            expected += "== " + c.files[i - 1] + " -> " + c.files[i] + ": " + lines.back();
            for (std::size_t l = 0; l + 1 < lines.size(); ++l) expected += lines[l];
        }
    }
    Strings history{"history"};
    history.insert(history.end(), c.files.begin(), c.files.end());
    history.insert(history.end(), c.options.begin(), c.options.end());
    const CliResult result = RunIn(dir, history);
    EXPECT_EQ(result.out, expected);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.exitCode, expectedExit);
}

const SeriesCase kSeriesCases[] = {
    {"text", {"v0", "v1", "v2"}, {}, false},
    {"ignored_name", {"v0", "v1", "v2"}, {"--ignore", "STAMP"}, false},
    {"ignored_case", {"v0", "v1", "v2"}, {"--ignore-case", "--format", "text"}, false},
    {"csv", {"v0", "v1", "v2"}, {"--format", "csv"}, true},
    {"csv_ignored", {"v2", "v0", "v1"}, {"--format", "csv", "--ignore", "note"}, true},
    {"unchanged_pair", {"v1", "v1", "v2"}, {}, false},
    {"unchanged", {"v2", "v2"}, {}, false},
};

INSTANTIATE_TEST_SUITE_P(HistoryCli, HistorySeries, ::testing::ValuesIn(kSeriesCases),
                         [](const auto& test) { return std::string(test.param.name); });

// A virtual circuit goes and comes back, an interface changes and gains a
// channel.
constexpr std::string_view kFilterVersions[] = {
    "start prov\n"
    "add AtmIf/21\n"
    "set AtmIf/21 interfaceName Lp/3\n"
    "add AtmIf/21 Vcc/0.32\n"
    "set AtmIf/21 Vcc/0.32 type spvc\n"
    "add AtmIf/21 Vcc/0.32 Vcd\n"
    "set AtmIf/21 Vcc/0.32 Vcd trafficDescriptor 2000, serviceCategory ubr\n"
    "add Lp/4\n"
    "set Lp/4 mainCard Shelf Card/4\n"
    "add Lp/4 DS1/1\n"
    "set Lp/4 DS1/1 lineType esf\n",

    "start prov\n"
    "add AtmIf/21\n"
    "set AtmIf/21 interfaceName Lp/3\n"
    "add Lp/4\n"
    "set Lp/4 mainCard Shelf Card/5\n"
    "add Lp/4 DS1/1\n"
    "set Lp/4 DS1/1 lineType d4\n",

    "start prov\n"
    "add AtmIf/21\n"
    "set AtmIf/21 interfaceName Lp/3\n"
    "add AtmIf/21 Vcc/0.32\n"
    "set AtmIf/21 Vcc/0.32 type spvc\n"
    "add AtmIf/21 Vcc/0.32 Vcd\n"
    "set AtmIf/21 Vcc/0.32 Vcd trafficDescriptor 3000, serviceCategory ubr\n"
    "add Lp/4\n"
    "set Lp/4 mainCard Shelf Card/5, spareCard Shelf Card/6\n"
    "add Lp/4 DS1/1\n"
    "set Lp/4 DS1/1 lineType d4\n"
    "add Lp/4 DS1/2\n"
    "set Lp/4 DS1/2 lineType esf\n",
};

struct OutputCase {
    const char* name;
    Strings options;
    std::string out;
    int exitCode;
    std::string err = {};
};

class HistoryFilters : public ::testing::TestWithParam<OutputCase> {};

TEST_P(HistoryFilters, KeepWhatTheyName) {
    const OutputCase& c = GetParam();
    TempDir dir;
    Strings args{"history"};
    for (std::size_t v = 0; v < std::size(kFilterVersions); ++v)
        args.push_back(dir.Write("f" + std::to_string(v), kFilterVersions[v]).substr(dir.Path().string().size() + 1));
    args.insert(args.end(), c.options.begin(), c.options.end());
    const CliResult result = RunIn(dir, args);
    EXPECT_EQ(result.out, c.out);
    EXPECT_EQ(result.err, c.err);
    EXPECT_EQ(result.exitCode, c.exitCode);
}

const OutputCase kFilterCases[] = {
    {"component_beneath_a_removed_one",
     {"--path", "atmif/21 VCC/0.32 vcd"},
     "== f0 -> f1: 0 added, 1 removed, 0 changed\n"
     "- AtmIf/21 Vcc/0.32  (1 component beneath)\n"
     "== f1 -> f2: 1 added, 0 removed, 0 changed\n"
     "+ AtmIf/21 Vcc/0.32  (1 component beneath)\n",
     3},
    {"component_alone",
     {"--path", "Lp/4"},
     "== f0 -> f1: 0 added, 0 removed, 1 changed\n"
     "~ Lp/4\n"
     "  - mainCard=Shelf Card/4\n"
     "  + mainCard=Shelf Card/5\n"
     "== f1 -> f2: 0 added, 0 removed, 1 changed\n"
     "~ Lp/4\n"
     "  + spareCard=Shelf Card/6\n",
     3},
    {"component_named_joined",
     {"--path=Lp/4", "--attr=sparecard"},
     "== f0 -> f1: 0 added, 0 removed, 0 changed\n"
     "== f1 -> f2: 0 added, 0 removed, 1 changed\n"
     "~ Lp/4\n"
     "  + spareCard=Shelf Card/6\n",
     3},
    {"component_and_below",
     {"--below", "--path", "Lp/4"},
     "== f0 -> f1: 0 added, 0 removed, 2 changed\n"
     "~ Lp/4\n"
     "  - mainCard=Shelf Card/4\n"
     "  + mainCard=Shelf Card/5\n"
     "~ Lp/4 DS1/1\n"
     "  - lineType=esf\n"
     "  + lineType=d4\n"
     "== f1 -> f2: 1 added, 0 removed, 1 changed\n"
     "~ Lp/4\n"
     "  + spareCard=Shelf Card/6\n"
     "+ Lp/4 DS1/2\n",
     3},
    {"attributes",
     {"--attr", "LINETYPE", "--attr", "trafficdescriptor"},
     "== f0 -> f1: 0 added, 1 removed, 1 changed\n"
     "- AtmIf/21 Vcc/0.32  (1 component beneath)\n"
     "~ Lp/4 DS1/1\n"
     "  - lineType=esf\n"
     "  + lineType=d4\n"
     "== f1 -> f2: 2 added, 0 removed, 0 changed\n"
     "+ AtmIf/21 Vcc/0.32  (1 component beneath)\n"
     "+ Lp/4 DS1/2\n",
     3},
    {"attribute_the_component_lacks",
     {"--attr", "type", "--path", "AtmIf/21 Vcc/0.32 Vcd"},
     "== f0 -> f1: 0 added, 0 removed, 0 changed\n"
     "== f1 -> f2: 0 added, 0 removed, 0 changed\n",
     0},
    {"attribute_left_out",
     {"--attr", "trafficDescriptor", "--ignore", "TRAFFICDESCRIPTOR"},
     "== f0 -> f1: 0 added, 0 removed, 0 changed\n"
     "== f1 -> f2: 0 added, 0 removed, 0 changed\n",
     0},
    {"no_such_component",
     {"--path", "Lp/4 DS1"},
     "== f0 -> f1: 0 added, 0 removed, 0 changed\n"
     "== f1 -> f2: 0 added, 0 removed, 0 changed\n",
     0},
    {"csv",
     {"--path", "Lp/4", "--below", "--attr", "lineType", "--format", "csv"},
     "\"from\",\"to\",\"change\",\"path\",\"attribute\",\"old\",\"new\"\r\n"
     "\"f0\",\"f1\",\"changed\",\"Lp/4 DS1/1\",\"lineType\",\"esf\",\"d4\"\r\n"
     "\"f1\",\"f2\",\"added\",\"Lp/4 DS1/2\",\"\",\"\",\"\"\r\n",
     3},
    {"tsv",
     {"--path", "Lp/4", "--format", "tsv"},
     "from\tto\tchange\tpath\tattribute\told\tnew\r\n"
     "f0\tf1\tchanged\tLp/4\tmainCard\tShelf Card/4\tShelf Card/5\r\n"
     "f1\tf2\tadded\tLp/4\tspareCard\t\tShelf Card/6\r\n",
     3},
    {"json_without_rows", {"--path", "Nope", "--format", "json"}, "[]\n", 0},
};

INSTANTIATE_TEST_SUITE_P(HistoryCli, HistoryFilters, ::testing::ValuesIn(kFilterCases),
                         [](const auto& test) { return std::string(test.param.name); });

// Lp/4 DS1/1 appears in the second version, is gone in the third (of another
// node) and comes back in the fourth; lineType is given more than once.
constexpr std::string_view kValueVersions[] = {
    "start prov\n"
    "add Mod\n"
    "set Mod nodeName HALY31\n"
    "add Lp/4\n",

    "start prov\n"
    "add Mod\n"
    "set Mod nodeName HALY31\n"
    "add Lp/4\n"
    "add Lp/4 DS1/1\n"
    "set Lp/4 DS1/1 lineType esf, clockingSource line\n"
    "set Lp/4 DS1/1 lineType d4\n",

    "configure Mod\n"
    "set nodeName HALY32\n"
    "return\n"
    "configure Lp/4\n",

    "configure Mod\n"
    "set nodeName HALY31\n"
    "return\n"
    "configure Lp/4\n"
    "configure DS1/1\n"
    "set clockingSource local\n"
    "set LINETYPE e1\n"
    "set loopback off\n"
    "set linetype \"x\"\n"
    "set linetype y\n",
};

constexpr std::string_view kNodeNotes =
    "oryx-cli: versions of different nodes: 'HALY31' in d1, 'HALY32' in d2\n"
    "oryx-cli: versions of different nodes: 'HALY32' in d2, 'HALY31' in d3\n";

class HistoryValues : public ::testing::TestWithParam<OutputCase> {};

TEST_P(HistoryValues, OneColumnPerVersion) {
    const OutputCase& c = GetParam();
    TempDir dir;
    for (std::size_t v = 0; v < std::size(kValueVersions); ++v) dir.Write("d" + std::to_string(v), kValueVersions[v]);
    Strings args{"history", "--values", "--path", "Lp/4 ds1/1", "d0", "d1", "d2", "d3"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const CliResult result = RunIn(dir, args);
    EXPECT_EQ(result.out, c.out);
    EXPECT_EQ(result.err, kNodeNotes);
    EXPECT_EQ(result.exitCode, c.exitCode);
}

const OutputCase kValueCases[] = {
    {"csv",
     {},
     "\"Attribute\",\"d0\",\"d1\",\"d2\",\"d3\"\r\n"
     "lineType,\"\",\"esf\",\"\",\"e1\"\r\n"
     "lineType,\"\",\"d4\",\"\",\"\"\"x\"\"\"\r\n"
     "lineType,\"\",\"\",\"\",\"y\"\r\n"
     "clockingSource,\"\",\"line\",\"\",\"local\"\r\n"
     "loopback,\"\",\"\",\"\",\"off\"\r\n",
     0},
    {"tsv_ignoring_a_name",
     {"--format", "tsv", "--ignore", "LINETYPE"},
     "Attribute\td0\td1\td2\td3\r\n"
     "clockingSource\t\tline\t\tlocal\r\n"
     "loopback\t\t\t\toff\r\n",
     0},
    {"json",
     {"--format", "json", "--ignore", "lineType", "--ignore", "clockingsource"},
     "[\n"
     "  {\n"
     "    \"Attribute\": \"loopback\",\n"
     "    \"d0\": \"\",\n"
     "    \"d1\": \"\",\n"
     "    \"d2\": \"\",\n"
     "    \"d3\": \"off\"\n"
     "  }\n"
     "]\n",
     0},
};

INSTANTIATE_TEST_SUITE_P(HistoryCli, HistoryValues, ::testing::ValuesIn(kValueCases),
                         [](const auto& test) { return std::string(test.param.name); });

// The run stops at a file that cannot be read; what was printed stays.
class HistoryHoles : public ::testing::TestWithParam<OutputCase> {};

TEST_P(HistoryHoles, StopTheRun) {
    const OutputCase& c = GetParam();
    TempDir dir;
    dir.Write("a", "start prov\nadd Lp/1\n");
    dir.Write("b", "start prov\nadd Lp/2\n");
    dir.Write("c", "start prov\nadd Lp/3\n");
    const CliResult result = RunIn(dir, c.options);
    EXPECT_EQ(result.out, c.out);
    EXPECT_EQ(result.err, c.err);
    EXPECT_EQ(result.exitCode, c.exitCode);
}

const OutputCase kHoleCases[] = {
    {"second_of_three",
     {"history", "a", "gone", "c"},
     "",
     1,
     "oryx-cli: cannot read 'gone': No such file or directory\n"},
    {"third_of_four",
     {"history", "a", "b", "gone", "c"},
     "== a -> b: 1 added, 1 removed, 0 changed\n"
     "- Lp/1\n"
     "+ Lp/2\n",
     1,
     "oryx-cli: cannot read 'gone': No such file or directory\n"},
    {"csv",
     {"history", "--format", "csv", "a", "b", "gone", "c"},
     "\"from\",\"to\",\"change\",\"path\",\"attribute\",\"old\",\"new\"\r\n"
     "\"a\",\"b\",\"removed\",\"Lp/1\",\"\",\"\",\"\"\r\n"
     "\"a\",\"b\",\"added\",\"Lp/2\",\"\",\"\",\"\"\r\n",
     1,
     "oryx-cli: cannot read 'gone': No such file or directory\n"},
    {"values",
     {"history", "--values", "--path", "Lp/1", "a", "gone"},
     "",
     1,
     "oryx-cli: cannot read 'gone': No such file or directory\n"},
    {"option_after_end_of_options",
     {"history", "a", "--", "--values"},
     "",
     1,
     "oryx-cli: cannot read '--values': No such file or directory\n"},
};

INSTANTIATE_TEST_SUITE_P(HistoryCli, HistoryHoles, ::testing::ValuesIn(kHoleCases),
                         [](const auto& test) { return std::string(test.param.name); });

// Output that cannot be written fails the run, in every form.
TEST(HistoryCli, WriteErrorIsAFailure) {
    TempDir dir;
    const std::string a = dir.Write("a", "start prov\nadd Lp/1\n");
    const std::string b = dir.Write("b", "start prov\nadd Lp/2\n");
    for (const Strings& args : {Strings{"history", a, b}, Strings{"history", a, a, "--format", "json"},
                                Strings{"history", a, b, "--values", "--path", "Lp/1"}})
        EXPECT_EQ(ExitStatusOnFullDisk(args), 1) << args.back();
}

struct UsageCase {
    const char* name;
    Strings args;
    std::string message;
};

class HistoryUsage : public ::testing::TestWithParam<UsageCase> {};

TEST_P(HistoryUsage, IsRefused) {
    const UsageCase& c = GetParam();
    Strings args{"history"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const CliResult result = RunCli(args);
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err.substr(0, result.err.find('\n') + 1), "oryx-cli: " + c.message + "\n");
}

const UsageCase kUsageCases[] = {
    {"no_file", {}, "history takes two FILEs or more"},
    {"one_file", {"a"}, "history takes two FILEs or more"},
    {"values_without_files", {"--values", "--path", "Lp/1"}, "history takes one FILE or more"},
    {"values_without_path", {"a", "b", "--values"}, "--values needs --path"},
    {"values_below", {"a", "--values", "--path", "Lp/1", "--below"}, "--values takes neither --below nor --attr"},
    {"values_attr", {"a", "--values", "--path", "Lp/1", "--attr", "x"}, "--values takes neither --below nor --attr"},
    {"values_as_text", {"a", "--values", "--path", "Lp/1", "--format", "text"}, "--values writes csv, tsv or json"},
    {"below_without_path", {"a", "b", "--below"}, "--below needs --path"},
    {"path_twice", {"a", "b", "--path", "x", "--path", "y"}, "--path given twice"},
    {"path_without_value", {"a", "b", "--path"}, "--path needs a component path"},
    {"format_twice", {"a", "b", "--format", "csv", "--format", "csv"}, "--format given twice"},
    {"unknown_format", {"a", "b", "--format", "x\x1b"}, "unknown format 'x\\x1B' (text, csv, tsv or json)"},
    {"unknown_option", {"a", "b", "--since"}, "unknown option '--since' for history"},
};

INSTANTIATE_TEST_SUITE_P(HistoryCli, HistoryUsage, ::testing::ValuesIn(kUsageCases),
                         [](const auto& test) { return std::string(test.param.name); });

}  // namespace
}  // namespace oryx::testing
