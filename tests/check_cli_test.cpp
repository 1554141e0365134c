// oryx-cli check: its outputs, summary and exit statuses.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli_runner.h"
#include "test_files.h"

namespace {

using oryx::testing::RunCli;
using oryx::testing::TempDir;

// Two nodes and a rules file, in a folder.
class CheckCli : public ::testing::Test {
protected:
    void SetUp() override {
        a_ = dir_.Write("a.txt",
                        "start prov\n"
                        "add Shelf Card/3\n"        // 2: missing-parent
                        "add Vr/1\n"                // 3
                        "set Vr/1 loopback on\n");  // 4: no-loopback (error)
        b_ = dir_.Write("b.txt",
                        "saved\r\n"
                        "return\r\n"            // 2: return-at-top (note)
                        "configure Vr/2\r\n");  // 3
        rules_ = dir_.Write("rules.yaml",
                            "rules:\n"
                            "  - {id: no-loopback, severity: error, path: 'Vr/*', forbid: [loopback]}\n"
                            "  - {id: has-vr1, exists: Vr/1}\n"
                            "  - {id: typo, path: 'Vr/* Pp/*', require: [x]}\n");  // 4: matches nothing
    }

    TempDir dir_;
    std::string a_, b_, rules_;
};

TEST_F(CheckCli, WritesCompilerLinesAndASummary) {
    const auto result = RunCli({"check", a_, b_, "--rules", rules_});
    EXPECT_EQ(result.out,
              a_ + ":2: warning: created 'Shelf' only; 'Card/3' below it was not created [missing-parent]\n" + a_ +
                  ":4: error: no-loopback: attribute 'loopback' is set [no-loopback]\n" + b_ +
                  ": warning: has-vr1: no component matches 'Vr/1' [has-vr1]\n" + b_ +
                  ":2: note: 'return' with no component entered [return-at-top]\n" + rules_ +
                  ":4: note: rule matched no component in any file [rule-unmatched]\n");
    EXPECT_EQ(result.err, "1 error, 2 warnings, 2 notes in 2 files\n");
    EXPECT_EQ(result.exitCode, 3);
}

// The JSON output parses back into the rows the text shows, File first.
TEST_F(CheckCli, JsonParsesBackToTheSameFindings) {
    const auto text = RunCli({"check", "--rules", rules_, a_, b_});
    const auto json = RunCli({"check", "--rules", rules_, a_, b_, "--format", "json", "-j", "2"});
    ASSERT_EQ(json.exitCode, 3);
    const nlohmann::ordered_json rows = nlohmann::ordered_json::parse(json.out);
    std::string fromJson;
    for (const auto& row : rows) {
        ASSERT_EQ(row.begin().key(), "File");
        const std::string line = row["Line"];
        fromJson += row["File"].get<std::string>() + (line.empty() ? "" : ":" + line) + ": " +
                    row["Severity"].get<std::string>() + ": " + row["Message"].get<std::string>() + " [" +
                    row["Check"].get<std::string>() + "]\n";
    }
    EXPECT_EQ(fromJson, text.out);
    EXPECT_EQ(rows[1]["Path"], "Vr/1");
}

struct ExitCase {
    const char* name;
    std::vector<std::string> args;  // "A", "B", "RULES" and "MISSING" stand for the files
    int exitCode;
};

class CheckExit : public CheckCli, public ::testing::WithParamInterface<ExitCase> {};

TEST_P(CheckExit, Status) {
    std::vector<std::string> args{"check"};
    for (const std::string& arg : GetParam().args) {
        if (arg == "A")
            args.push_back(a_);
        else if (arg == "B")
            args.push_back(b_);
        else if (arg == "RULES")
            args.push_back(rules_);
        else if (arg == "MISSING")
            args.push_back((dir_.Path() / "missing.txt").string());
        else
            args.push_back(arg);
    }
    const auto result = RunCli(args);
    EXPECT_EQ(result.exitCode, GetParam().exitCode) << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CheckExit,
    ::testing::Values(ExitCase{"WarningFailsByDefault", {"A"}, 3}, ExitCase{"NoteDoesNot", {"B"}, 0},
                      ExitCase{"FailOnError", {"A", "--fail-on", "error"}, 0},
                      ExitCase{"FailOnErrorWithRules", {"A", "--rules", "RULES", "--fail-on=error"}, 3},
                      ExitCase{"FailOnNote", {"B", "--fail-on", "note"}, 3},
                      ExitCase{"UnreadableFileWinsOverFindings", {"A", "MISSING"}, 1},
                      ExitCase{"UnreadableRules", {"B", "--rules", "MISSING"}, 1},
                      ExitCase{"NoFile", {"--rules", "RULES"}, 2}, ExitCase{"BadFailOn", {"A", "--fail-on", "x"}, 2},
                      ExitCase{"BadFormat", {"A", "--format", "xml"}, 2}),
    [](const ::testing::TestParamInfo<ExitCase>& param) { return std::string(param.param.name); });

// A file that cannot be read is reported in its place; the others' findings
// are still written.
TEST_F(CheckCli, UnreadableFileIsReportedAndTheOthersChecked) {
    const std::string missing = (dir_.Path() / "missing.txt").string();
    const auto result = RunCli({"check", missing, b_, "--format", "csv"});
    EXPECT_EQ(result.out, "\"File\",\"Line\",\"Severity\",\"Check\",\"Path\",\"Message\"\r\n" + b_ +
                              ",\"2\",\"note\",\"return-at-top\",\"\",\"'return' with no component entered\"\r\n");
    EXPECT_NE(result.err.find("missing.txt"), std::string::npos);
    EXPECT_EQ(result.exitCode, 1);
}

}  // namespace
