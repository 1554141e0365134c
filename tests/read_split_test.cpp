#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "check/check_file.h"
#include "check/rule_checks.h"
#include "check/rules_file.h"
#include "param_name.h"
#include "prov/component_store.h"
#include "prov/read_diagnostics.h"
#include "prov/reader.h"
#include "prov/tree_text.h"
#include "reports/csv_export.h"
#include "reports/report_error.h"
#include "reports/report_registry.h"
#include "test_files.h"

namespace {

using oryx::prov::BatchCuts;
using oryx::prov::ReadSplit;

// What a read makes visible: the shape, the tree text, the attribute lines,
// every fixed report's CSV and the reader's findings with their lines.
std::string Everything(const std::string& file, const ReadSplit& split) {
    oryx::prov::ComponentStore store;
    oryx::prov::ReadDiagnostics diagnostics;
    const oryx::prov::FileShape shape = oryx::prov::ReadProvisioningFile(file, store, &diagnostics, split);
    std::ostringstream text;
    text << (shape.startProv ? "start-prov " : "configure ") << shape.lines << " lines\n";
    oryx::prov::WriteTreeText(store, text);
    // Every node's attribute lines, in the order the nodes were made, with the
    // file line each came from.
    text << "== lines\n";
    for (const auto& run : store.NodeRuns())
        for (std::size_t i = 0; i < run.count; ++i) {
            const oryx::prov::FileLineRange lines = run.first[i].Attributes().FileLines();
            for (auto line = lines.begin(); line != lines.end(); ++line)
                text << diagnostics.AttributeLine(store, line.Id()) << ' ' << *line << '\n';
        }
    for (const oryx::reports::ReportInfo& report : oryx::reports::FixedReports()) {
        text << "== " << report.cliName << '\n';
        oryx::reports::ReportRows rows;
        try {
            oryx::reports::BuildReportRows(report.id, store, rows);
        } catch (const oryx::reports::ReportError& e) {
            text << e.what() << '\n';
        }
        oryx::reports::WriteCsv(report.columns, rows, [&](std::string_view csv) { text << csv; });
    }
    text << "== check\n";
    oryx::check::RuleSet rules;
    oryx::check::RuleRunner runner(rules);
    for (const oryx::check::Finding& f : oryx::check::CheckStore(store, diagnostics, rules, runner))
        text << f.line << '|' << oryx::check::SeverityName(f.severity) << '|' << f.check << '|' << f.path << '|'
             << f.message << '\n';
    return text.str();
}

ReadSplit Serial() { return {ReadSplit::Mode::Serial, {}}; }
using PairWork = BatchCuts::PairWork;
ReadSplit CutAfter(std::vector<std::size_t> lines, std::size_t batchBytes = 1 << 20,
                   PairWork work = PairWork::Automatic) {
    return {ReadSplit::Mode::Parallel, BatchCuts{batchBytes, std::move(lines), work}};
}

// Small files of every kind of line, the line ends mixed.
const char kSmallStartProv[] =
    "start prov\r\n"
    "add Shelf\n"
    "set Shelf shelfType mss, nodeName n1\r"
    "add Shelf Card/0\n"
    "set Shelf Card/0 cardType eth,  spareCard 1 ,, lone,\n"
    "set shelf card/0 adminState locked\n"
    "set Shelf Card/9 cardType x\n"
    "add AtmIf/1 Vcc/0.100 Nrp\n"
    "set AtmIf/1 Vcc/0.100 atmConnection Lp/0\n"
    "add SHELF\n"
    "\x01 add Lp/0 \t\n"
    "set Lp/0 mainCard Shelf Card/0\n"
    "# a comment\n"
    "\n"
    "bogus line\n"
    "add  Vr/1  Pp/eth1\n"
    "set  Vr/1  Pp/eth1 ipAddress 10.0.0.1\n"
    "set\n"
    "add\n"
    "set Lp/0\n"
    "end prov";

const char kSmallConfigure[] =
    "# saved by the node\r"
    "configure Shelf\r"
    "set shelfType mss, nodeName n1\r"
    "configure Card/0\r\n"
    "set cardType eth\n"
    "return\n"
    "return\n"
    "return\n"
    "configured Card/3\n"
    "configure AtmIf/1\n"
    "configure Vcc/0.100\n"
    "configure Nrp\n"
    "set atmConnection Lp/0,,\n"
    "return\n"
    "configured Nrp\n"
    "configure Lp 0\n"
    "set mainCard Shelf Card/0\n"
    "something else\n"
    "configure Vr/1\n"
    "configure Pp/eth1\n"
    "set ipAddress 10.0.0.1";

// A larger file of the same kinds of lines, with random choices.
std::string LargeFile(bool startProv) {
    std::mt19937 random(7);
    const auto pick = [&](unsigned n) { return random() % n; };
    std::string text = startProv ? "start prov\n" : "# saved\n";
    const char* const ends[] = {"\n", "\r\n", "\r"};
    for (unsigned i = 0; i < 2500; ++i) {
        const std::string n = std::to_string(i), end = ends[pick(3)];
        if (startProv) {
            text += "add Shelf Card/" + n + end + "set Shelf Card/" + n + " cardType eth, spareCard " + n + end;
            if (pick(4) == 0) text += "add AtmIf/" + n + " Vcc/0." + n + end;
            if (pick(5) == 0) text += "set AtmIf/" + n + " Vcc/0." + n + " atmConnection Lp/" + n + " ,,x" + end;
            if (pick(6) == 0) text += "add Lp/" + n + end + "set lp/" + n + " mainCard Shelf Card/" + n + end;
            if (pick(9) == 0) text += "add shelf CARD/" + n + end + "# note" + end + end + "odd line" + end;
        } else {
            text += "configure Card/" + n + end + "set cardType eth, spareCard " + n + end;
            if (pick(3) == 0) text += "configure AtmIf/" + n + end + "configure Vcc/0." + n + end + "set a b" + end;
            if (pick(4) == 0) text += "return" + end;
            if (pick(5) == 0) text += "configured Lp/" + n + end + "set mainCard x, y" + end;
            if (pick(7) == 0) text += "return" + end + "return" + end + "return" + end + "return" + end;
            if (pick(9) == 0) text += "odd line" + end + end + "set" + end;
        }
    }
    return text;
}

struct SplitCase {
    const char* name;
    std::string bytes;
    bool cutEveryLine;  // else at random places
};

class ReadSplitTest : public ::testing::TestWithParam<SplitCase> {};

// The model, the reports and the findings are those of the serial read
// wherever the file is cut into batches.
TEST_P(ReadSplitTest, SameWhereverCut) {
    const SplitCase& c = GetParam();
    oryx::testing::TempDir dir;
    const std::string file = dir.Write("node.txt", c.bytes);
    const std::string serial = Everything(file, Serial());
    const std::size_t lines = std::stoul(serial.substr(serial.find(' ') + 1));
    ASSERT_GT(lines, 10u);
    EXPECT_EQ(Everything(file, CutAfter({})), serial);
    // The set pairs cut and joined on the reading thread or on the walk's.
    for (const PairWork work : {PairWork::CutAndJoin, PairWork::CutOnly, PairWork::None})
        EXPECT_EQ(Everything(file, CutAfter({}, 1, work)), serial);  // a batch per line
    if (c.cutEveryLine) {
        for (std::size_t line = 1; line <= lines; ++line)
            EXPECT_EQ(Everything(file, CutAfter({line}, 1 << 20, line % 2 ? PairWork::CutAndJoin : PairWork::CutOnly)),
                      serial)
                << "cut after line " << line;
    } else {
        std::mt19937 random(11);
        std::vector<std::size_t> cuts;
        for (int i = 0; i < 300; ++i) cuts.push_back(1 + random() % lines);
        std::sort(cuts.begin(), cuts.end());
        EXPECT_EQ(Everything(file, CutAfter(cuts, 1 << 20, PairWork::CutAndJoin)), serial);
        EXPECT_EQ(Everything(file, CutAfter({}, 4096)), serial);
    }
}

INSTANTIATE_TEST_SUITE_P(Files, ReadSplitTest,
                         ::testing::Values(SplitCase{"SmallStartProv", kSmallStartProv, true},
                                           SplitCase{"SmallConfigure", kSmallConfigure, true},
                                           SplitCase{"LargeStartProv", LargeFile(true), false},
                                           SplitCase{"LargeConfigure", LargeFile(false), false}),
                         [](const auto& param) { return oryx::testing::ParamName(param.param.name, param.index); });

}  // namespace
