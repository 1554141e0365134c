#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "compare/attribute_comparison.h"
#include "compare/comparison.h"
#include "compare/diff_output.h"
#include "compare/difference_walk.h"
#include "prov/component_store.h"
#include "prov/reader.h"
#include "test_files.h"

namespace oryx::compare {
namespace {

using oryx::testing::Crlf;
using oryx::testing::TempDir;

// The text and CSV forms of a comparison, whole.
std::string DiffText(const Comparison& comparison) {
    std::string text;
    WriteDiffText(comparison, [&text](std::string_view piece) { text += piece; });
    return text;
}

std::string DiffCsv(const Comparison& comparison) {
    std::string text;
    WriteDiffCsv(comparison, [&text](std::string_view piece) { text += piece; });
    return text;
}

// Two stores read from files with exactly these bytes.
struct StorePair {
    TempDir dir;
    prov::ComponentStore first, second;
    StorePair(std::string_view a, std::string_view b) {
        prov::ReadProvisioningFile(dir.Write("first.txt", a), first);
        prov::ReadProvisioningFile(dir.Write("second.txt", b), second);
    }
};

std::string Diff(std::string_view a, std::string_view b, const CompareOptions& options = {}) {
    StorePair pair(a, b);
    return DiffText(Comparison(pair.first, pair.second, options));
}

std::string StartProv(std::string_view lines) { return "start prov\n" + std::string(lines); }

constexpr std::string_view kEqual = "0 added, 0 removed, 0 changed\n";

constexpr std::string_view kStartProvNode = R"(start prov
add Shelf
add Shelf Card/3
set Shelf Card/3 cardType aal1Ces, spareCard 0
add Lp/3
set Lp/3 mainCard Shelf Card/3
add AtmIf/31
set AtmIf/31 interfaceName atm31
add AtmIf/31 Vcc/0.100
add AtmIf/31 Vcc/0.100 Nrp
set AtmIf/31 Vcc/0.100 Nrp atmConnection Lp/3
)";

// The same node dumped in the configure format, components and attributes
// in another order.
constexpr std::string_view kConfigureNode = R"(saved configuration
configure AtmIf/31
set interfaceName atm31
configure Vcc/0.100
configure Nrp
set atmConnection Lp/3
return
return
return
configure Lp/3
set mainCard Shelf Card/3
return
configure Shelf
configure Card/3
set spareCard 0
set cardType aal1Ces
return
return
)";

struct DiffCase {
    const char* what;
    std::string first;
    std::string second;
    CompareOptions options;
    std::string expected;
};

void RunCases(const std::vector<DiffCase>& cases) {
    for (const DiffCase& c : cases) EXPECT_EQ(Diff(c.first, c.second, c.options), c.expected) << c.what;
}

TEST(Compare, WholeNodes) {
    RunCases({
        {"the same file", std::string(kStartProvNode), std::string(kStartProvNode), {}, std::string(kEqual)},
        {"start-prov against configure",
         std::string(kStartProvNode),
         std::string(kConfigureNode),
         {},
         std::string(kEqual)},
        {"configure against start-prov",
         std::string(kConfigureNode),
         std::string(kStartProvNode),
         {},
         std::string(kEqual)},
        {"CR LF against LF", Crlf(kStartProvNode), std::string(kConfigureNode), {}, std::string(kEqual)},
        {"reordered dump",
         std::string(kStartProvNode),
         StartProv("add Lp/3\n"
                   "set Lp/3 mainCard Shelf Card/3\n"
                   "add AtmIf/31\n"
                   "add AtmIf/31 Vcc/0.100\n"
                   "add AtmIf/31 Vcc/0.100 Nrp\n"
                   "set AtmIf/31 Vcc/0.100 Nrp atmConnection Lp/3\n"
                   "add Shelf\n"
                   "add Shelf Card/3\n"
                   "set Shelf Card/3 spareCard 0\n"
                   "set Shelf Card/3 cardType aal1Ces\n"
                   "add AtmIf/31\n"
                   "set AtmIf/31 interfaceName atm31\n"),
         {},
         std::string(kEqual)},
        {"names differing in case only",
         std::string(kStartProvNode),
         StartProv("add SHELF\n"
                   "add shelf card/3\n"
                   "set shelf card/3 CARDTYPE aal1Ces, SpareCard 0\n"
                   "add LP/3\n"
                   "set LP/3 mainCard Shelf Card/3\n"
                   "add atmif/31\n"
                   "set atmif/31 interfaceName atm31\n"
                   "add atmif/31 vcc/0.100\n"
                   "add atmif/31 vcc/0.100 nrp\n"
                   "set atmif/31 vcc/0.100 nrp atmConnection Lp/3\n"),
         {},
         std::string(kEqual)},
        {"an empty file against a full one",
         "",
         std::string(kStartProvNode),
         {},
         "+ AtmIf/31  (2 components beneath)\n"
         "+ Lp/3\n"
         "+ Shelf  (1 component beneath)\n"
         "3 added, 0 removed, 0 changed\n"},
        {"a full file against an empty one",
         std::string(kConfigureNode),
         "",
         {},
         "- AtmIf/31  (2 components beneath)\n"
         "- Lp/3\n"
         "- Shelf  (1 component beneath)\n"
         "0 added, 3 removed, 0 changed\n"},
        {"two empty files", "", "start prov\n", {}, std::string(kEqual)},
    });
}

