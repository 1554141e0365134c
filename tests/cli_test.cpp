#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "cli_runner.h"
#include "memory_limit.h"
#include "prov/component_store.h"
#include "prov/reader.h"
#include "prov/tree_text.h"

namespace oryx::testing {
namespace {

constexpr std::string_view kNode =
    "start prov\r\n"
    "add Shelf\r\n"
    "add Shelf Card/3\r\n"
    "set Shelf Card/3 cardType aal1Ces, spareCard 0, cardType again, &hidden x,\r\n"
    "add Lp/3\r\n";

TEST(Cli, TreeIsTheSavedTreeText) {
    TempDir dir;
    const std::string file = dir.Write("node.txt", kNode);
    prov::ComponentStore store;
    prov::ReadProvisioningFile(file, store);
    const std::string saved = (dir.Path() / "saved.txt").string();
    prov::WriteTreeText(saved, store);
    const CliResult r = RunCli({"tree", file});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, ReadBytes(saved));
    EXPECT_EQ(r.err, "");
}

TEST(Cli, AttrsPrintsTheVisibleRows) {
    TempDir dir;
    const std::string file = dir.Write("node.txt", kNode);
    struct Case {
        std::string path;
        int exitCode;
        std::string out;
    } cases[] = {
        {"Shelf Card/3", 0, "cardType = aal1Ces\nspareCard = 0\ncardType = again\n = \n"},
        {"shelf card/3", 0, "cardType = aal1Ces\nspareCard = 0\ncardType = again\n = \n"},
        {"Lp/3", 0, ""},
        {"Shelf", 0, ""},
        {"Shelf Card/4", 1, ""},
        {"", 1, ""},
    };
    for (const Case& c : cases) {
        const CliResult r = RunCli({"attrs", file, c.path});
        EXPECT_EQ(r.exitCode, c.exitCode) << c.path;
        EXPECT_EQ(r.out, c.out) << c.path;
        EXPECT_EQ(r.err.empty(), c.exitCode == 0) << c.path;
    }
}

TEST(Cli, ErrorsAndUsage) {
    TempDir dir;
    const std::string file = dir.Write("node.txt", kNode);
    const std::string missing = (dir.Path() / "missing.txt").string();
    struct Case {
        std::vector<std::string> args;
        int exitCode;
    } cases[] = {
        {{}, 2},
        {{"frobnicate"}, 2},
        {{"tree"}, 2},
        {{"tree", file, "extra"}, 2},
        {{"attrs", file}, 2},
        {{"tree", missing}, 1},
        {{"tree", dir.Path().string()}, 1},
        {{"attrs", missing, "Shelf"}, 1},
    };
    for (const Case& c : cases) {
        const CliResult r = RunCli(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << (c.args.empty() ? "" : c.args[0]);
        EXPECT_EQ(r.out, "");
        EXPECT_FALSE(r.err.empty());
        if (c.exitCode == 1) {
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);
            EXPECT_NE(r.err.find(c.args[1]), std::string::npos);
        } else {
            EXPECT_NE(r.err.find("usage: oryx-cli"), std::string::npos);
        }
    }
    const CliResult help = RunCli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("oryx-cli tree FILE"), std::string::npos);
    EXPECT_NE(help.out.find("oryx-cli attrs FILE PATH"), std::string::npos);
}

// /proc/self/environ has a size of 0 but holds the environment: run with one
// variable whose value is a provisioning file, oryx-cli reads its own.
TEST(Cli, FileWhoseSizeReadsZeroIsReadToItsEnd) {
    const std::string value = "saved\nconfigure Shelf\nconfigure Card/3\nset cardType x\n";
    TempDir dir;
    const std::string same = dir.Write("environ.txt", "P=" + value + std::string(1, '\0'));
    const CliResult expected = RunCli({"tree", same});
    ASSERT_NE(expected.out.find("Card/3"), std::string::npos);
    const CliResult r = RunCli({"tree", "/proc/self/environ"}, "env -i " + ShellQuote("P=" + value) + " ");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, expected.out);
    EXPECT_EQ(r.err, "");
}

