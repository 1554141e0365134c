// oryx-cli find, run as a separate process.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cli_runner.h"

namespace oryx::testing {
namespace {

constexpr std::string_view kNode =
    "start prov\n"
    "add Shelf\n"
    "add Shelf Card/3\n"
    "set Shelf Card/3 cardType aal1Ces, spareCard 0, adminState locked, &hidden locked\n"
    "add Shelf Card/10\n"
    "set Shelf Card/10 adminState unlocked\n"
    "add Lp/3\n"
    "set Lp/3 mainCard Shelf Card/3\n"
    "add AtmIf/31\n"
    "add AtmIf/31 Vcc/0.100\n"
    "set AtmIf/31 Vcc/0.100 adminState locked, note tab\there\n";

// A TAB inside a path or a line is written as \t: the only TAB of a line
// is the one between a path and its attribute line.
TEST(FindCli, TabInsideAPathOrLineIsEscaped) {
    TempDir dir;
    const std::string file = dir.Write("node.txt",
                                       "start prov\n"
                                       "add Card/1\ttype=evil\n"
                                       "set Card/1\ttype=evil note a\tb\\tc\n"
                                       "add Card/2\n"
                                       "set Card/2 type\tx evil\n");
    const struct {
        std::vector<std::string> args;  // after FILE
        std::string out;
    } cases[] = {
        {{"evil"}, "Card/1\\ttype=evil\nCard/2\ttype\\tx=evil\n"},
        {{"evil", "--in", "paths"}, "Card/1\\ttype=evil\n"},
        {{"b\\t", "--in", "values"}, "Card/1\\ttype=evil\tnote=a\\tb\\tc\n"},
        {{"\t", "--in", "attr-names"}, "Card/2\ttype\\tx=evil\n"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"find", file};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CliResult r = RunCli(args);
        EXPECT_EQ(r.exitCode, 0) << c.args[0];
        EXPECT_EQ(r.out, c.out) << c.args[0];
    }
    EXPECT_NE(RunCli({"--help"}).out.find("a TAB inside a path or line is written as \\t"), std::string::npos);
}

TEST(FindCli, PrintsPathsAndLines) {
    TempDir dir;
    const std::string lf = dir.Write("node.txt", kNode);
    const std::string crlf = dir.Write("node-crlf.txt", Crlf(kNode));
    struct Case {
        std::vector<std::string> args;  // after FILE
        std::string out;
    } cases[] = {
        {{"card"},
         "Lp/3\tmainCard=Shelf Card/3\nShelf Card/10\nShelf Card/3\nShelf Card/3\tcardType=aal1Ces\n"
         "Shelf Card/3\tspareCard=0\n"},
        {{"card", "--in", "names"}, "Shelf Card/10\nShelf Card/3\n"},
        {{"--in", "paths", "atmif/31"}, "AtmIf/31\n"},
        {{"31 vcc", "--in", "paths"}, "AtmIf/31 Vcc/0.100\n"},
        {{"state", "--in", "attr-names"},
         "AtmIf/31 Vcc/0.100\tadminState=locked\nShelf Card/10\tadminState=unlocked\nShelf "
         "Card/3\tadminState=locked\n"},
        {{"locked", "--in", "values", "--word"},
         "AtmIf/31 Vcc/0.100\tadminState=locked\nShelf Card/3\tadminState=locked\n"},
        {{"Card", "--case", "--in", "values"}, "Lp/3\tmainCard=Shelf Card/3\n"},
        {{"^card/\\d+$", "--regex", "--in", "names"}, "Shelf Card/10\nShelf Card/3\n"},
        {{"^card/\\d+$", "--regex", "--case", "--in", "names"}, ""},
        {{"card/1", "--regex", "--word"}, ""},
        {{"tab\there"}, "AtmIf/31 Vcc/0.100\tnote=tab\\there\n"},
        {{"--", "--in"}, ""},
    };
    for (const std::string& file : {lf, crlf}) {
        for (const Case& c : cases) {
            std::vector<std::string> args{"find", file};
            args.insert(args.end(), c.args.begin(), c.args.end());
            const CliResult r = RunCli(args);
            EXPECT_EQ(r.out, c.out) << c.args[0];
            EXPECT_EQ(r.exitCode, c.out.empty() ? 3 : 0) << c.args[0];
            EXPECT_EQ(r.err, "") << c.args[0];
        }
    }
}

TEST(FindCli, ErrorsAndUsage) {
    TempDir dir;
    const std::string file = dir.Write("node.txt", kNode);
    const std::string missing = (dir.Path() / "missing.txt").string();
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        std::string inError;
    } cases[] = {
        {{"find", file, "(card", "--regex"}, 1, "oryx-cli: invalid regular expression: missing ): (card\n"},
        {{"find", file, "a{2000}", "--regex", "--word"},
         1,
         "oryx-cli: invalid regular expression: invalid repetition size: {2000}\n"},
        {{"find", missing, "card"}, 1, "missing.txt"},
        {{"find", dir.Path().string(), "card"}, 1, dir.Path().string()},
        {{"find"}, 2, "find takes FILE and QUERY"},
        {{"find", file}, 2, "find takes FILE and QUERY"},
        {{"find", file, "card", "extra"}, 2, "find takes FILE and QUERY"},
        {{"find", file, "card", "--in"}, 2, "--in needs a scope"},
        {{"find", file, "card", "--in", "lines"}, 2, "unknown scope 'lines'"},
        {{"find", file, "card", "--in", "names", "--in", "values"}, 2, "--in given twice"},
        {{"find", file, "card", "--fuzzy"}, 2, "unknown option '--fuzzy'"},
        // A usage error is told before the file is read.
        {{"find", missing, "card", "--fuzzy"}, 2, "unknown option"},
    };
    for (const Case& c : cases) {
        const CliResult r = RunCli(c.args);
        const std::string what = c.args.size() > 2 ? c.args[2] : "";
        EXPECT_EQ(r.exitCode, c.exitCode) << what;
        EXPECT_EQ(r.out, "") << what;
        EXPECT_NE(r.err.find(c.inError), std::string::npos) << r.err;
        if (c.exitCode == 1) {
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
            EXPECT_TRUE(r.err.starts_with("oryx-cli: ")) << r.err;
        } else {
            EXPECT_NE(r.err.find("usage: oryx-cli"), std::string::npos) << r.err;
        }
    }
}

TEST(FindCli, InHelpAndWriteErrors) {
    const CliResult help = RunCli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("  oryx-cli find FILE QUERY [--in names|paths|attr-names|values|all] [--regex] [--word] "
                            "[--case]\n"),
              std::string::npos);
    EXPECT_NE(help.out.find("exit status 3 when nothing matched"), std::string::npos);