TEST(Compare, AddedRemovedAndChangedComponents) {
    RunCases({
        {"topmost added and removed subtrees with their counts",
         StartProv("add Shelf\nadd Shelf Card/3\nadd Lp/3\nadd Lp/3 E1/0\nadd Lp/3 E1/0 Chan/0\nadd Lp/3 E1/1\n"),
         StartProv("add Shelf\nadd Shelf Card/3\nadd Shelf Card/4\nadd AtmIf/31\nadd AtmIf/31 Vcc/0.100\n"
                   "add AtmIf/31 Vcc/0.100 Nrp\n"),
         {},
         "+ AtmIf/31  (2 components beneath)\n"
         "- Lp/3  (3 components beneath)\n"
         "+ Shelf Card/4\n"
         "2 added, 1 removed, 0 changed\n"},
        {"depth first, siblings in the store's order (Card/10 before Card/2)",
         StartProv("add Shelf\nset Shelf shelfType a\nadd Shelf Card/2\nset Shelf Card/2 cardType x\n"
                   "add Shelf Card/10\nadd Shelf Card/10 Port/1\nset Shelf Card/10 Port/1 speed 1\nadd Lp/1\n"),
         StartProv("add Lp/1\nadd Shelf\nset Shelf shelfType b\nadd Shelf Card/10\nadd Shelf Card/10 Port/1\n"
                   "set Shelf Card/10 Port/1 speed 2\nadd Shelf Card/10 Port/0\nadd Shelf Card/2\n"
                   "set Shelf Card/2 cardType y\n"),
         {},
         "~ Shelf\n"
         "  - shelfType=a\n"
         "  + shelfType=b\n"
         "+ Shelf Card/10 Port/0\n"
         "~ Shelf Card/10 Port/1\n"
         "  - speed=1\n"
         "  + speed=2\n"
         "~ Shelf Card/2\n"
         "  - cardType=x\n"
         "  + cardType=y\n"
         "1 added, 0 removed, 3 changed\n"},
        {"paths spelled as in the first file, added ones as in the second",
         StartProv("add Shelf\nadd Shelf Card/3\nset Shelf Card/3 cardType a\nadd Shelf Card/5\n"),
         StartProv("add SHELF\nadd SHELF card/3\nset SHELF card/3 CARDTYPE b\nadd SHELF Card/4\n"),
         {},
         "~ Shelf Card/3\n"
         "  - cardType=a\n"
         "  + cardType=b\n"
         "+ SHELF Card/4\n"
         "- Shelf Card/5\n"
         "1 added, 1 removed, 1 changed\n"},
        {"a changed component inside an unchanged one, and below a changed one",
         StartProv("add A\nadd A B\nset A B x 1\nadd A B C\nset A B C y 1\n"),
         StartProv("add A\nadd A B\nset A B x 2\nadd A B C\nset A B C y 2\n"),
         {},
         "~ A B\n"
         "  - x=1\n"
         "  + x=2\n"
         "~ A B C\n"
         "  - y=1\n"
         "  + y=2\n"
         "0 added, 0 removed, 2 changed\n"},
        {"bookkeeping names and lines, and components beside the add node, take no part",
         StartProv("add Lp/3\nset Lp/3 mainCard x\nadd &Hidden\nadd Lp/3 &Spare\nadd Lp/3 &Spare Deep\n"
                   "address Book\n"),
         StartProv("add Lp/3\nset Lp/3 mainCard x, &hidden y\n"),
         {},
         std::string(kEqual)},
        {"the add node's own attributes take no part",
         "saved\nset nodeId 1\nconfigure Lp/3\n",
         "saved\nset nodeId 2\nconfigure Lp/3\n",
         {},
         std::string(kEqual)},
        {"empty component names",
         StartProv("add Lp/3\n"),
         StartProv("add Lp/3\nadd  Odd\nadd Lp/3  Odd\n"),
         {},
         "+ \n"
         "+ Lp/3 \n"
         "2 added, 0 removed, 0 changed\n"},
    });
}

