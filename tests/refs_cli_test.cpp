// oryx-cli refs, run as a separate process.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cli_runner.h"
#include "refs_node.h"

namespace oryx::testing {
namespace {

// A configure file can give the add node lines of its own; they are never sources.
constexpr std::string_view kConfigureNode =
    "set pointer Lp/1, hop Lp/9 Sonet/1\n"
    "configure Lp/1\n"
    "  set self Lp/1\n"
    "return\n";

TEST(RefsCli, PrintsReferences) {
    TempDir dir;
    const std::string lf = dir.Write("node.txt", kReferenceNode);
    const std::string crlf = dir.Write("node-crlf.txt", Crlf(kReferenceNode));
    const std::string configure = dir.Write("configure.txt", kConfigureNode);
    struct Case {
        std::vector<std::string> args;  // after FILE
        std::string out;
    } cases[] = {
        {{"Lp/2"},
         "-> mainCard=shelf card/2\n-> spareCard=Shelf Card/5\n-> selfRef=Lp/2\n-> odd=Lp/2 Odd\\tName/1\n"
         "<- Lp/2\tselfRef=Lp/2\n"},
        {{"--below", "lp/2"},
         "-> mainCard=shelf card/2\n-> spareCard=Shelf Card/5\n-> selfRef=Lp/2\n-> odd=Lp/2 Odd\\tName/1\n"
         "<- AtmIf/21\tinterfaceName=LP/2 SONET/0 Path/0\n<- AtmIf/21\tprimary=Lp/2 Sonet/0\n"
         "<- Lp/2\tselfRef=Lp/2\n<- Lp/2\todd=Lp/2 Odd\\tName/1\n"},
        {{"LP/2 sonet/0"}, "<- AtmIf/21\tprimary=Lp/2 Sonet/0\n"},
        {{"Lp/2 Sonet/0", "--below"},
         "<- AtmIf/21\tinterfaceName=LP/2 SONET/0 Path/0\n<- AtmIf/21\tprimary=Lp/2 Sonet/0\n"},
        {{"Lp/2 Odd\tName/1"}, "<- Lp/2\todd=Lp/2 Odd\\tName/1\n"},
        {{"Shelf Card/5"}, "<- Lp/2\tspareCard=Shelf Card/5\n"},
        {{"Shelf Card/2"}, "<- Lp/2\tmainCard=shelf card/2\n"},
        {{"Shelf"}, ""},
        {{"Shelf", "--below"},
         "<- AtmIf/22\tport=Shelf Card/2 Port/1\n<- Lp/2\tmainCard=shelf card/2\n"
         "<- Lp/2\tspareCard=Shelf Card/5\n"},
        {{"AtmIf/22"},
         "?> nextHop=atmif/99 Vcc/0.1\n?> shelfNine=Shelf/9 Card/1\n~> port=Shelf Card/2 Port/1\n"
         "?> tabbed=AtmIf/98 Vcc/0\\t1\n"},
        {{"AtmIf/21", "--below"}, "~> interfaceName=LP/2 SONET/0 Path/0\n-> primary=Lp/2 Sonet/0\n"},
        {{"--unresolved"},
         "~> AtmIf/21\tinterfaceName=LP/2 SONET/0 Path/0\n?> AtmIf/22\tnextHop=atmif/99 Vcc/0.1\n"
         "?> AtmIf/22\tshelfNine=Shelf/9 Card/1\n~> AtmIf/22\tport=Shelf Card/2 Port/1\n"
         "?> AtmIf/22\ttabbed=AtmIf/98 Vcc/0\\t1\n"},
    };
    for (const std::string& file : {lf, crlf}) {
        for (const Case& c : cases) {
            std::vector<std::string> args{"refs", file};
            args.insert(args.end(), c.args.begin(), c.args.end());
            const CliResult r = RunCli(args);
            EXPECT_EQ(r.out, c.out) << c.args[0];
            EXPECT_EQ(r.exitCode, c.out.empty() ? 3 : 0) << c.args[0];
            EXPECT_EQ(r.err, "") << c.args[0];
        }
    }
    const CliResult own = RunCli({"refs", configure, "Lp/1", "--below"});
    EXPECT_EQ(own.out, "-> self=Lp/1\n<- Lp/1\tself=Lp/1\n");
    EXPECT_EQ(own.exitCode, 0);
    const CliResult unresolved = RunCli({"refs", configure, "--unresolved"});
    EXPECT_EQ(unresolved.out, "");
    EXPECT_EQ(unresolved.exitCode, 3);
}

TEST(RefsCli, ErrorsAndUsage) {
    TempDir dir;
    const std::string file = dir.Write("node.txt", kReferenceNode);
    const std::string missing = (dir.Path() / "missing.txt").string();
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        std::string err;  // the whole message, or the text it holds for a usage error
    } cases[] = {
        {{"refs", file, "Lp/3"}, 1, "oryx-cli: no component 'Lp/3' in '" + file + "'\n"},
        {{"refs", file, "Lp/2  Sonet/0"}, 1, "oryx-cli: no component 'Lp/2  Sonet/0' in '" + file + "'\n"},
        {{"refs", file, "Lp/2 &Hidden/1"}, 1, "oryx-cli: no component 'Lp/2 &Hidden/1' in '" + file + "'\n"},
        {{"refs", file, "&Secret/1", "--below"}, 1, "oryx-cli: no component '&Secret/1' in '" + file + "'\n"},
        {{"refs", file, "Lp/2\tSonet/0"}, 1, "oryx-cli: no component 'Lp/2\\x09Sonet/0' in '" + file + "'\n"},
        {{"refs", file, ""}, 1, "oryx-cli: no component '' in '" + file + "'\n"},
        {{"refs", file, "--", "--below"}, 1, "oryx-cli: no component '--below' in '" + file + "'\n"},
        {{"refs", missing, "Lp/2"}, 1, "missing.txt"},
        {{"refs"}, 2, "refs takes FILE and PATH, or FILE and --unresolved"},
        {{"refs", file}, 2, "refs takes FILE and PATH, or FILE and --unresolved"},
        {{"refs", file, "Lp/2", "Lp/3"}, 2, "refs takes FILE and PATH, or FILE and --unresolved"},
        {{"refs", file, "Lp/2", "--unresolved"}, 2, "refs --unresolved takes FILE alone, no PATH"},
        {{"refs", file, "--unresolved", "--below"}, 2, "refs --unresolved takes no --below"},
        {{"refs", file, "Lp/2", "--all"}, 2, "unknown option '--all' for refs"},
        // A usage error is told before the file is read.
        {{"refs", missing, "--unresolved", "Lp/2"}, 2, "no PATH"},
    };
    for (const Case& c : cases) {
        const CliResult r = RunCli(c.args);
        const std::string what = c.args.size() > 2 ? c.args[2] : "";
        EXPECT_EQ(r.exitCode, c.exitCode) << what;
        EXPECT_EQ(r.out, "") << what;
        if (c.exitCode == 1 && c.err.starts_with("oryx-cli: ")) {
            EXPECT_EQ(r.err, c.err);
        } else {
            EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
            EXPECT_EQ(c.exitCode == 2, r.err.find("usage: oryx-cli") != std::string::npos) << r.err;
        }
    }
}

TEST(RefsCli, InHelpAndWriteErrors) {
    const CliResult help = RunCli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("  oryx-cli refs FILE PATH [--below] | refs FILE --unresolved\n"), std::string::npos);
    TempDir dir;
    const std::string file = dir.Write("node.txt", kReferenceNode);
    EXPECT_EQ(ExitStatusOnFullDisk({"refs", file, "--unresolved"}), 1);
}

}  // namespace
}  // namespace oryx::testing
