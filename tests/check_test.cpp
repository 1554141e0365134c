// The check floor: what the reader passed over, the rules and their files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <random>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "check/check_file.h"
#include "check/file_problems.h"
#include "check/path_pattern.h"
#include "check/rule_checks.h"
#include "check/rules_file.h"
#include "prov/component_store.h"
#include "prov/read_diagnostics.h"
#include "prov/reader.h"
#include "prov/tree_text.h"
#include "test_files.h"
#include "text/hidden_name.h"

namespace {

using oryx::check::Finding;
using oryx::check::RuleRunner;
using oryx::check::RuleSet;
using oryx::testing::TempDir;

// "LINE|SEVERITY|CHECK|PATH|MESSAGE"
std::vector<std::string> Describe(const std::vector<Finding>& findings) {
    std::vector<std::string> lines;
    for (const Finding& f : findings)
        lines.push_back(std::to_string(f.line) + "|" + std::string(oryx::check::SeverityName(f.severity)) + "|" +
                        f.check + "|" + f.path + "|" + f.message);
    return lines;
}

std::string TreeText(const std::string& file, oryx::prov::ReadDiagnostics* diagnostics) {
    oryx::prov::ComponentStore store;
    oryx::prov::ReadProvisioningFile(file, store, diagnostics);
    std::ostringstream text;
    oryx::prov::WriteTreeText(store, text);
    return text.str();
}

struct BuiltinCase {
    const char* name;
    const char* file;
    std::vector<std::string> findings;
};

class BuiltinCheckTest : public ::testing::TestWithParam<BuiltinCase> {};

// Each built-in check on a file made for it: the one finding, on its line,
// and the store the same as a read without diagnostics.
TEST_P(BuiltinCheckTest, FindsItOnItsLine) {
    const BuiltinCase& c = GetParam();
    TempDir dir;
    const std::string file = dir.Write("node.txt", c.file);
    RuleSet rules;
    RuleRunner runner(rules);
    EXPECT_EQ(Describe(oryx::check::CheckFile(file, rules, runner)), c.findings);
    oryx::prov::ReadDiagnostics diagnostics;
    EXPECT_EQ(TreeText(file, &diagnostics), TreeText(file, nullptr));
}

INSTANTIATE_TEST_SUITE_P(
    Files, BuiltinCheckTest,
    ::testing::Values(
        BuiltinCase{"SetOtherComponent",
                    "start prov\r\nadd Lp/3\r\nset Lp/3 a 1\r\nset lp/3 b 2\r\nset Lp/4 mainCard x\r\n",
                    {"5|warning|set-other-component|Lp/3|set line names 'Lp/4' but its pairs went to 'Lp/3'"}},
        BuiltinCase{"MissingParent",
                    "start prov\nadd Shelf Card/3\nset Shelf Card/3 cardType x\n",
                    {"2|warning|missing-parent|Shelf|created 'Shelf' only; 'Card/3' below it was not created"}},
        BuiltinCase{"MissingParentInConfigureContext",
                    "saved\nconfigure Shelf\nconfigured Card/3\nconfigure Nrp\n",
                    {"3|warning|missing-parent|addd|created 'addd' only; 'Shelf Card/3' below it was not created",
                     "3|warning|hidden-top-level|addd|'addd' was made beside the add node, where nothing shows it",
                     "4|warning|missing-parent|Shelf Card/3|created 'Shelf Card/3' only; 'Nrp' below it was not "
                     "created"}},
        BuiltinCase{"AddedAgain",
                    "start prov\radd Shelf\radd SHELF\r",
                    {"3|note|added-again|Shelf|'Shelf' exists already; the line creates nothing"}},
        BuiltinCase{"HiddenTopLevel",
                    "start prov\n\naddress\n",
                    {"3|warning|hidden-top-level|address|'address' was made beside the add node, where nothing "
                     "shows it"}},
        BuiltinCase{"UnnamedAttribute",
                    "start prov\nadd Lp/3\nset Lp/3 enabled\nset Lp/3 a 1,\n",
                    {"3|warning|unnamed-attribute|Lp/3|attribute without a name: '=enabled'",
                     "4|warning|unnamed-attribute|Lp/3|attribute without a name: '='"}},
        BuiltinCase{"LineIgnored",
                    "saved configuration\r\n\r\n# a comment\r\n  \t\r\nadd Shelf\r\nend prov\r\n",
                    {"5|note|line-ignored||line ignored: it fits no keyword of the configure format"}},
        BuiltinCase{"LineIgnoredInStartProv",
                    "start prov\nconfigure Shelf\nend prov\n",
                    {"2|note|line-ignored||line ignored: it fits no keyword of the start-prov format"}},
        BuiltinCase{"DanglingReference",
                    "start prov\nadd AtmIf/1\nadd Lp/3\nset Lp/3 link AtmIf/1\nset Lp/3 peer Lp/9, name x\n",
                    {"5|warning|dangling-reference|Lp/3|peer refers to 'Lp/9', which is not in this file"}},
        BuiltinCase{"PartialReference",
                    "start prov\r\nadd AtmIf/1\r\nadd Lp/3\r\nset Lp/3 port AtmIf/1 Vcc/7\r\n",
                    {"4|note|partial-reference|Lp/3|port refers to 'AtmIf/1 Vcc/7'; only 'AtmIf/1' is in this file"}},
        BuiltinCase{"ReturnAtTop",
                    "saved\r\nconfigure Shelf\r\nreturn\r\nreturn\r\nconfigure Shelf\r\n",
                    {"4|note|return-at-top||'return' with no component entered"}}),
    [](const ::testing::TestParamInfo<BuiltinCase>& param) { return std::string(param.param.name); });

// The node the rules run over; lines end with LF, CR and CR LF.
constexpr const char* kRuleNode =
    "start prov\r\n"                                                 // 1
    "add Shelf\n"                                                    // 2
    "add Shelf Card/0\r"                                             // 3
    "set Shelf Card/0 administrativeState locked, cardType CP3\r\n"  // 4
    "add Shelf Card/1\n"                                             // 5
    "set Shelf Card/1 administrativeState broken\n"                  // 6
    "set Shelf Card/1 administrativeState unlocked\n"                // 7
    "add FrUni/41\n"                                                 // 8
    "add FrUni/41 Dlci/16\n"                                         // 9
    "set FrUni/41 Dlci/16 committedInformationRate 4096000\n"        // 10
    "add FrUni/42\n"                                                 // 11
    "add FrUni/42 Dlci/17\n"                                         // 12
    "set FrUni/42 Dlci/17 committedInformationRate 64k\n"            // 13
    "add FrUni/42 Dlci/17 Dc\n"                                      // 14
    "add Vr/1\n"                                                     // 15
    "set Vr/1 loopback on\n";                                        // 16

struct RuleCase {
    const char* name;
    const char* rule;  // one item of "rules:"
    std::vector<std::string> findings;
};

class RuleKindTest : public ::testing::TestWithParam<RuleCase> {};

// Also in a large store, whose top-level components threads share: the
// node's own lie among many that no rule is about.
TEST_P(RuleKindTest, FindsWhatBreaksIt) {
    const RuleCase& c = GetParam();
    std::string large = kRuleNode;
    for (int i = 0; i < 7400; ++i)
        for (const char* type : {"Gg", "Tt", "Zz"})
            large += "add " + std::string(type) + "/" + std::to_string(i) + "\n";
    for (const std::string& file : {std::string(kRuleNode), large}) {
        TempDir dir;
        const std::string node = dir.Write("node.txt", file);
        RuleSet rules;
        oryx::check::ParseRules(std::string("rules:\n") + c.rule, "rules.yaml", rules);
        RuleRunner runner(rules);
        EXPECT_EQ(Describe(oryx::check::CheckFile(node, rules, runner)), c.findings) << file.size() << " bytes";
        EXPECT_TRUE(runner.UnmatchedRules().empty()) << file.size() << " bytes";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, RuleKindTest,
    ::testing::Values(
        RuleCase{"Require",
                 "  - {id: card-type, description: Cards have a type, path: 'Shelf Card/*', require: [cardType]}\n",
                 {"5|warning|card-type|Shelf Card/1|Cards have a type: no attribute 'cardType'"}},
        RuleCase{"ForbidIgnoresLetterCase",
                 "  - {id: no-loopback, severity: error, path: 'Vr/*', forbid: [LOOPBACK]}\n",
                 {"16|error|no-loopback|Vr/1|no-loopback: attribute 'LOOPBACK' is set"}},
        RuleCase{"MatchEveryLineOfARepeatedAttribute",
                 "  - {id: state, path: 'shelf card/*', attribute: administrativeState, match: 'locked|unlocked'}\n",
                 {"6|warning|state|Shelf Card/1|state: 'administrativeState' is 'broken', which does not match "
                  "'locked|unlocked'"}},
        RuleCase{"OneOfComparesExactly",
                 "  - {id: type, path: 'Shelf Card/?', attribute: cardType, one-of: [cp3, 8pDS1Fr]}\n",
                 {"4|warning|type|Shelf Card/0|type: 'cardType' is 'CP3', not one of 'cp3', '8pDS1Fr'"}},
        RuleCase{"Range",
                 "  - {id: cir, path: '** Dlci/*', attribute: committedInformationRate, range: [0, 2048000]}\n",
                 {"10|warning|cir|FrUni/41 Dlci/16|cir: 'committedInformationRate' is '4096000', outside 0..2048000",
                  "13|warning|cir|FrUni/42 Dlci/17|cir: 'committedInformationRate' is '64k', outside 0..2048000"}},
        RuleCase{"Except",
                 "  - {id: cir, path: '** Dlci/*', attribute: committedInformationRate, range: [0, 2048000],\n"
                 "     except: ['FrUni/41 **']}\n",
                 {"13|warning|cir|FrUni/42 Dlci/17|cir: 'committedInformationRate' is '64k', outside 0..2048000"}},
        RuleCase{"AnyPiecesMatchesNoneToo",
                 "  - {id: no-loopback, path: '** Vr/1 **', forbid: [loopback]}\n",
                 {"16|warning|no-loopback|Vr/1|no-loopback: attribute 'loopback' is set"}},
        RuleCase{"Exists",
                 "  - {id: has-vr2, exists: Vr/2}\n  - {id: has-dc, exists: '** Dc'}\n",
                 {"0|warning|has-vr2||has-vr2: no component matches 'Vr/2'"}},
        RuleCase{"Absent",
                 "  - {id: no-dc, description: No DLCI carries a Dc, absent: '** Dc', except: ['FrUni/41 **']}\n",
                 {"14|warning|no-dc|FrUni/42 Dlci/17 Dc|No DLCI carries a Dc: 'FrUni/42 Dlci/17 Dc' matches "
                  "'** Dc'"}}),
    [](const ::testing::TestParamInfo<RuleCase>& param) { return std::string(param.param.name); });

struct RulesErrorCase {
    const char* name;
    const char* before;  // a rules file read first, or ""
    const char* text;
    std::uint32_t line, column;
    const char* message;
};

class RulesFileErrorTest : public ::testing::TestWithParam<RulesErrorCase> {};

// A rules file that cannot be used names its file, line and column: a typo
// must never pass as "no findings".
TEST_P(RulesFileErrorTest, NamesWhere) {
    const RulesErrorCase& c = GetParam();
    RuleSet rules;
    oryx::check::ParseRules(c.before, "first.yaml", rules);
    try {
        oryx::check::ParseRules(c.text, "rules.yaml", rules);
        FAIL() << "no error";
    } catch (const oryx::check::RulesError& e) {
        EXPECT_EQ(e.what(), "rules.yaml:" + std::to_string(c.line) + ":" + std::to_string(c.column) + ": " +
                                std::string(c.message));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Errors, RulesFileErrorTest,
    ::testing::Values(
        RulesErrorCase{"UnknownTopKey", "", "rulez: []\n", 1, 1, "unknown key 'rulez' (one of rules, builtin)"},
        RulesErrorCase{"UnknownRuleKey", "", "rules:\n  - id: a\n    pth: X\n    require: [b]\n", 3, 5,
                       "unknown key 'pth' (one of id, description, severity, path, require, forbid, attribute, "
                       "match, one-of, range, exists, absent, except)"},
        RulesErrorCase{"WrongType", "", "rules:\n  - id: a\n    path: X\n    require: b\n", 4, 14,
                       "require must be a list"},
        RulesErrorCase{"InvalidRe2Pattern", "", "rules:\n  - id: a\n    path: X\n    attribute: b\n    match: '('\n", 5,
                       12, "match is not a valid RE2 pattern: missing ): ("},
        RulesErrorCase{"EmptyPathPattern", "", "rules:\n  - id: a\n    path: ''\n    require: [b]\n", 3, 11,
                       "path: a path pattern needs at least one piece"},
        RulesErrorCase{"NotANumber", "", "rules:\n  - {id: a, path: X, attribute: b, range: [0, ten]}\n", 2, 47,
                       "'ten' is not a number"},
        RulesErrorCase{"BadSeverity", "", "rules:\n  - {id: a, severity: fatal, exists: X}\n", 2, 23,
                       "severity must be error, warning or note"},
        RulesErrorCase{"NoId", "", "rules:\n  - {exists: X}\n", 2, 5, "a rule needs an id"},
        RulesErrorCase{"TwoKinds", "", "rules:\n  - {id: a, exists: X, absent: Y}\n", 2, 24,
                       "a rule has one of require/forbid, attribute, exists or absent; 'absent' comes after 'exists'"},
        RulesErrorCase{"DuplicateId", "", "rules:\n  - {id: a, exists: X}\n  - {id: a, exists: Y}\n", 3, 10,
                       "rule id 'a' is used twice"},
        RulesErrorCase{"DuplicateIdAcrossFiles", "rules: [{id: a, exists: X}]\n", "rules:\n  - {id: a, exists: Y}\n", 2,
                       10, "rule id 'a' is used twice"},
        RulesErrorCase{"UnknownBuiltin", "", "builtin:\n  no-such-check: off\n", 2, 3,
                       "unknown built-in check 'no-such-check'"},
        RulesErrorCase{"YamlSyntax", "", "rules:\n  - id: a\n   - id: b\n", 3, 4, "end of sequence not found"}),
    [](const ::testing::TestParamInfo<RulesErrorCase>& param) { return std::string(param.param.name); });

// For the built-in checks, the last file that names one wins.
TEST(BuiltinSeverities, LastFileWins) {
    RuleSet rules;
    oryx::check::ParseRules("builtin: {line-ignored: off, missing-parent: error}\n", "a.yaml", rules);
    oryx::check::ParseRules("builtin: {line-ignored: warning}\n", "b.yaml", rules);
    using oryx::check::BuiltinCheck;
    EXPECT_EQ(rules.builtins.Of(BuiltinCheck::LineIgnored), oryx::check::Severity::Warning);
    EXPECT_EQ(rules.builtins.Of(BuiltinCheck::MissingParent), oryx::check::Severity::Error);
    EXPECT_EQ(rules.builtins.Of(BuiltinCheck::AddedAgain), oryx::check::Severity::Note);
}

// A large store's references are checked by two threads taking whole
// top-level components in turn: every finding comes once, on its line,
// whether the store has many top-level components or one that holds all.
class LargeStoreReferencesTest : public ::testing::TestWithParam<bool> {};

TEST_P(LargeStoreReferencesTest, EachFindingOnce) {
    const bool oneTopLevel = GetParam();
    constexpr int kComponents = 24000;
    std::string file = "start prov\n";
    std::vector<std::string> expected;
    int line = 1;
    if (oneTopLevel) {
        file += "add Lp/0\n";
        ++line;
    }
    for (int i = 0; i < kComponents; ++i) {
        const std::string path = oneTopLevel ? "Lp/0 Eth/" + std::to_string(i) : "Lp/" + std::to_string(i);
        file += "add " + path + "\n";
        ++line;
        if (i % 997 == 0) {
            const std::string missing = "Lp/" + std::to_string(kComponents + i);
            file += "set " + path + " peer " + missing + ", speed 10\n";
            expected.push_back(std::to_string(++line) + "|warning|dangling-reference|" + path + "|peer refers to '" +
                               missing + "', which is not in this file");
        } else if (i % 997 == 500) {
            const std::string partial = "Lp/0 Eth/" + std::to_string(kComponents + i);
            file += "set " + path + " port " + partial + "\n";
            expected.push_back(std::to_string(++line) + "|note|partial-reference|" + path + "|port refers to '" +
                               partial + "'; only 'Lp/0' is in this file");
        }
    }
    TempDir dir;
    RuleSet rules;
    RuleRunner runner(rules);
    EXPECT_EQ(Describe(oryx::check::CheckFile(dir.Write("node.txt", file), rules, runner)), expected);
}

INSTANTIATE_TEST_SUITE_P(Shapes, LargeStoreReferencesTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& param) {
                             return param.param ? std::string("OneTopLevel") : std::string("ManyTopLevel");
                         });

// With its counts asked for first, a check looks for the partial references
// last, where they are notes: the findings are the same as in one pass, and
// the counts told are those of every finding, whatever the severities.
struct CountedFirstCase {
    const char* name;
    const char* rules;  // a rules file's text; none when null
    bool large;         // a store whose references two threads check
};

class CountedFirstTest : public ::testing::TestWithParam<CountedFirstCase> {};

TEST_P(CountedFirstTest, SameFindingsAndTheirCounts) {
    const CountedFirstCase& c = GetParam();
    std::string file = std::string(kRuleNode) +
                       "set Vr/1 peer Vr/7, via Vr/1 Pp/3, home Vr/1\n"  // 17: dangling, partial, exact
                       "set Vr/2 x 1\n"                                  // 18: set on another component
                       "frobnicate\n";                                   // 19: line ignored
    if (c.large)
        for (int i = 0; i < 22000; ++i)
            file += "add Lp/" + std::to_string(i) + "\nset Lp/" + std::to_string(i) + " link Lp/" +
                    std::to_string(i % 7 == 0 ? 30000 + i : i) + " Eth/" + std::to_string(i % 5) + "\n";
    TempDir dir;
    const std::string node = dir.Write("node.txt", file);
    const std::string rules = c.rules ? dir.Write("rules.yaml", c.rules) : std::string();
    oryx::prov::ComponentStore store;
    oryx::prov::ReadDiagnostics diagnostics;
    oryx::prov::ReadProvisioningFile(node, store, &diagnostics);

    const auto onePass = oryx::check::CheckStoreProblems(store, diagnostics, rules);
    int told = 0;
    oryx::check::ProblemCounts counts;
    const auto countedFirst =
        oryx::check::CheckStoreProblems(store, diagnostics, rules, {}, [&](oryx::check::ProblemCounts counted) {
            ++told;
            counts = counted;
        });
    ASSERT_TRUE(onePass && countedFirst);
    EXPECT_EQ(Describe(countedFirst->findings), Describe(onePass->findings));
    EXPECT_EQ(countedFirst->fromFile, onePass->fromFile);
    EXPECT_EQ(countedFirst->fromFileEnd, onePass->fromFileEnd);
    EXPECT_EQ(told, 1);
    EXPECT_EQ(counts, oryx::check::CountProblems(onePass->findings));
    EXPECT_GT(onePass->findings.size(), 3u);
}

INSTANTIATE_TEST_SUITE_P(
    Severities, CountedFirstTest,
    ::testing::Values(
        CountedFirstCase{"BuiltinsOnly", nullptr, false}, CountedFirstCase{"BuiltinsOnlyLarge", nullptr, true},
        CountedFirstCase{"RulesAndUnmatchedWarning",
                         "rules:\n  - {id: card-state, severity: error, path: \"Shelf Card/*\", attribute: "
                         "administrativeState, match: \"locked|unlocked\"}\n  - {id: none, path: \"Nope/*\", "
                         "forbid: [x]}\nbuiltin: {rule-unmatched: warning, line-ignored: error}\n",
                         true},
        CountedFirstCase{"PartialCounts", "builtin: {partial-reference: warning}\n", true},
        CountedFirstCase{"PartialError", "builtin: {partial-reference: error, dangling-reference: note}\n", false},
        CountedFirstCase{"DanglingOff", "builtin: {dangling-reference: off}\n", true},
        CountedFirstCase{"PartialOff", "builtin: {partial-reference: off}\n", true},
        CountedFirstCase{"BrokenRulesFile", "rules: [\n", true}),
    [](const ::testing::TestParamInfo<CountedFirstCase>& param) { return std::string(param.param.name); });

}  // namespace

namespace {

// Whether `pattern` matches `items` one for one, where an item of the
// pattern for which anyRun holds matches any run of items, none included:
// by a table over every split.
template <typename Pattern, typename Items, typename AnyRun, typename Fits>
bool MatchesPlainly(const Pattern& pattern, const Items& items, AnyRun anyRun, Fits fits) {
    // table[i][j]: the pattern from i matches the items from j.
    std::vector<std::vector<char>> table(pattern.size() + 1, std::vector<char>(items.size() + 1, 0));
    table[pattern.size()][items.size()] = 1;
    for (std::size_t i = pattern.size(); i-- > 0;)
        for (std::size_t j = items.size() + 1; j-- > 0;)
            table[i][j] = anyRun(pattern[i]) ? table[i + 1][j] || (j < items.size() && table[i][j + 1])
                                             : j < items.size() && fits(pattern[i], items[j]) && table[i + 1][j + 1];
    return table[0][0];
}

// The plain meaning of "*", "?" and "**", case ignored.
bool GlobMatchesPlainly(std::string_view glob, std::string_view name) {
    return MatchesPlainly(
        glob, name, [](char c) { return c == '*'; },
        [](char g, char n) {
            return g == '?' ||
                   std::tolower(static_cast<unsigned char>(g)) == std::tolower(static_cast<unsigned char>(n));
        });
}

bool PathMatchesPlainly(const std::vector<std::string>& pieces, const std::vector<std::string>& names) {
    return MatchesPlainly(
        pieces, names, [](const std::string& piece) { return piece == "**"; }, GlobMatchesPlainly);
}

std::vector<std::string> SplitPieces(const std::string& text) {
    std::vector<std::string> pieces;
    std::istringstream in(text);
    for (std::string piece; in >> piece;) pieces.push_back(piece);
    return pieces;
}

// The shown components parents first, each with the names of its path.
void ShownBelow(const oryx::prov::ComponentNode& node, std::vector<std::string>& names,
                std::vector<std::pair<const oryx::prov::ComponentNode*, std::vector<std::string>>>& out) {
    for (const oryx::prov::ComponentNode* child : node.Children()) {
        if (oryx::text::IsHiddenName(child->Name())) continue;
        names.emplace_back(child->Name());
        out.emplace_back(child, names);
        ShownBelow(*child, names, out);
        names.pop_back();
    }
}

}  // namespace

// The walk over a random tree, with patterns that share their pieces, runs
// of "**", letter case, "?" and a pattern longer than a word of states, as
// two groups of the top-level components: each pattern matches where the
// plain meaning of its pieces says, every shown component is visited once
// when asked for, parents first, and a component a pattern matches always.
TEST(PatternWalk, MatchesWhatThePiecesSay) {
    std::mt19937 random(7);
    const char* types[] = {"Lp", "AtmIf", "Vcc", "vcc", "Dlci", "&Hid"};
    std::string node = "start prov\n";
    std::vector<std::string> paths{""};
    for (int i = 0; i < 400; ++i) {
        const std::string& parent = paths[random() % paths.size()];
        if (std::count(parent.begin(), parent.end(), ' ') > 6) continue;
        const std::string path = (parent.empty() ? "" : parent + " ") + types[random() % std::size(types)] + "/" +
                                 std::to_string(random() % 3) + (random() % 4 == 0 ? ".1" : "");
        node += "add " + path + "\n";
        paths.push_back(path);
    }
    std::string deep = "Deep";
    node += "add Deep\n";
    for (int i = 0; i < 80; ++i) node += "add " + (deep += " D/" + std::to_string(i)) + "\n";
    TempDir dir;
    oryx::prov::ComponentStore store;
    oryx::prov::ReadProvisioningFile(dir.Write("node.txt", node), store);

    // Patterns longer than a word, with "**" on both sides of its end.
    std::string longPattern = "Deep", evenPattern = "Deep", oddPattern = "Deep D/0";
    for (int i = 0; i < 70; ++i) longPattern += i % 9 == 0 ? " ** **" : " d/?*";
    for (int i = 0; i < 40; ++i) evenPattern += " ** D/*", oddPattern += " ** D/*";
    const std::vector<std::string> everywhere = {"**",
                                                 "** **",
                                                 "AtmIf/*",
                                                 "atmif/*  vcc/*",
                                                 "AtmIf/* Vcc/*",
                                                 "** Vcc/? **",
                                                 "** vcc/*.1",
                                                 "Lp/1 ** Dlci/*",
                                                 "*",
                                                 "* *",
                                                 "?*/0",
                                                 "** ** Dlci/2 ** **",
                                                 "Nothing/*",
                                                 longPattern,
                                                 "Deep ** D/79",
                                                 "Deep **",
                                                 "&Hid/* **",
                                                 evenPattern,
                                                 oddPattern};
    // And where most components match none.
    const std::vector<std::string> here = {"AtmIf/* Vcc/*", "Lp/* vcc/*.1", "Deep ** D/79", longPattern, "Nothing/*"};

    std::vector<std::pair<const oryx::prov::ComponentNode*, std::vector<std::string>>> shown;
    std::vector<std::string> names;
    ShownBelow(*store.AddNode(), names, shown);
    ASSERT_GT(shown.size(), 200u);
    const auto tops = store.AddNode()->Children();
    for (const auto& [texts, everyComponent] :
         {std::pair{everywhere, true}, std::pair{everywhere, false}, std::pair{here, true}, std::pair{here, false}}) {
        std::vector<oryx::check::PathPattern> patterns;
        for (const std::string& text : texts) patterns.emplace_back(text);
        std::vector<const oryx::check::PathPattern*> pointers;
        for (const auto& pattern : patterns) pointers.push_back(&pattern);
        oryx::check::PatternWalk walk(pointers);
        std::vector<std::pair<const oryx::prov::ComponentNode*, std::vector<char>>> visited;
        const auto visit = [&](const oryx::prov::ComponentNode& component, std::span<const char> matched) {
            visited.emplace_back(&component, std::vector<char>(matched.begin(), matched.end()));
        };
        walk.Below(tops.first(tops.size() / 2), everyComponent, visit);
        walk.Below(tops.subspan(tops.size() / 2), everyComponent, visit);
        std::size_t v = 0, matches = 0;
        for (const auto& [component, path] : shown) {
            std::vector<char> expected;
            for (const std::string& text : texts) expected.push_back(PathMatchesPlainly(SplitPieces(text), path));
            const bool any = std::find(expected.begin(), expected.end(), 1) != expected.end();
            matches += any;
            const std::string at = oryx::prov::ComponentPath(*component);
            if (v < visited.size() && visited[v].first == component) {
                EXPECT_EQ(visited[v].second, any ? expected : std::vector<char>{}) << at;
                ++v;
            } else {
                EXPECT_FALSE(everyComponent || any) << at << " not visited";
            }
        }
        EXPECT_EQ(v, visited.size()) << "a component visited out of order, twice or hidden";
        EXPECT_GT(matches, 10u);
    }
}