// One component, Lp/3, with the pairs of one set line on each side.
DiffCase LpCase(const char* what, const char* first, const char* second, std::string expected,
                CompareOptions options = {}) {
    return {what, StartProv(std::string("add Lp/3\nset Lp/3 ") + first + "\n"),
            StartProv(std::string("add Lp/3\nset Lp/3 ") + second + "\n"), std::move(options),
            expected == "" ? std::string(kEqual) : "~ Lp/3\n" + expected};
}

TEST(Compare, Attributes) {
    RunCases({
        LpCase("same lines", "a 1, b 2", "a 1, b 2", ""),
        LpCase("other order", "a 1, b 2", "b 2, a 1", ""),
        LpCase("names in another case", "cardType x", "CARDTYPE x", ""),
        LpCase("a changed value, spelled as in the first file", "CardType x, b 2", "b 2, cardtype y",
               "  - CardType=x\n  + CardType=y\n0 added, 0 removed, 1 changed\n"),
        LpCase("removed and added names", "a 1, gone 2, b 3", "new 9, b 3, a 1, Later 8",
               "  - gone=2\n  + new=9\n  + Later=8\n0 added, 0 removed, 1 changed\n"),
        LpCase("names in the first file's order, then those only in the second", "b 1, a 1", "c 3, a 2, b 2",
               "  - b=1\n  + b=2\n  - a=1\n  + a=2\n  + c=3\n0 added, 0 removed, 1 changed\n"),
        LpCase("a value holding =", "a x=y", "a x=z", "  - a=x=y\n  + a=x=z\n0 added, 0 removed, 1 changed\n"),
        LpCase("an empty pair and a pair without a name", "a 1,", "a 1, enabled",
               "  - =\n  + =enabled\n0 added, 0 removed, 1 changed\n"),
        LpCase("values differ in case", "a Up", "a up", "  - a=Up\n  + a=up\n0 added, 0 removed, 1 changed\n"),
    });
}

TEST(Compare, RepeatedAttributeNames) {
    RunCases({
        LpCase("same values in the same order", "a 1, b 0, a 2", "a 1, a 2, b 0", ""),
        LpCase("the second occurrence changed", "a 1, a 2", "a 1, a 3",
               "  - a=2\n  + a=3\n0 added, 0 removed, 1 changed\n"),
        LpCase("values compared in their order of appearance", "a 1, a 2", "a 2, a 1",
               "  - a=1\n  + a=2\n  - a=2\n  + a=1\n0 added, 0 removed, 1 changed\n"),
        LpCase("an occurrence only in the first file", "a 1, a 2, b 5", "a 1, b 5",
               "  - a=2\n0 added, 0 removed, 1 changed\n"),
        LpCase("an occurrence only in the second file stays with its name", "a 1, b 5", "a 1, a 2, b 6",
               "  + a=2\n  - b=5\n  + b=6\n0 added, 0 removed, 1 changed\n"),
        LpCase("each occurrence keeps the first file's spelling", "A 1, a 2", "a 1, A 3, a 4",
               "  - a=2\n  + a=3\n  + A=4\n0 added, 0 removed, 1 changed\n"),
        LpCase("a repeated name only in the second file", "b 1", "b 1, n 1, N 2",
               "  + n=1\n  + N=2\n0 added, 0 removed, 1 changed\n"),
    });
}