    TempDir dir;
    const std::string file = dir.Write("node.txt", kNode);
    EXPECT_EQ(ExitStatusOnFullDisk({"find", file, "card"}), 1);
}

// A regular expression in the paths scope sees 256 bytes before a name: a
// match that may begin further back is never missed in silence. A pattern
// whose matches are shorter than that finds every match, one that finds its
// matches within the bytes it sees finds them, and otherwise the search
// stops with status 1 naming the component.
TEST(FindCli, DeepPathsNeverLoseRegexMatchesSilently) {
    TempDir dir;
    std::string node = "start prov\n", path;
    for (int depth = 1; depth <= 300; ++depth) {
        path += depth == 1 ? "a" : " a";
        node += "add " + path + "\n";
    }
    const std::string file = dir.Write("deep.txt", node);
    const struct {
        std::vector<std::string> args;  // after FILE
        int exitCode;
        std::size_t lines;
        std::string err;
    } cases[] = {
        {{"(a ){200}a$", "--regex", "--in", "paths"}, 1, 0, "more than 256 bytes stand before its name\n"},
        {{"(a ){200}a$", "--regex"}, 1, 0, "more than 256 bytes stand before its name\n"},
        {{"(a ){10}a$", "--regex", "--in", "paths"}, 0, 290, ""},
        {{"a a a a$", "--regex", "--in", "paths"}, 0, 297, ""},
        {{"(a ){200}a", "--in", "paths"}, 3, 0, ""},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"find", file};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CliResult r = RunCli(args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args[0];
        if (c.exitCode == 1) {
            EXPECT_TRUE(r.err.starts_with("oryx-cli: cannot search the path of 'a a a ")) << r.err;
            EXPECT_TRUE(r.err.ends_with(c.err)) << r.err;
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        } else {
            EXPECT_EQ(r.err, c.err) << c.args[0];
            EXPECT_EQ(static_cast<std::size_t>(std::count(r.out.begin(), r.out.end(), '\n')), c.lines) << c.args[0];
        }
    }
}

}  // namespace
}  // namespace oryx::testing