// A file larger than the memory the program may use: the error says what
// was being done.
TEST(Cli, NotEnoughMemoryToRead) {
    if (!kMemoryLimitsWork) GTEST_SKIP() << "no memory limits under the address sanitizer";
    TempDir dir;
    const std::string file =
        dir.Write("big.txt", "start prov\nadd Shelf\nset Shelf a " + std::string(16u << 20, 'x') + "\n");
    EXPECT_EQ(RunCli({"attrs", file, "Shelf"}).exitCode, 0);  // fits without the limit
    for (const char* command : {"tree", "attrs"}) {
        std::vector<std::string> args{command, file};
        if (args[0] == "attrs") args.push_back("Shelf");
        const CliResult r = RunCli(args, "ulimit -v 30000; ");
        EXPECT_EQ(r.exitCode, 1) << command;
        EXPECT_EQ(r.out, "") << command;
        EXPECT_EQ(r.err, "oryx-cli: not enough memory to read '" + file + "'\n") << command;
    }
}

// File names in errors are one line without control bytes, and shortened
// when long; the message around them stays as it is.
TEST(Cli, FileNamesInErrorsAreCleaned) {
    TempDir dir;
    const std::string folder = dir.Path().string();
    const std::string longName = std::string(150, 'a') + "/" + std::string(150, 'z');
    ASSERT_TRUE(std::filesystem::create_directories(dir.Path() / longName));
    const struct {
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {{"tree", folder + "/a\nb\x1b[2J.txt"},
         "oryx-cli: cannot read '" + folder + "/a\\x0Ab\\x1B[2J.txt': No such file or directory\n"},
        {{"attrs", folder + "/\t\x7f", "Shelf"},
         "oryx-cli: cannot read '" + folder + "/\\x09\\x7F': No such file or directory\n"},
        {{"tree", folder + "/" + longName},
         "oryx-cli: cannot read '" + (folder + "/" + longName).substr(0, 96) + "..." + std::string(96, 'z') +
             "': is a directory\n"},
    };
    for (const auto& c : cases) {
        const CliResult r = RunCli(c.args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, c.err);
    }
    const std::string file = dir.Write("node\x01.txt", kNode);
    const CliResult r = RunCli({"attrs", file, "Shelf Card/9"});
    EXPECT_EQ(r.err, "oryx-cli: no component at 'Shelf Card/9' in '" + folder + "/node\\x01.txt'\n");
}

TEST(Cli, WriteErrorIsAFailure) {
    TempDir dir;
    const std::string file = dir.Write("node.txt", kNode);
    EXPECT_EQ(ExitStatusOnFullDisk({"tree", file}), 1);
}

// "--" ends the options of every command: a file may be named like an option.
TEST(Cli, DoubleDashEndsTheOptionsOfEveryCommand) {
    TempDir dir;
    dir.Write("-j3", kNode);
    dir.Write("--recursive", kNode);
    const std::string cfg = dir.Write("cards.cfg", "[Cards]\nCard 3=Shelf Card/3 &cardtype\n");
    const std::vector<std::vector<std::string>> cases = {
        {"tree", "--", "-j3"},
        {"attrs", "--", "-j3", "Shelf Card/3"},
        {"find", "--", "-j3", "card"},
        {"diff", "--", "-j3", "--recursive"},
        {"report", "atmif", "--", "-j3"},
        {"custom", "Cards", "--config", cfg, "--", "--recursive"},
        {"summary", "--", "-j3"},
        {"summary", "--", "--recursive", "-j3"},
    };
    const std::string inDir = "cd " + ShellQuote(dir.Path().string()) + " && ";
    for (const std::vector<std::string>& args : cases) {
        // The same run with the files named so that they cannot be taken for options.
        std::vector<std::string> plain;
        for (const std::string& a : args) {
            if (a == "--") continue;
            plain.push_back(a == "-j3" || a == "--recursive" ? "./" + a : a);
        }
        std::string expected = RunCli(plain, inDir).out;
        for (const std::string name : {"-j3", "--recursive"}) {
            for (std::size_t at; (at = expected.find("./" + name)) != std::string::npos;) expected.erase(at, 2);
        }
        const CliResult r = RunCli(args, inDir);
        EXPECT_EQ(r.exitCode, 0) << args[0];
        EXPECT_EQ(r.err, "") << args[0];
        EXPECT_FALSE(r.out.empty()) << args[0];
        EXPECT_EQ(r.out, expected) << args[0];
    }
    // Before "--", an unknown option is a usage error for every command.
    for (const std::string command :
         {"tree", "attrs", "find", "refs", "diff", "report", "custom", "summary", "sections"}) {
        const CliResult r = RunCli({command, "--frob", "-j3"}, inDir);
        EXPECT_EQ(r.exitCode, 2) << command;
        EXPECT_EQ(r.err.substr(0, r.err.find('\n')), "oryx-cli: unknown option '--frob' for " + command);
    }
}

