#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cli_runner.h"

namespace oryx::testing {
namespace {

constexpr std::string_view kBefore =
    "start prov\r\n"
    "add Shelf\r\n"
    "add Shelf Card/3\r\n"
    "set Shelf Card/3 cardType aal1Ces, spareCard 0, stamp 1\r\n"
    "add Lp/3\r\n"
    "add Lp/3 E1/0\r\n"
    "add Lp/3 E1/0 Chan/0\r\n"
    "add Lp/3 E1/1\r\n"
    "add Mod\r\n"
    "set Mod nodeName Haly31\r\n";

constexpr std::string_view kAfter =
    "configure Shelf\n"
    "configure Card/3\n"
    "set cardType e3Atm\n"
    "set stamp 2\n"
    "set spareCard 0\n"
    "set note say \"hi\"\n"
    "return\n"
    "configure Card/4\n"
    "return\n"
    "return\n"
    "configure Mod\n"
    "set nodeName HALY31\n";

TEST(DiffCli, TextAndCsv) {
    TempDir dir;
    const std::string before = dir.Write("before.txt", kBefore);
    const std::string after = dir.Write("after.txt", kAfter);
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        std::string out;
    } cases[] = {
        {{"diff", before, after},
         3,
         "- Lp/3  (3 components beneath)\n"
         "~ Mod\n"
         "  - nodeName=Haly31\n"
         "  + nodeName=HALY31\n"
         "~ Shelf Card/3\n"
         "  - cardType=aal1Ces\n"
         "  + cardType=e3Atm\n"
         "  - stamp=1\n"
         "  + stamp=2\n"
         "  + note=say \"hi\"\n"
         "+ Shelf Card/4\n"
         "1 added, 1 removed, 2 changed\n"},
        {{"diff", "--ignore-case", before, "--ignore", "STAMP", after, "--format", "text"},
         3,
         "- Lp/3  (3 components beneath)\n"
         "~ Shelf Card/3\n"
         "  - cardType=aal1Ces\n"
         "  + cardType=e3Atm\n"
         "  + note=say \"hi\"\n"
         "+ Shelf Card/4\n"
         "1 added, 1 removed, 1 changed\n"},
        {{"diff", "--format", "csv", before, after, "--ignore", "stamp", "--ignore", "note"},
         3,
         "\"change\",\"path\",\"attribute\",\"old\",\"new\"\r\n"
         "\"removed\",\"Lp/3\",\"\",\"\",\"\"\r\n"
         "\"changed\",\"Mod\",\"nodeName\",\"Haly31\",\"HALY31\"\r\n"
         "\"changed\",\"Shelf Card/3\",\"cardType\",\"aal1Ces\",\"e3Atm\"\r\n"
         "\"added\",\"Shelf Card/4\",\"\",\"\",\"\"\r\n"},
        {{"diff", after, before, "--format", "csv"},
         3,
         "\"change\",\"path\",\"attribute\",\"old\",\"new\"\r\n"
         "\"added\",\"Lp/3\",\"\",\"\",\"\"\r\n"
         "\"changed\",\"Mod\",\"nodeName\",\"HALY31\",\"Haly31\"\r\n"
         "\"changed\",\"Shelf Card/3\",\"cardType\",\"e3Atm\",\"aal1Ces\"\r\n"
         "\"changed\",\"Shelf Card/3\",\"stamp\",\"2\",\"1\"\r\n"
         "\"removed\",\"Shelf Card/3\",\"note\",\"say \"\"hi\"\"\",\"\"\r\n"
         "\"removed\",\"Shelf Card/4\",\"\",\"\",\"\"\r\n"},
        {{"diff", before, before}, 0, "0 added, 0 removed, 0 changed\n"},
        {{"diff", before, before, "--format", "csv"}, 0, "\"change\",\"path\",\"attribute\",\"old\",\"new\"\r\n"},
        {{"diff", "--", before, before}, 0, "0 added, 0 removed, 0 changed\n"},
    };
    for (const Case& c : cases) {
        const CliResult r = RunCli(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args.size();
        EXPECT_EQ(r.out, c.out) << c.args.size();
        EXPECT_EQ(r.err, "");
    }
}

TEST(DiffCli, SampleNodeInBothFormatsHasNoDifferences) {
    const std::string examples = ORYX_EXAMPLES_DIR;
    const CliResult r = RunCli({"diff", examples + "/node41-startprov.txt", examples + "/node41-configure.txt"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "0 added, 0 removed, 0 changed\n");
    const CliResult changed =
        RunCli({"diff", examples + "/node41-configure.txt", examples + "/node41-after-maintenance.txt"});
    EXPECT_EQ(changed.exitCode, 3);
    EXPECT_NE(changed.out.find("\n2 added, 2 removed, 4 changed\n"), std::string::npos);
}

TEST(DiffCli, ErrorsAndUsage) {
    TempDir dir;
    const std::string file = dir.Write("node.txt", kBefore);
    const std::string missing = (dir.Path() / "missing.txt").string();
    const std::string alsoMissing = (dir.Path() / "also-missing.txt").string();
    const std::string fifo = (dir.Path() / "fifo").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        std::string errorNames;  // what the one error line names, for exit status 1
        std::string errorOmits = "\x01";
    } cases[] = {
        {{"diff"}, 2, ""},
        {{"diff", file}, 2, ""},
        {{"diff", file, file, file}, 2, ""},
        {{"diff", file, file, "--format"}, 2, ""},
        {{"diff", file, file, "--format", "html"}, 2, ""},
        {{"diff", file, file, "--format", "csv", "--format", "text"}, 2, ""},
        {{"diff", file, file, "--ignore"}, 2, ""},
        {{"diff", file, file, "--ignorecase"}, 2, ""},
        {{"diff", missing, "--bogus", file}, 2, ""},
        {{"diff", missing, file}, 1, missing},
        {{"diff", file, missing}, 1, missing},
        {{"diff", file, dir.Path().string()}, 1, dir.Path().string()},
        // The files are read at once: the first file's error is the one
        // reported, and a second file nobody writes to is not waited for.
        {{"diff", missing, alsoMissing}, 1, missing, alsoMissing},
        {{"diff", missing, fifo}, 1, missing},
    };
    for (const Case& c : cases) {
        const CliResult r = RunCli(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args.size();
        EXPECT_EQ(r.out, "");
        ASSERT_FALSE(r.err.empty());
        EXPECT_EQ(r.err.rfind("oryx-cli: ", 0), 0u) << r.err;
        if (c.exitCode == 1) {
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
            EXPECT_NE(r.err.find(c.errorNames), std::string::npos) << r.err;
            EXPECT_EQ(r.err.find(c.errorOmits), std::string::npos) << r.err;
        } else {
            EXPECT_NE(r.err.find("usage: oryx-cli"), std::string::npos) << r.err;
        }
    }
    const CliResult help = RunCli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("oryx-cli diff FILE1 FILE2 [--ignore NAME]... [--ignore-case] [--format text|csv]\n"),
              std::string::npos);
    EXPECT_NE(help.out.find("3 when they differ"), std::string::npos);
}

TEST(DiffCli, WriteErrorIsAFailure) {
    TempDir dir;
    const std::string file = dir.Write("node.txt", kBefore);
    EXPECT_EQ(ExitStatusOnFullDisk({"diff", file, file}), 1);
}

}  // namespace
}  // namespace oryx::testing