CompareOptions Ignoring(std::vector<std::string> names, bool ignoreCase = false) {
    return CompareOptions{std::move(names), ignoreCase};
}

TEST(Compare, Options) {
    RunCases({
        LpCase("--ignore leaves a changed attribute out", "a 1, stamp 5", "a 1, stamp 6", "", Ignoring({"stamp"})),
        LpCase("--ignore ignores the name's case", "a 1, Stamp 5", "a 1, STAMP 6", "", Ignoring({"sTaMp"})),
        LpCase("--ignore leaves an attribute on one side out", "a 1, stamp 5", "a 1", "", Ignoring({"stamp"})),
        LpCase("--ignore names several attributes", "a 1, b 2, c 3", "a 9, b 8, c 3",
               "  - a=1\n  + a=9\n0 added, 0 removed, 1 changed\n", Ignoring({"b", "zzz"})),
        LpCase("--ignore of a repeated name", "a 1, a 2, b 1", "b 1, a 7", "", Ignoring({"A"})),
        LpCase("--ignore-case", "a Up, b DOWN", "a up, b down", "", Ignoring({}, true)),
        LpCase("--ignore-case keeps other differences and shows the values as written", "a Up, b 1", "a UP, b 2",
               "  - b=1\n  + b=2\n0 added, 0 removed, 1 changed\n", Ignoring({}, true)),
        LpCase("--ignore-case leaves names and values apart", "a x", "A X, b y",
               "  + b=y\n0 added, 0 removed, 1 changed\n", Ignoring({}, true)),
        {"--ignore never hides components", StartProv("add Lp/3\nadd Lp/4\nset Lp/4 stamp 1\n"),
         StartProv("add Lp/3\nset Lp/3 stamp 1\n"), Ignoring({"stamp"}), "- Lp/4\n0 added, 1 removed, 0 changed\n"},
    });
}

TEST(Compare, ParseIgnoredNames) {
    EXPECT_EQ(ParseIgnoredNames("adminState, customerIdentifier"),
              (std::vector<std::string>{"adminState", "customerIdentifier"}));
    EXPECT_EQ(ParseIgnoredNames(" a ,, b,"), (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(ParseIgnoredNames("").empty());
    EXPECT_TRUE(ParseIgnoredNames(" , ").empty());
}

// The comparison as the window shows it: the union tree with each entry's
// change, its count beneath, whether it is reported (*) and whether a
// reported difference lies beneath it (>).
std::string UnionTree(const Comparison& c) {
    std::string text;
    std::vector<std::pair<Comparison::Index, int>> stack{{Comparison::kRoot, -1}};
    while (!stack.empty()) {
        const auto [i, depth] = stack.back();
        stack.pop_back();
        if (i != Comparison::kRoot) {
            text += std::string(static_cast<std::size_t>(2 * depth), ' ');
            text += "=~-+"[static_cast<int>(c[i].change)];
            text += ' ';
            text += c.Name(i);
            if (c[i].beneath > 0) text += " (" + std::to_string(c[i].beneath) + ")";
            if (c.IsDifference(i)) text += " *";
            if (c[i].differenceBelow) text += " >";
            text += '\n';
        }
        for (Comparison::Index k = c.ChildEnd(i); k-- > c.ChildBegin(i);) {
            EXPECT_EQ(c.Parent(k), i);
            EXPECT_EQ(c.ChildBegin(i) + c.Row(k), k);
            stack.emplace_back(k, depth + 1);
        }
    }
    return text;
}

constexpr std::string_view kBefore = R"(start prov
add Shelf
add Shelf Card/2
set Shelf Card/2 cardType x
add Shelf Card/10
add Lp/3
add Lp/3 E1/0
add Lp/3 E1/0 Chan/0
add Vr/1
set Vr/1 name a
add Vr/1 Pp/0
add Vr/1 Pp/0 IpPort
set Vr/1 Pp/0 IpPort mtu 1500
add Vr/1 Pp/1
)";

constexpr std::string_view kAfter = R"(start prov
add shelf
add shelf Card/2
set shelf Card/2 cardType y
add shelf Card/10
add shelf Card/10 Port/0
add shelf Card/10 Port/0 Line/1
add Vr/1
set Vr/1 name b
add Vr/1 Pp/0
add Vr/1 Pp/0 IpPort
set Vr/1 Pp/0 IpPort mtu 9000
add Vr/1 Pp/1
add Zz
)";