// Every output, the help too, ends with status 1 when it cannot be written.
TEST(Cli, EveryOutputFailsWhenItCannotBeWritten) {
    TempDir dir;
    const std::string file = dir.Write("node.txt", kNode);
    const std::string other = dir.Write("other.txt", "start prov\nadd Shelf\n");
    const std::string cfg = dir.Write("cards.cfg", "[Cards]\nCard 3=Shelf Card/3 &cardtype\n");
    const std::vector<std::vector<std::string>> cases = {
        {"--help"},
        {"-h"},
        {"tree", file},
        {"attrs", file, "Shelf Card/3"},
        {"find", file, "card"},
        {"diff", file, other},
        {"report", "atmif", file},
        {"report", "atmif", file, file},
        {"custom", "Cards", file, "--config", cfg},
        {"sections", "--config", cfg},
        {"summary", file},
    };
    for (const std::vector<std::string>& args : cases) {
        ASSERT_FALSE(RunCli(args).out.empty()) << args[0];
        EXPECT_EQ(ExitStatusOnFullDisk(args), 1) << args[0];
    }
}

// Every text from outside that an error message echoes (arguments, folder
// names, the regular expression library's words) is one bounded line
// without control bytes.
TEST(Cli, OutsideTextsInErrorsAreQuoted) {
    TempDir dir;
    const std::string file = dir.Write("node.txt", kNode);
    const std::string cfg = dir.Write("cards.cfg", "[Cards]\nCard 3=Shelf Card/3 &cardtype\n");
    const std::string longPath = std::string(100000, 'a') + "\x1b[2J" + std::string(92, 'b') + "\n";
    const std::string longShown = std::string(96, 'a') + "..." + "[2J" + std::string(92, 'b') + "\\x0A";
    const struct {
        std::vector<std::string> args;
        std::string firstLine;
    } cases[] = {
        {{"attrs", file, longPath}, "oryx-cli: no component at '" + longShown + "' in '" + file + "'"},
        {{"find", file, "q", "--in", "x\n\x1b[31m"},
         "oryx-cli: unknown scope 'x\\x0A\\x1B[31m' for --in (one of names, paths, attr-names, values, all)"},
        {{"summary", file, "-j", longPath},
         "oryx-cli: -j needs a number of files to read at once, 1 or more (not '" + longShown + "')"},
        {{"summary", "--" + longPath, file}, "oryx-cli: unknown option '--" + longShown.substr(2) + "' for summary"},
        {{"diff", file, file, "--format", "x\r"}, "oryx-cli: unknown format 'x\\x0D' (text or csv)"},
        {{"report", "atmif", file, "--format", "x\r"}, "oryx-cli: unknown format 'x\\x0D' (one of csv, tsv, json)"},
        {{"report", "x\x1b", file}, "oryx-cli: unknown report 'x\\x1B' (one of "},
        {{"frob\x1b"}, "oryx-cli: unknown command 'frob\\x1B'"},
        {{"custom", "No\x1bSuch", file, "--config", cfg}, "oryx-cli: no section 'No\\x1BSuch' in '" + cfg + "'"},
    };
    for (const auto& c : cases) {
        const CliResult r = RunCli(c.args);
        EXPECT_NE(r.exitCode, 0);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.substr(0, std::min(r.err.find('\n'), c.firstLine.size())), c.firstLine);
    }
    const CliResult regex = RunCli({"find", file, "(" + std::string(60000, 'a') + "\n\x1b", "--regex"});
    EXPECT_EQ(regex.exitCode, 1);
    EXPECT_TRUE(regex.err.starts_with("oryx-cli: invalid regular expression: ")) << regex.err.substr(0, 300);
    EXPECT_LT(regex.err.size(), 400u);
    EXPECT_EQ(std::count_if(regex.err.begin(), regex.err.end(), [](char c) { return c >= 0 && c < 0x20; }), 1);
    EXPECT_TRUE(regex.err.ends_with("\\x0A\\x1B\n")) << regex.err.substr(0, 300);
}

