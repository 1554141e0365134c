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

}  // namespace
}  // namespace oryx::testing
