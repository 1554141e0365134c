// The reference rule and the index over a store.
#include <gtest/gtest.h>

#include <string>
#include <vector>

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