TEST(Comparison, UnionTreeForTheWindow) {
    StorePair pair(kBefore, kAfter);
    const Comparison c(pair.first, pair.second);
    EXPECT_EQ(UnionTree(c),
              "- Lp/3 (2) *\n"
              "  - E1/0 (1)\n"
              "    - Chan/0\n"
              "= Shelf (4) >\n"
              "  = Card/10 (2) >\n"
              "    + Port/0 (1) *\n"
              "      + Line/1\n"
              "  ~ Card/2 *\n"
              "~ Vr/1 (3) * >\n"
              "  = Pp/0 (1) >\n"
              "    ~ IpPort *\n"
              "  = Pp/1\n"
              "+ Zz *\n");
    EXPECT_EQ(c.Summary().added, 2u);
    EXPECT_EQ(c.Summary().removed, 1u);
    EXPECT_EQ(c.Summary().changed, 3u);
    EXPECT_FALSE(c.Summary().Equal());
    EXPECT_EQ(SummaryLine(c.Summary()), "2 added, 1 removed, 3 changed");
    EXPECT_TRUE(c[Comparison::kRoot].differenceBelow);

    // Handles into both stores.
    const Comparison::Index shelf = c.ChildBegin(Comparison::kRoot) + 1;
    EXPECT_EQ(c[shelf].first, prov::FindComponent(pair.first.AddNode(), "Shelf"));
    EXPECT_EQ(c[shelf].second, prov::FindComponent(pair.second.AddNode(), "Shelf"));
    const Comparison::Index port = c.ChildBegin(c.ChildBegin(shelf));
    EXPECT_EQ(c[port].first, nullptr);
    EXPECT_EQ(c[port].second, prov::FindComponent(pair.second.AddNode(), "Shelf Card/10 Port/0"));
    EXPECT_EQ(c.Path(port), "shelf Card/10 Port/0");
    EXPECT_EQ(c.Path(c.ChildBegin(shelf) + 1), "Shelf Card/2");
    EXPECT_EQ(c.Path(c.ChildBegin(c.ChildBegin(Comparison::kRoot))), "Lp/3 E1/0");
}

TEST(Comparison, NextAndPreviousDifferenceFollowTheTextOrder) {
    StorePair pair(kBefore, kAfter);
    const Comparison c(pair.first, pair.second);
    std::vector<Comparison::Index> walked;
    std::vector<std::string> paths;
    ForEachDifference(c, [&](Comparison::Index i, std::string_view path) {
        walked.push_back(i);
        paths.emplace_back(path);
    });
    EXPECT_EQ(paths, (std::vector<std::string>{"Lp/3", "shelf Card/10 Port/0", "Shelf Card/2", "Vr/1",
                                               "Vr/1 Pp/0 IpPort", "Zz"}));
    std::vector<Comparison::Index> forward;
    for (Comparison::Index i = c.NextDifference(Comparison::kRoot); i != Comparison::kNone; i = c.NextDifference(i))
        forward.push_back(i);
    EXPECT_EQ(forward, walked);
    EXPECT_EQ(c.PreviousDifference(Comparison::kRoot), walked.back());
    std::vector<Comparison::Index> backward;
    for (Comparison::Index i = walked.back(); i != Comparison::kNone; i = c.PreviousDifference(i))
        backward.insert(backward.begin(), i);
    EXPECT_EQ(backward, walked);

    // From components that are no difference themselves.
    for (Comparison::Index i = 1; i < c.Size(); ++i) {
        std::size_t after = 0;
        while (after < walked.size() && walked[after] != i) ++after;
        if (after < walked.size()) continue;
        if (c.Path(i) == "Lp/3 E1/0 Chan/0") {
            EXPECT_EQ(c.NextDifference(i), walked[1]);
            EXPECT_EQ(c.PreviousDifference(i), walked[0]);
        }
        if (c.Path(i) == "Vr/1 Pp/1") {
            EXPECT_EQ(c.NextDifference(i), walked[5]);
            EXPECT_EQ(c.PreviousDifference(i), walked[4]);
        }
        if (c.Path(i) == "Shelf") {
            EXPECT_EQ(c.NextDifference(i), walked[1]);
            EXPECT_EQ(c.PreviousDifference(i), walked[0]);
        }
    }
}