// attrs takes a path as the window does, skipping a piece that names
// nothing, but says on stderr what it passed over; the rows and the exit
// status stay.
TEST(Cli, AttrsSaysWhenThePathWasNotExact) {
    TempDir dir;
    const std::string file = dir.Write("node.txt", std::string(kNode) +
                                                       "add &Hidden\n"
                                                       "set &Hidden a 1\n"
                                                       "add &Hidden Inner\n"
                                                       "set &Hidden Inner b 2\n");
    const struct {
        std::string path;
        std::string out;
        std::string err;
    } cases[] = {
        {"Shelf Card/3", "cardType = aal1Ces\nspareCard = 0\ncardType = again\n = \n", ""},
        {"Nope Shelf Card/3", "cardType = aal1Ces\nspareCard = 0\ncardType = again\n = \n",
         "oryx-cli: 'Nope' names no component; it was skipped\n"},
        {"Shelf  Nope\x1b Card/3", "cardType = aal1Ces\nspareCard = 0\ncardType = again\n = \n",
         "oryx-cli: '' names no component; it was skipped\n"
         "oryx-cli: 'Nope\\x1B' names no component; it was skipped\n"},
        {"&Hidden", "a = 1\n", "oryx-cli: '&Hidden' is hidden: the tree does not show it\n"},
        {"&hidden X inner", "b = 2\n",
         "oryx-cli: 'X' names no component; it was skipped\n"
         "oryx-cli: '&Hidden Inner' is hidden: the tree does not show it\n"},
    };
    for (const auto& c : cases) {
        const CliResult r = RunCli({"attrs", file, c.path});
        EXPECT_EQ(r.exitCode, 0) << c.path;
        EXPECT_EQ(r.out, c.out) << c.path;
        EXPECT_EQ(r.err, c.err) << c.path;
    }
}

// summary's Components column counts the components the tree shows.
TEST(Cli, SummaryCountsShownComponents) {
    TempDir dir;
    const struct {
        std::string node;
        std::string components;
    } cases[] = {
        {"start prov\nadd Shelf\nadd &A\nadd &A B\nadd &A B C\n", "1"},
        {"start prov\nadd Shelf\nadd Shelf &Card\nadd Shelf Card/1\nadd Shelf Card/1 &X\n", "2"},
        {"start prov\nadd &A\n", "0"},
        {std::string(kNode), "3"},
    };
    for (const auto& c : cases) {
        const std::string file = dir.Write("node.txt", c.node);
        const CliResult r = RunCli({"summary", file, "--format", "tsv"});
        EXPECT_EQ(r.exitCode, 0) << c.node;
        const std::size_t row = r.out.find('\n') + 1;
        std::size_t cell = row;
        for (int i = 0; i < 3; ++i) cell = r.out.find('\t', cell) + 1;
        EXPECT_EQ(r.out.substr(cell, r.out.find('\t', cell) - cell), c.components) << c.node;
    }
}

}  // namespace
}  // namespace oryx::testing
