// The reference rule and the index over a store.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "prov/collation.h"
#include "prov/component_store.h"
#include "prov/reader.h"
#include "refs/reference_index.h"
#include "refs/reference_rule.h"
#include "refs_node.h"
#include "search/component_path.h"
#include "test_files.h"

namespace oryx::testing {
namespace {

using refs::ReferenceKind;

std::string PathOf(const prov::ComponentNode* node) { return node ? prov::ComponentPath(*node) : "(none)"; }

class ReferenceStore : public ::testing::Test {
protected:
    void SetUp() override { prov::ReadProvisioningFile(dir_.Write("node.txt", kReferenceNode), store_); }

    TempDir dir_;
    prov::ComponentStore store_;
};

TEST_F(ReferenceStore, ResolvesEachKind) {
    const refs::ReferenceResolver resolver(store_);
    struct Case {
        std::string line;
        ReferenceKind kind;
        std::string target;   // the component's path, or "(none)"
        std::string missing;  // the part that is not in the file
    } cases[] = {
        {"a=Lp/2 Sonet/0", ReferenceKind::Exact, "Lp/2 Sonet/0", ""},
        {"a=lp/2 SONET/0", ReferenceKind::Exact, "Lp/2 Sonet/0", ""},
        {"a= \tLp/2 Sonet/0 \t ", ReferenceKind::Exact, "Lp/2 Sonet/0", ""},
        {"a=Shelf Card/5", ReferenceKind::Exact, "Shelf Card/5", ""},
        {"a=Lp/2", ReferenceKind::Exact, "Lp/2", ""},
        {"a=Lp/2 Odd\tName/1", ReferenceKind::Exact, "Lp/2 Odd\tName/1", ""},
        {"a=b=Lp/2", ReferenceKind::None, "(none)", ""},
        {"a=Shelf", ReferenceKind::None, "(none)", ""},
        {"&a=Lp/2", ReferenceKind::None, "(none)", ""},
        {"Lp/2", ReferenceKind::None, "(none)", ""},
        {"a=Lp/2  Sonet/0", ReferenceKind::None, "(none)", ""},
        {"a=Lp/2 &Hidden/1", ReferenceKind::None, "(none)", ""},
        {"a=&Secret/1", ReferenceKind::None, "(none)", ""},
        {"a=Lp/2 Sonet/0 Path/0", ReferenceKind::Partial, "Lp/2 Sonet/0", "Path/0"},
        {"a=LP/2 Path/0 Chan/1", ReferenceKind::Partial, "Lp/2", "Path/0 Chan/1"},
        {"a=Shelf Card/2 Port", ReferenceKind::Partial, "Shelf Card/2", "Port"},
        {"a=Lp/2 Sonet/0 Path/0!", ReferenceKind::None, "(none)", ""},
        {"a=Shelf Card/2!", ReferenceKind::None, "(none)", ""},
        {"a=Lp/2 Sonet/0 Path/", ReferenceKind::None, "(none)", ""},
        {"a=Lp/2 Sonet/0 9Path/0", ReferenceKind::None, "(none)", ""},
        {"a=Lp/2 Sonet/0 Pa\tth/0", ReferenceKind::None, "(none)", ""},
        {"a=Lp/2 Sonet/0 Path", ReferenceKind::Partial, "Lp/2 Sonet/0", "Path"},
        {"a=lp/3 Sonet/0", ReferenceKind::Dangling, "(none)", "lp/3"},
        {"a=Shelf/9 Card/1", ReferenceKind::Dangling, "(none)", "Shelf/9"},
        {"a=ATMIF/99 Vcc/0\t1", ReferenceKind::Dangling, "(none)", "ATMIF/99"},
        {"a=AtmIf/99 Vcc/0.1!", ReferenceKind::None, "(none)", ""},
        {"a=Trk/1 Atm", ReferenceKind::None, "(none)", ""},
        {"a=Secret/2", ReferenceKind::None, "(none)", ""},
        {"a=Vcc/0.1", ReferenceKind::None, "(none)", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const refs::Resolution r = resolver.ResolveLine(c.line);
        EXPECT_EQ(r.kind, c.kind);
        EXPECT_EQ(PathOf(r.target), c.target);
        EXPECT_EQ(r.missing, c.missing);
        // An exact reference is what the search's exact path finds, for a value holding a "/".
        const std::string_view value = refs::ReferenceValue(c.line);
        const prov::ComponentNode* found = c.line.starts_with("&") || value.find('/') == std::string_view::npos
                                               ? nullptr
                                               : search::FindComponentAtPath(store_, value, search::QueryText::Bytes);
        EXPECT_EQ(r.kind == ReferenceKind::Exact ? r.target : nullptr, found);
    }
}

TEST_F(ReferenceStore, IndexesBothWays) {
    const refs::ReferenceIndex index(store_);
    // Every component's references, either way, as "kind source: line" in order.
    const auto describe = [&](const refs::Reference& r) {
        static constexpr const char* kKinds[] = {"none", "exact", "partial", "dangling"};
        return std::string(kKinds[static_cast<int>(r.kind)]) + " " + PathOf(&index.Component(r.source)) + ": " +
               std::string(r.line);
    };
    const auto describeAll = [&](const auto& positions) {
        std::vector<std::string> out;
        for (const std::uint32_t i : positions) out.push_back(describe(index.All()[i]));
        return out;
    };
    struct Case {
        std::string path;
        std::vector<std::string> outgoing, exactTo, partialTo, toSubtree;
    } cases[] = {
        {"Lp/2",
         {"exact Lp/2: mainCard=shelf card/2", "exact Lp/2: spareCard=Shelf Card/5", "exact Lp/2: selfRef=Lp/2",
          "exact Lp/2: odd=Lp/2 Odd\tName/1"},
         {"exact Lp/2: selfRef=Lp/2"},
         {},
         {"partial AtmIf/21: interfaceName=LP/2 SONET/0 Path/0", "exact AtmIf/21: primary=Lp/2 Sonet/0",
          "exact Lp/2: selfRef=Lp/2", "exact Lp/2: odd=Lp/2 Odd\tName/1"}},
        {"Lp/2 Sonet/0",
         {},
         {"exact AtmIf/21: primary=Lp/2 Sonet/0"},
         {"partial AtmIf/21: interfaceName=LP/2 SONET/0 Path/0"},
         {"partial AtmIf/21: interfaceName=LP/2 SONET/0 Path/0", "exact AtmIf/21: primary=Lp/2 Sonet/0"}},
        {"AtmIf/22",
         {"dangling AtmIf/22: nextHop=atmif/99 Vcc/0.1", "dangling AtmIf/22: shelfNine=Shelf/9 Card/1",
          "partial AtmIf/22: port=Shelf Card/2 Port/1", "dangling AtmIf/22: tabbed=AtmIf/98 Vcc/0\t1"},
         {},
         {},
         {}},
        {"Shelf",
         {},
         {},
         {},
         {"partial AtmIf/22: port=Shelf Card/2 Port/1", "exact Lp/2: mainCard=shelf card/2",
          "exact Lp/2: spareCard=Shelf Card/5"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const refs::ComponentNumber n =
            index.Number(search::FindComponentAtPath(store_, c.path, search::QueryText::Bytes));
        ASSERT_NE(n, refs::kNoComponent);
        std::vector<std::string> outgoing;
        for (const refs::Reference& r : index.Outgoing(n)) {
            outgoing.push_back(describe(r));
            EXPECT_EQ(index.Component(n).Attributes().FileLines()[r.lineIndex], r.line);
        }
        EXPECT_EQ(outgoing, c.outgoing);
        EXPECT_EQ(describeAll(index.ExactTo(n)), c.exactTo);
        EXPECT_EQ(describeAll(index.PartialTo(n)), c.partialTo);
        EXPECT_EQ(describeAll(index.ToSubtree(n)), c.toSubtree);
    }
    // Neither the add node nor a hidden component has a number.
    EXPECT_EQ(index.Number(store_.AddNode()), refs::kNoComponent);
    EXPECT_EQ(index.Number(prov::GetChild(store_.AddNode(), "&Secret/1")), refs::kNoComponent);
}

// The rule the resolver follows, the plain way: a walk down the tree with
// prov::GetChild, and the top-level types by a look at every top-level name.
refs::Resolution PlainResolution(const prov::ComponentStore& store, std::string_view line) {
    const std::string_view value = refs::ReferenceValue(line);
    if (line.starts_with("&") || value.find('/') == std::string_view::npos) return {};
    std::vector<std::string_view> pieces;
    for (std::size_t start = 0;;) {
        const std::size_t space = value.find(' ', start);
        pieces.push_back(value.substr(start, space == std::string_view::npos ? space : space - start));
        if (space == std::string_view::npos) break;
        start = space + 1;
    }
    const auto typeOf = [](std::string_view piece) { return piece.substr(0, piece.find('/')); };
    const prov::ComponentNode* named = store.AddNode();
    std::size_t count = 0;
    for (; count < pieces.size(); ++count) {
        const prov::ComponentNode* child = prov::GetChild(named, pieces[count]);
        if (!child || child->Name().starts_with("&")) break;
        named = child;
    }
    if (count == pieces.size()) return {ReferenceKind::Exact, named, {}};
    bool topType = false;
    for (const prov::ComponentNode* top : store.AddNode()->Children())
        topType = topType || (!top->Name().starts_with("&") && prov::SameName(typeOf(top->Name()), typeOf(pieces[0])));
    bool shaped = true, instance = false;
    for (const std::string_view piece : pieces) {
        const std::string_view type = typeOf(piece);
        shaped =
            shaped && !type.empty() && std::isalpha(static_cast<unsigned char>(type[0])) &&
            std::all_of(type.begin(), type.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)); }) &&
            piece.size() != type.size() + 1;
        instance = instance || piece.size() > type.size();
    }
    if (!topType || !shaped || !instance || value.ends_with("!")) return {};
    if (count == 0) return {ReferenceKind::Dangling, nullptr, pieces[0]};
    return {ReferenceKind::Partial, named, value.substr(static_cast<std::size_t>(pieces[count].data() - value.data()))};
}

// The resolver looks a first piece up in tables of the top-level names and
// types and keeps what it resolved: it must answer as the plain walk does,
// whatever the case, blanks, ends and neighbours of the names.
TEST(ReferenceResolver, AnswersAsThePlainWalk) {
    const TempDir dir;
    prov::ComponentStore store;
    // A large family, names alike in their first eight bytes among them.
    std::string family;
    for (const char* name : {"Vcc/0.32", "Vcc/0.33", "Vcc/0.34", "Vcc/0.40", "Vcc/0.1", "Vcc/0.10", "Vcc/0.100",
                             "Vcc/0.1000", "Vcc/0.10x", "Vcc/1", "Path/0", "&Vcc/0.5", "vcc2/1"})
        family += "add Lp/20 " + std::string(name) + "\n";
    prov::ReadProvisioningFile(dir.Write("node.txt",
                                         "start prov\n"
                                         "add Lp/2\nadd Lp/20\nadd Lp/2 Sonet/0\nadd Lp/2 Sonet/0 Path/0\n"
                                         "add Lp/2 Sonet/0 Path/0 Chan/7\nadd Lp/20 Sonet/1\nadd Lpt/3\n"
                                         "add L/1\nadd Lp/2 &Gone/1\nadd &Lq/1\nadd Lp/2 Odd\tName/1\n"
                                         "add Sw\nadd Sw Lpt/0\nadd X9/1\n" +
                                             family),
                               store);
    const std::vector<std::string> values = {"Lp/2",
                                             "lp/2",
                                             "LP/20",
                                             "Lp/20 Sonet/1",
                                             "Lp/20 sonet/0",
                                             "Lp/2 Sonet/1",
                                             "Lp/200",
                                             "Lp/2x Sonet/0",
                                             "Lp/",
                                             "Lp",
                                             "Lp/2 Sonet/0 Path/0 Chan/7",
                                             "lp/2 SONET/0 path/0 CHAN/7 Ds0/1 Ts/2",
                                             "Lp/2 Sonet/0 Path/0!",
                                             "Lp/2 Sonet/0 Path/0 Chan/7!",
                                             "Lp/2 Sonet/0  Path/0",
                                             "Lp/2\tSonet/0",
                                             "Lp/2 Odd\tName/1",
                                             "Lp/2 Odd\tName/2",
                                             "Lp/2 &Gone/1",
                                             "Lp/2 &Gone/1 X/1",
                                             "&Lq/1",
                                             "Lq/1 A/1",
                                             "Lpt/3",
                                             "lpt/4 A/1",
                                             "Lpt/4",
                                             "L/1 A/1",
                                             "L/2 A/1",
                                             "Lx/1 A/1",
                                             "Sw Lpt/0",
                                             "sw lpt/1",
                                             "Sw/1 Lpt/0",
                                             "X9/1 Y/1",
                                             "x9/2 Y/1",
                                             "9X/1",
                                             "unlocked",
                                             "0.46",
                                             "47.0091/1",
                                             "Lp/2 Sonet/0 9Path/0",
                                             "Lp/2 Sonet/0 Path/",
                                             " Lp/2 \t ",
                                             "Lp/2 Sonet/0 Path/0 Chan/7 \t",
                                             "AtmIf/1 Vcc/0.32",
                                             "Lp/20 Sonet/1 Path/0",
                                             "Lp/2 Sonet/0 Path/0 Chan/70",
                                             "Lp/20 Vcc/0.100",
                                             "lp/20 VCC/0.1000",
                                             "Lp/20 Vcc/0.10000",
                                             "Lp/20 Vcc/0.10X",
                                             "Lp/20 Vcc/0.10y",
                                             "Lp/20 Vcc/0.1",
                                             "Lp/20 Vcc/0.3",
                                             "Lp/20 Vcc/0.40 X/1",
                                             "Lp/20 Vcc/0.41",
                                             "Lp/20 &Vcc/0.5",
                                             "Lp/20 Vcc/0.5",
                                             "Lp/20 Vcc/",
                                             "Lp/20 A/1",
                                             "Lp/20 Zz/1",
                                             "Lp/20 Vcc2/1",
                                             "Lp/20 Path/0 Vcc/1"};
    const refs::ReferenceResolver resolver(store);
    // Twice over: the second answers come from what the resolver kept.
    for (int round = 0; round < 2; ++round)
        for (const std::string& value : values) {
            const std::string line = "ref=" + value;
            SCOPED_TRACE(line);
            const refs::Resolution fast = resolver.ResolveLine(line), plain = PlainResolution(store, line);
            EXPECT_EQ(fast.kind, plain.kind);
            EXPECT_EQ(PathOf(fast.target), PathOf(plain.target));
            EXPECT_EQ(fast.missing, plain.missing);
        }
}

TEST(ReferenceIndex, EmptyAndReleasedStores) {
    prov::ComponentStore released;
    released.Clear();
    const refs::ReferenceIndex none(released);
    EXPECT_EQ(none.ComponentCount(), 0u);
    EXPECT_TRUE(none.All().empty());
    EXPECT_EQ(refs::ReferenceResolver(released).ResolveLine("a=Lp/2").kind, ReferenceKind::None);
}

}  // namespace
}  // namespace oryx::testing