TEST(Comparison, EqualNodesHaveNoDifferenceToGoTo) {
    StorePair pair(kStartProvNode, kConfigureNode);
    const Comparison c(pair.first, pair.second);
    EXPECT_TRUE(c.Summary().Equal());
    EXPECT_EQ(c.Size(), 7u);
    EXPECT_EQ(c.NextDifference(Comparison::kRoot), Comparison::kNone);
    EXPECT_EQ(c.PreviousDifference(Comparison::kRoot), Comparison::kNone);
    EXPECT_EQ(c.PreviousDifference(static_cast<Comparison::Index>(c.Size() - 1)), Comparison::kNone);
    for (Comparison::Index i = 1; i < c.Size(); ++i) EXPECT_FALSE(c.IsDifference(i) || c[i].differenceBelow);
}

TEST(Comparison, OptionsCanBeChangedAndRunAgain) {
    StorePair pair(StartProv("add Lp/3\nset Lp/3 a X, stamp 1\n"), StartProv("add Lp/3\nset Lp/3 a x, stamp 2\n"));
    CompareOptions options;
    EXPECT_EQ(Comparison(pair.first, pair.second, options).Summary().changed, 1u);
    options.ignoredNames = ParseIgnoredNames("stamp");
    EXPECT_EQ(Comparison(pair.first, pair.second, options).Summary().changed, 1u);
    options.ignoreValueCase = true;
    const Comparison c(pair.first, pair.second, options);
    EXPECT_EQ(c.Summary().changed, 0u);
    EXPECT_TRUE(c.Options().ignoreValueCase);
}

std::string RowText(const std::vector<AttributeRow>& rows) {
    static const char* const kWords[] = {"same", "changed", "removed", "added", "ignored"};
    std::string text;
    for (const AttributeRow& r : rows) {
        text += std::string(r.name) + " | " + (r.inFirst ? std::string(r.first) : "(none)") + " | " +
                (r.inSecond ? std::string(r.second) : "(none)") + " | " + kWords[static_cast<int>(r.change)];
        text += r.Differs() ? " !\n" : "\n";
    }
    return text;
}

TEST(Comparison, AttributesSideBySide) {
    StorePair pair(StartProv("add Lp/3\nset Lp/3 a 1, Stamp 5, b , a 2, gone x\nadd Lp/4\nset Lp/4 c 1\n"),
                   StartProv("add Lp/3\nset Lp/3 new y, b , stamp 6, a 1, a 3\nadd Lp/5\nset Lp/5 d 1\n"));
    const Comparison c(pair.first, pair.second, Ignoring({"stamp"}));
    const Comparison::Index lp3 = c.ChildBegin(Comparison::kRoot);
    EXPECT_EQ(RowText(c.Attributes(lp3)),
              "a | 1 | 1 | same\n"
              "a | 2 | 3 | changed !\n"
              "Stamp | 5 | 6 | ignored\n"
              " | b | b | same\n"
              "gone | x | (none) | removed !\n"
              "new | (none) | y | added !\n");
    EXPECT_EQ(RowText(c.Attributes(lp3 + 1)), "c | 1 | (none) | removed !\n");
    EXPECT_EQ(RowText(c.Attributes(lp3 + 2)), "d | (none) | 1 | added !\n");
    EXPECT_EQ(RowText(CompareAttributes(nullptr, nullptr, {})), "");
}

TEST(Compare, CsvQuotesEveryField) {
    StorePair pair(StartProv("add Lp/3\nset Lp/3 a say \"hi\", b 1\nadd Lp/4\nadd Lp/4 X\n"),
                   StartProv("add Lp/3\nset Lp/3 a say \"ho\", c 2\nadd Lp/\"5\"\n"));
    const Comparison c(pair.first, pair.second);
    EXPECT_EQ(DiffCsv(c),
              "\"change\",\"path\",\"attribute\",\"old\",\"new\"\r\n"
              "\"added\",\"Lp/\"\"5\"\"\",\"\",\"\",\"\"\r\n"
              "\"changed\",\"Lp/3\",\"a\",\"say \"\"hi\"\"\",\"say \"\"ho\"\"\"\r\n"
              "\"removed\",\"Lp/3\",\"b\",\"1\",\"\"\r\n"
              "\"added\",\"Lp/3\",\"c\",\"\",\"2\"\r\n"
              "\"removed\",\"Lp/4\",\"\",\"\",\"\"\r\n");
    StorePair same(kStartProvNode, kConfigureNode);
    EXPECT_EQ(DiffCsv(Comparison(same.first, same.second)), "\"change\",\"path\",\"attribute\",\"old\",\"new\"\r\n");
}

TEST(Compare, ProposedCsvFileName) {
    EXPECT_EQ(ProposedDiffCsvFileName("/data/node31.txt", "C:\\prov\\node31-after.cfg"), "node31 vs node31-after.csv");
    EXPECT_EQ(ProposedDiffCsvFileName("a", "b.1.txt"), "a vs b.1.csv");
}

// Wide components compare in linear time; a quadratic matcher would take
// minutes here.
TEST(Compare, WideComponents) {
    constexpr int kLines = 100'000;
    std::string distinct, reversed, repeated, repeatedChanged;
    for (int i = 0; i < kLines; ++i) {
        distinct += "set Lp/3 n" + std::to_string(i) + " " + std::to_string(i) + "\n";
        reversed += "set Lp/3 N" + std::to_string(kLines - 1 - i) + " " + std::to_string(kLines - 1 - i) + "\n";
        repeated += "set Lp/3 same " + std::to_string(i) + "\n";
        repeatedChanged += "set Lp/3 same " + std::to_string(i == kLines - 1 ? -1 : i) + "\n";
    }
    EXPECT_EQ(Diff(StartProv("add Lp/3\n" + distinct), StartProv("add Lp/3\n" + reversed)), kEqual);
    EXPECT_EQ(Diff(StartProv("add Lp/3\n" + repeated), StartProv("add Lp/3\n" + repeatedChanged)),
              "~ Lp/3\n  - same=99999\n  + same=-1\n0 added, 0 removed, 1 changed\n");
}

TEST(Compare, MillionDeepFile) {
    constexpr int kDepth = 1'000'000;
    std::string deep, path;
    deep.reserve(kDepth * 14);
    path.reserve(kDepth * 4);
    for (int i = 0; i < kDepth; ++i) {
        const std::string name = "C/" + std::to_string(i % 10);
        deep += "configure " + name + "\n";
        if (i > 0) path += ' ';
        path += name;
    }
    const std::string changed = deep + "set depth " + std::to_string(kDepth) + "\n";
    StorePair pair(deep, changed);
    {
        const Comparison c(pair.first, pair.first);
        EXPECT_TRUE(c.Summary().Equal());
        EXPECT_EQ(c.Size(), kDepth + 1u);
    }
    const Comparison c(pair.first, pair.second);
    EXPECT_EQ(DiffText(c), "~ " + path + "\n  + depth=" + std::to_string(kDepth) + "\n0 added, 0 removed, 1 changed\n");
    const Comparison::Index last = c.NextDifference(Comparison::kRoot);
    EXPECT_EQ(last, c.Size() - 1);
    EXPECT_EQ(c.Path(last), path);
    EXPECT_EQ(c.PreviousDifference(last), Comparison::kNone);

    prov::ComponentStore empty;
    const Comparison removed(pair.first, empty);
    EXPECT_EQ(DiffText(removed), "- C/0  (999999 components beneath)\n0 added, 1 removed, 0 changed\n");
    EXPECT_EQ(DiffCsv(Comparison(empty, pair.second)),
              "\"change\",\"path\",\"attribute\",\"old\",\"new\"\r\n\"added\",\"C/0\",\"\",\"\",\"\"\r\n");
}

}  // namespace
}  // namespace oryx::compare
