#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "prov/collation.h"
#include "prov/component_store.h"
#include "prov/line_batches.h"
#include "prov/read_diagnostics.h"
#include "prov/reader.h"
#include "prov/text_pool.h"
#include "prov/tree_text.h"
#include "test_files.h"
#include "text/control_bytes.h"

namespace oryx::prov {
namespace {

using oryx::testing::Crlf;
using oryx::testing::TempDir;

std::string TreeText(const ComponentStore& store) {
    std::ostringstream out;
    WriteTreeText(store, out);
    return out.str();
}

struct Loaded {
    TempDir dir;
    ComponentStore store;
    std::string file;
    explicit Loaded(std::string_view bytes) {
        file = dir.Write("node.txt", bytes);
        ReadProvisioningFile(file, store);
    }
    const ComponentNode* Find(std::string_view path) const { return FindComponent(&store.Root(), path); }
    std::vector<std::string> Lines(std::string_view path) const {
        std::vector<std::string> lines;
        const AttributeList* list = GetAttributes(Find(path));
        if (list)
            for (std::size_t i = 0; i < list->LineCount(); ++i) lines.push_back(list->Line(i));
        return lines;
    }
};

std::vector<std::string> ChildNames(const ComponentNode* node) {
    std::vector<std::string> names;
    for (const ComponentNode* c : node->Children()) names.emplace_back(c->Name());
    return names;
}

constexpr std::string_view kStartProvExample =
    "start prov\r\n"
    "add Shelf\r\n"
    "add Shelf Card/3\r\n"
    "set Shelf Card/3 cardType aal1Ces, spareCard 0\r\n"
    "add Lp/3\r\n"
    "set Lp/3 mainCard Shelf Card/3\r\n"
    "add AtmIf/31\r\n"
    "set AtmIf/31 interfaceName atm31\r\n"
    "add AtmIf/31 Vcc/0.100\r\n"
    "add AtmIf/31 Vcc/0.100 Nrp\r\n"
    "set AtmIf/31 Vcc/0.100 Nrp atmConnection Lp/3,\r\n";

constexpr std::string_view kConfigureExample =
    "saved configuration\n"
    "configure Shelf\n"
    "configure Card/3\n"
    "set cardType aal1Ces, spareCard 0\n"
    "return\n"
    "set shelfType xyz\n"
    "return\n"
    "configure AtmIf/31 Vcc/0.100\n"
    "set atmConnection Lp/3\n"
    "return\n";

TEST(Reader, StartProvExampleStore) {
    Loaded f(kStartProvExample);
    const ComponentNode& root = f.store.Root();
    ASSERT_EQ(root.EntryCount(), 2u);
    EXPECT_EQ(root.Entry(0).name, "&PROP");
    EXPECT_EQ(root.Entry(1).name, "add");
    EXPECT_EQ(ChildNames(f.store.AddNode()), (std::vector<std::string>{"AtmIf/31", "Lp/3", "Shelf"}));
    EXPECT_EQ(f.Lines("add"), (std::vector<std::string>{"&FULLPATH=add", "&NAME=add"}));
    EXPECT_EQ(
        f.Lines("add AtmIf/31 Vcc/0.100 Nrp"),
        (std::vector<std::string>{"&FULLPATH=add AtmIf/31 Vcc/0.100 Nrp", "&NAME=Nrp", "atmConnection=Lp/3", "="}));
    EXPECT_EQ(f.Lines("add Shelf Card/3"), (std::vector<std::string>{"&FULLPATH=add Shelf Card/3", "&NAME=Card/3",
                                                                     "cardType=aal1Ces", "spareCard=0"}));
    EXPECT_EQ(f.Lines("add Lp/3"),
              (std::vector<std::string>{"&FULLPATH=add Lp/3", "&NAME=Lp/3", "mainCard=Shelf Card/3"}));
    EXPECT_EQ(f.Lines("add Shelf"), (std::vector<std::string>{"&FULLPATH=add Shelf", "&NAME=Shelf"}));
    EXPECT_EQ(f.store.AddNode()->Parent(), nullptr);
    EXPECT_EQ(f.Find("add Shelf Card/3")->Parent(), f.Find("add Shelf"));
    EXPECT_FALSE(IsConfigureFile(f.file));
}

TEST(TreeText, StartProvExample) {
    Loaded f(kStartProvExample);
    EXPECT_EQ(TreeText(f.store), Crlf(R"(
AtmIf/31
 |
 |--interfaceName = atm31
 |
 |--Vcc/0.100
 |   |
 |   |--Nrp
 |   |   |
 |   |   |--atmConnection = Lp/3
 |   |   |-- = 

Lp/3
 |
 |--mainCard = Shelf Card/3

Shelf
 |
 |--Card/3
 |   |
 |   |--cardType = aal1Ces
 |   |--spareCard = 0
)"));
}

TEST(Reader, ConfigureExample) {
    Loaded f(kConfigureExample);
    EXPECT_EQ(ChildNames(f.store.AddNode()), (std::vector<std::string>{"AtmIf/31_Vcc/0.100", "Shelf"}));
    EXPECT_EQ(f.Lines("add Shelf"), (std::vector<std::string>{"&FULLPATH=add Shelf", "&NAME=Shelf", "shelfType=xyz"}));
    EXPECT_EQ(f.Lines("add Shelf Card/3"), (std::vector<std::string>{"&FULLPATH=add Shelf Card/3", "&NAME=Card/3",
                                                                     "cardType=aal1Ces", "spareCard=0"}));
    EXPECT_EQ(f.Lines("add AtmIf/31_Vcc/0.100"),
              (std::vector<std::string>{"&FULLPATH=add AtmIf/31_Vcc/0.100", "&NAME=AtmIf/31_Vcc/0.100",
                                        "atmConnection=Lp/3"}));
    EXPECT_FALSE(IsConfigureFile(f.file));
    TempDir dir;
    EXPECT_TRUE(IsConfigureFile(dir.Write("c.txt", "configure Shelf\nreturn\n")));
    EXPECT_FALSE(IsConfigureFile(dir.Write("e.txt", "")));
    EXPECT_FALSE(IsConfigureFile(dir.Write("u.txt", "Configure Shelf\n")));
}

// The configure format read the plain way, one component walk per line along
// the whole context: what the reader must agree with, however it gets there.
class PlainConfigureReader final {
public:
    struct Node {
        std::string name, fullPath;
        std::vector<std::string> lines;
        std::vector<std::unique_ptr<Node>> children;

        Node* Child(std::string_view piece) const {
            for (const auto& c : children)
                if (SameName(c->name, piece)) return c.get();
            return nullptr;
        }
    };

    explicit PlainConfigureReader(std::string_view file) {
        auto add = std::make_unique<Node>();
        add->name = add->fullPath = "add";
        target_ = add.get();
        root_.children.push_back(std::move(add));
        std::istringstream in{std::string(file)};
        for (std::string line; std::getline(in, line);) Line(std::string(TrimControl(line)) + " ");
    }

    const Node& Root() const { return root_; }

private:
    void Line(const std::string& working) {
        if (working.starts_with("return")) {
            if (context_.empty()) return;
            context_.pop_back();
            context_.erase(context_.rfind(' ') == std::string::npos ? 0 : context_.rfind(' ') + 1);
        } else if (working.starts_with("configure")) {
            std::string rewritten = "add" + working.substr(9);
            const std::size_t first = rewritten.find(' ');
            for (std::size_t i = first + 1; i + 1 < rewritten.size(); ++i)
                if (rewritten[i] == ' ') rewritten[i] = '_';
            const std::string walked = rewritten.substr(0, first + 1) + context_ + rewritten.substr(first + 1);
            context_ += rewritten.substr(first + 1);
            Walk(walked);
        } else if (working.starts_with("set")) {
            std::string path = "add";
            if (!context_.empty()) path += " " + context_.substr(0, context_.size() - 1);
            if (Node* found = Find(path)) target_ = found;
            std::string rest(TrimControl(working.substr(working.find(' ') + 1)));
            rest += ',';
            for (std::size_t comma; (comma = rest.find(',')) != std::string::npos; rest.erase(0, comma + 1)) {
                const std::string_view pair = TrimControl(std::string_view(rest).substr(0, comma));
                const std::size_t space = pair.find(' ');
                if (space == std::string_view::npos)
                    target_->lines.push_back("=" + std::string(pair));
                else
                    target_->lines.push_back(std::string(TrimControl(pair.substr(0, space))) + "=" +
                                             std::string(TrimControl(pair.substr(space + 1))));
            }
        }
    }

    void Walk(std::string_view rest) {
        std::string path;
        Node* current = &root_;
        do {
            const std::size_t space = rest.find(' ');
            const std::string piece(rest.substr(0, space));
            rest.remove_prefix(space + 1);
            path = std::string(TrimControl(path + " " + piece));
            Node* child = current->Child(piece);
            if (!child) {
                auto created = std::make_unique<Node>();
                created->name = piece;
                created->fullPath = path;
                target_ = created.get();
                current->children.push_back(std::move(created));
                return;
            }
            current = child;
        } while (rest.find(' ') != std::string_view::npos);
    }

    Node* Find(const std::string& path) const {
        const Node* current = &root_;
        Node* result = nullptr;
        std::string_view rest = path;
        while (true) {
            const std::size_t space = rest.find(' ');
            result = current->Child(rest.substr(0, space));
            if (result) current = result;
            if (space == std::string_view::npos) return result;
            rest.remove_prefix(space + 1);
        }
    }

    Node root_;
    Node* target_ = nullptr;
    std::string context_;
};

// Compares a store's subtree with the plain reader's, top-level components
// beside the add node included.
void ExpectSameTree(const PlainConfigureReader::Node& expected, const ComponentNode& actual, const std::string& where) {
    ASSERT_EQ(actual.ChildCount(), expected.children.size()) << where;
    for (const auto& child : expected.children) {
        const ComponentNode* found = GetChild(&actual, child->name);
        ASSERT_NE(found, nullptr) << where << " / " << child->name;
        const std::string here = where + " / " + child->name;
        EXPECT_EQ(found->Name(), child->name) << here;
        EXPECT_EQ(GetFullPath(found), child->fullPath) << here;
        const FileLineRange lines = found->Attributes().FileLines();
        EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.end()), child->lines) << here;
        ExpectSameTree(*child, *found, here);
    }
}

// Mixes of configure, "configured..." (components beside the add node),
// return and set lines, letter case and control bytes included, against the
// plain reading.
TEST(Reader, ConfigureMixesReadAsOneWalkPerLine) {
    const std::vector<std::string> kinds = {
        "configure a",   "configure A",     "configure b",     "configure a b", "configure",
        "configure \tc", "configure d\x01", "configured a",    "configuredX b", "configuredx B",
        "configuredX",   "configuredY a",   "configuredX\t a", "return",        "return",
        "return",        "set k v",         "set k2 v2, k3",   "set",           "configure C",
    };
    std::mt19937 random(11);
    for (int round = 0; round < 150; ++round) {
        std::string file = "saved configuration\n";
        const int lines = 20 + static_cast<int>(random() % 200);
        const std::size_t spread = 4 + random() % kinds.size();
        for (int i = 0; i < lines; ++i) file += kinds[random() % std::min(spread, kinds.size())] + "\n";
        SCOPED_TRACE(file);
        Loaded f(file);
        ExpectSameTree(PlainConfigureReader(file).Root(), f.store.Root(), "root");
        if (::testing::Test::HasFailure()) return;
    }
}

// Lines that once made reading quadratic in the depth of the configure
// context. Only the tests' time limit watches the time.
TEST(ReaderLargeInput, ConfiguredLinesNestBesideTheAddNode) {
    constexpr int kLines = 100'000;
    std::string file;
    for (int i = 0; i < kLines; ++i) file += "configuredX a\n";
    Loaded f(file);
    EXPECT_EQ(f.store.NodeCount(), 2u + kLines);
    const ComponentNode* node = GetChild(&f.store.Root(), "adddX");
    ASSERT_NE(node, nullptr);
    for (int depth = 1; depth < kLines; ++depth) {
        ASSERT_EQ(node->ChildCount(), 1u) << depth;
        node = node->Children()[0];
    }
    EXPECT_EQ(node->ChildCount(), 0u);
    std::string path = "adddX";
    for (int depth = 1; depth < kLines; ++depth) path += " a";
    EXPECT_EQ(GetFullPath(node), path);
}

TEST(ReaderLargeInput, SetLinesAfterTheContextLeftTheAddNode) {
    constexpr int kLines = 80'000;
    std::string file;
    for (int i = 0; i < kLines; ++i) file += "configure a\n";
    file += "configuredX b\n";
    for (int i = 0; i < kLines; ++i) file += "set k v\n";
    Loaded f(file);
    // The context names no component, so the set lines stay with the
    // component created last.
    const ComponentNode* beside = GetChild(&f.store.Root(), "adddX");
    ASSERT_NE(beside, nullptr);
    EXPECT_EQ(beside->Attributes().FileLines().size(), static_cast<std::size_t>(kLines));
    const ComponentNode* node = f.store.AddNode();
    for (int depth = 0; depth < kLines; ++depth) {
        ASSERT_EQ(node->ChildCount(), 1u) << depth;
        node = node->Children()[0];
        ASSERT_TRUE(node->Attributes().FileLines().empty()) << depth;
    }
}

// Each case: file bytes, then the expected tree text (LF for CR LF).
struct TreeCase {
    const char* name;
    std::string_view file;
    std::string_view tree;
};

class TreeCases : public ::testing::TestWithParam<TreeCase> {};

TEST_P(TreeCases, TreeText) {
    Loaded f(GetParam().file);
    EXPECT_EQ(TreeText(f.store), Crlf(GetParam().tree));
}

const TreeCase kTreeCases[] = {
    {"LfLineEnds", "start prov\nadd Shelf\nset Shelf a 1\n", "\nShelf\n |\n |--a = 1\n"},
    {"LoneCrLineEnds", "start prov\radd Shelf\rset Shelf a 1\r", "\nShelf\n |\n |--a = 1\n"},
    {"LastLineWithoutEnd", "start prov\nadd Shelf\nset Shelf a 1", "\nShelf\n |\n |--a = 1\n"},
    // CR CR is two line ends; the empty line between matches nothing.
    {"CrCr", "start prov\r\radd Shelf\r\r\rset Shelf a 1", "\nShelf\n |\n |--a = 1\n"},
    {"CtrlZEndsTheFile", "start prov\nadd Shelf\nset Shelf a 1\x1a\nadd Lp/1\n", "\nShelf\n |\n |--a = 1\n"},
    {"OnlyCtrlZ", "\x1a", ""},
    {"Empty", "", ""},
    {"StartProvTrimmed", " \t start prov\t \nadd Shelf\n", "\nShelf\n"},
    // Not the start-prov format: add lines are ignored, and "configure" is not a prefix.
    {"StartProvWrongCase", "Start Prov\nadd Shelf\nconfigure Lp/1\n", "\nLp/1\n"},
    {"StartProvTwoSpaces", "start  prov\nadd Shelf\n", ""},
    {"ByteOrderMark", "\xEF\xBB\xBFstart prov\nadd Shelf\nconfigure Lp/1\n", "\nLp/1\n"},
    // A missing parent: only Shelf is created, and the set line drops 9 characters.
    {"ChildBeforeParent", "start prov\nadd Shelf Card/3\nset Shelf Card/3 cardType x\n",
     "\nShelf\n |\n |--Card/3 = cardType x\n"},
    {"AddExistingAppends", "start prov\nadd Shelf\nset Shelf a 1\nadd Lp/1\nadd SHELF\nset SHELF b 2\n",
     "\nLp/1\n\nShelf\n |\n |--a = 1\n |--b = 2\n"},
    {"EmptyName", "start prov\nadd  Shelf\n", "\n\n"},
    {"SetWithNothing", "start prov\nadd Shelf\nset Shelf\n", "\nShelf\n |\n |-- = \n"},
    {"PairWithoutSpace", "start prov\nadd Lp/3\nset Lp/3 enabled\n", "\nLp/3\n |\n |-- = enabled\n"},
    {"CommasAlwaysSplit", "start prov\nadd Lp/3\nset Lp/3 a (1,2),, b  x  y ,\n",
     "\nLp/3\n |\n |--a = (1\n |-- = 2)\n |-- = \n |--b = x  y\n |-- = \n"},
    {"TabsAreTrimmedAroundPairs", "start prov\nadd Lp/3\nset Lp/3 \tname\t value\t,\x01x y\n",
     "\nLp/3\n |\n |--name = value\n |--x = y\n"},
    {"ControlBytesAroundTheSplittingSpace",
     "start prov\nadd Lp/3\nset Lp/3 a\x01 \x02"
     "b c\x03,\x04 \x05,  d\x01\n",
     "\nLp/3\n |\n |--a = b c\n |-- = \n |-- = d\n"},
    // Each line shows its own value, also for repeated names.
    {"RepeatedAttribute", "start prov\nadd Lp/3\nset Lp/3 a 1, a 2, =x, b\n",
     "\nLp/3\n |\n |--a = 1\n |--a = 2\n |-- = =x\n |-- = b\n"},
    {"CaseInsensitiveNames", "start prov\nadd Shelf\nadd SHELF card/1\nadd shelf CARD/1 x\n",
     "\nShelf\n |\n |--card/1\n |   |\n |   |--x\n"},
    {"ConfigureReturnOnEmptyContext", "return\nconfigure Shelf\nreturn\nreturn\nset a 1\nconfigure Lp/1\n",
     "\nLp/1\n\nShelf\n"},
    {"ConfigureIgnoresAdd", "configure Shelf\nadd Lp/1\nset a 1\n", "\nShelf\n |\n |--a = 1\n"},
    {"StartProvIgnoresConfigure", "start prov\nconfigure Shelf\nadd Lp/1\nreturn\nset Lp/1 a 1\n",
     "\nLp/1\n |\n |--a = 1\n"},
    {"ConfigureUnderscores", "configure  AtmIf/31  Vcc/0.100\n", "\n_AtmIf/31__Vcc/0.100\n"},
    // A bare configure enters nothing, so the return after it leaves Shelf.
    {"BareConfigure", "configure Shelf\nconfigure\nset a 1\nreturn\nset b 2\n", "\nShelf\n |\n |--a = 1\n"},
    // "configured" walks "addd Card/1": a hidden top-level node; the context
    // still gets Card/1, which the next configure line then creates.
    {"ConfigureRunIntoLetters", "configure Shelf\nreturn\nconfigured Card/1\nset a 1\nconfigure X\nset b 2\n",
     "\nCard/1\n |\n |--b = 2\n\nShelf\n"},
    {"HiddenAmpersandNames", "start prov\nadd &PROP\nadd Shelf\nset Shelf &x 1, y 2\n", "\nShelf\n |\n |--y = 2\n"},
    {"DeepPrefix", "configure A\nconfigure B\nconfigure C\nconfigure D\nset x 1\n",
     "\nA\n |\n |--B\n |   |\n |   |--C\n |   |   |\n |   |   |--D\n |   |   |   |\n |   |   |   |--x = 1\n"},
};

INSTANTIATE_TEST_SUITE_P(Reader, TreeCases, ::testing::ValuesIn(kTreeCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(Reader, SetBeforeFirstAddGoesToTheAddNode) {
    Loaded f("start prov\nset Shelf a 1\nadd Shelf\nset Shelf b 2\n");
    EXPECT_EQ(f.Lines("add"), (std::vector<std::string>{"&FULLPATH=add", "&NAME=add", "set=Shelf a 1"}));
    EXPECT_EQ(f.Lines("add Shelf")[2], "b=2");
}

TEST(Reader, FullPathKeepsTheSpellingOfTheCreatingLine) {
    Loaded f("start prov\nadd Shelf\nadd SHELF Card/1\nadd x\t y\nadd x\t y\n");
    EXPECT_EQ(GetFullPath(f.Find("add Shelf Card/1")), "add SHELF Card/1");
    EXPECT_EQ(GetFullPath(f.Find("add Shelf")), "add Shelf");
    const ComponentNode* x = GetChild(f.store.AddNode(), "x\t");
    ASSERT_NE(x, nullptr);
    EXPECT_EQ(GetFullPath(x), "add x");
    EXPECT_EQ(GetAttributeValue(GetAttributes(x), "&name"), "x\t");
    EXPECT_EQ(GetFullPath(GetChild(x, "y")), "add x y");
}

TEST(Reader, KeywordRunIntoLettersMakesHiddenTopLevelNode) {
    Loaded f("start prov\naddress Shelf\nadd Lp/1\n");
    EXPECT_NE(GetChild(&f.store.Root(), "address"), nullptr);
    EXPECT_EQ(f.store.Root().EntryCount(), 3u);
    EXPECT_EQ(TreeText(f.store), Crlf("\nLp/1\n"));
}

TEST(Reader, AmpersandPieceIsAnOrdinaryChild) {
    Loaded f("start prov\nadd &PROP\nadd &PROP x\nadd &PARENT\n");
    const ComponentNode* add = f.store.AddNode();
    const ComponentNode* prop = GetChild(add, "&prop");
    ASSERT_NE(prop, nullptr);
    EXPECT_EQ(prop->Name(), "&PROP");
    EXPECT_NE(GetChild(prop, "x"), nullptr);
    EXPECT_NE(GetChild(add, "&PARENT"), nullptr);
    EXPECT_EQ(add->EntryCount(), 3u);   // "&PROP" bookkeeping entry + two children
    EXPECT_EQ(prop->EntryCount(), 3u);  // "&PARENT", "&PROP", x
    EXPECT_EQ(GetChild(f.Find("add Lp/1"), "&PROP"), nullptr);
}

TEST(Reader, BinaryAndNulBytesPassThrough) {
    using namespace std::string_literals;
    const std::string file = "start prov\nadd A\0\xff\x80\nset A\0\xff\x80 k\x01\xfe v\0al\n"s;
    Loaded f(std::string_view(file.data(), file.size()));
    ASSERT_EQ(f.store.AddNode()->Children().size(), 1u);
    const ComponentNode* a = f.store.AddNode()->Children()[0];
    EXPECT_EQ(a->Name(), "A\0\xff\x80"s);
    EXPECT_EQ(a->Attributes().FileLines()[0], "k\x01\xfe=v\0al"s);
}

TEST(Reader, ReadingAgainReplacesTheStore) {
    TempDir dir;
    ComponentStore store;
    ReadProvisioningFile(dir.Write("a.txt", "configure Shelf\n"), store);
    ReadProvisioningFile(dir.Write("b.txt", "configure Lp/1\n"), store);
    EXPECT_EQ(ChildNames(store.AddNode()), (std::vector<std::string>{"Lp/1"}));
}

// Lines of every length, ended by LF, CR or CR LF, wherever they fall
// against the reading buffer's ends: LineFile hands out exactly the lines a
// plain split gives.
TEST(LineFile, LinesAsAPlainSplitGivesThem) {
    const char* const ends[] = {"\n", "\r", "\r\n"};
    std::mt19937 random(7);
    std::string text;
    const auto add = [&](std::size_t length, const char* end) {
        for (std::size_t i = 0; i < length; ++i) text += static_cast<char>('a' + random() % 26);
        text += end;
    };
    const std::size_t buffer = 1u << 20;
    while (text.size() < 3 * buffer) {
        // Short lines mostly, some long and some empty.
        const std::size_t kind = random() % 20;
        add(kind == 0 ? 0 : kind == 1 ? random() % 5000 : random() % 130, ends[random() % 3]);
    }
    // A CR LF across the first buffer end, and a CR just before the second.
    text.insert(buffer - 1, "\r\n");
    text.insert(2 * buffer - 1, "\r");
    std::vector<std::string> expected;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find_first_of("\r\n", at);
        expected.push_back(text.substr(at, end - at));
        at = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    TempDir dir;
    LineFile file(dir.Write("lines.txt", text));
    std::string_view line;
    std::size_t n = 0;
    while (file.ReadLine(line)) {
        ASSERT_LT(n, expected.size());
        ASSERT_EQ(line, expected[n]) << "line " << n + 1;
        ++n;
    }
    EXPECT_EQ(n, expected.size());
}

// The look at a whole path line agrees with cutting it into pieces and
// checking each, wherever a control byte or a second space falls.
TEST(PiecesAreClean, AgreesWithCheckingEachPiece) {
    const auto eachPieceClean = [](std::string_view line) {
        std::string_view rest = line;
        do {
            const std::size_t space = rest.find(' ');
            const std::string_view piece = rest.substr(0, space);
            if (piece.empty() || std::any_of(piece.begin(), piece.end(), oryx::text::IsControlByte)) return false;
            rest.remove_prefix(space + 1);
        } while (rest.find(' ') != std::string_view::npos);
        return true;
    };
    // A short line, and a long one with its first piece longer and longer,
    // so that each byte falls at every place of a 16-byte block.
    std::vector<std::string> lines = {"add Lp/3 "};
    for (std::size_t longer = 0; longer < 16; ++longer)
        lines.push_back("add" + std::string(longer, 'x') + " Shelf Card/12 AtmIf/7 Vcc/0.100 Nrp Tm ");
    for (const std::string& clean : lines) {
        ASSERT_TRUE(oryx::text::PiecesAreClean(clean));
        for (std::size_t i = 0; i + 1 < clean.size(); ++i) {
            for (const char c : {'\t', '\x01', '\x1f', ' ', '!', '\x7f', '\x80', '\xff'}) {
                std::string line = clean;
                line[i] = c;
                EXPECT_EQ(oryx::text::PiecesAreClean(line), eachPieceClean(line)) << "byte " << int(c) << " at " << i;
            }
            std::string spaced = clean;
            spaced.insert(i, 1, ' ');
            EXPECT_EQ(oryx::text::PiecesAreClean(spaced), eachPieceClean(spaced)) << "space inserted at " << i;
        }
    }
}

TEST(Reader, FiftyMegabyteLine) {
    std::string file = "start prov\nadd Shelf\nset Shelf big ";
    file.append(50u << 20, 'x');
    file += ", small 1\r\nadd Lp/1\n";
    Loaded f(file);
    const auto& lines = f.Find("add Shelf")->Attributes().FileLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), 4u + (50u << 20));
    EXPECT_EQ(lines[1], "small=1");
    EXPECT_NE(f.Find("add Lp/1"), nullptr);
}

// Attribute lines are kept as texts one after the other in runs: whatever
// breaks a run (another component's line, a component made in between, a
// full text block, a text too large for a block), every component reads its
// own lines back in file order, by iteration and by index, each with the
// line of the file that made it.
struct LineRunCase {
    const char* name;
    // Builds the file: `set(component, pairs)` writes an add line naming the
    // component again and a set line with the pairs (no blank after a comma).
    std::function<void(const std::function<void(int, const std::string&)>&)> write;
};

const LineRunCase kLineRunCases[] = {
    {"Interleaved",
     [](const auto& set) {
         for (int i = 0; i < 300; ++i) set(i % 3, "a" + std::to_string(i) + " v,b" + std::to_string(i) + " w");
     }},
    {"PastManyTextBlocks",
     [](const auto& set) {
         for (std::size_t i = 0; i < 40000; ++i)
             set(0, "name" + std::to_string(i) + " " + std::string(60 + i % 7, 'x'));
     }},
    {"LargeTextsBetweenSmallOnes",
     [](const auto& set) {
         for (std::size_t i = 0; i < 12; ++i) {
             set(1, "small" + std::to_string(i) + " 1");
             set(1, "large" + std::to_string(i) + " " + std::string(std::size_t{300000} * (i % 4 + 1), 'y'));
         }
     }},
    {"EmptyPairs", [](const auto& set) { set(2, std::string(5000, ',')); }},
    // A line too long to be cut ahead goes between another component's
    // lines, which then follow each other in memory but not in the table.
    {"LongLineBetweenAnothersLines",
     [](const auto& set) {
         for (std::size_t i = 0; i < 4; ++i) {
             set(0, "a" + std::to_string(i) + " 1,b 2");
             set(1, "long " + std::string(70000, 'z') + ",c 3");
         }
     }},
    // Lines of 1 to 11 pairs, so that blocks of the line table end inside
    // some of them.
    {"ManyPairsPerLine",
     [](const auto& set) {
         for (int i = 0; i < 6000; ++i) {
             std::string pairs = "p0 " + std::to_string(i);
             for (int k = 1; k <= i * 7 % 11; ++k) pairs += ",p" + std::to_string(k) + " v";
             set(i % 2, pairs);
         }
     }},
};

class LineRuns : public ::testing::TestWithParam<LineRunCase> {};

TEST_P(LineRuns, EveryLineReadsBackWithItsFileLine) {
    const char* const kNames[] = {"Shelf", "Lp/1", "AtmIf/2"};
    std::string file = "start prov\n";
    std::vector<std::vector<std::pair<std::string, std::uint32_t>>> expected(3);
    std::uint32_t line = 1;
    for (const char* name : kNames) {
        file += std::string("add ") + name + "\n";
        ++line;
    }
    GetParam().write([&](int component, const std::string& pairs) {
        file += std::string("add ") + kNames[component] + "\nset " + kNames[component] + " " + pairs + "\n";
        line += 2;
        std::size_t start = 0;
        while (true) {
            const std::size_t comma = pairs.find(',', start);
            const std::string pair = pairs.substr(start, comma == std::string::npos ? comma : comma - start);
            const std::size_t space = pair.find(' ');
            expected[static_cast<std::size_t>(component)].emplace_back(
                space == std::string::npos ? "=" + pair : pair.substr(0, space) + "=" + pair.substr(space + 1), line);
            if (comma == std::string::npos) break;
            start = comma + 1;
        }
        // A component made between the set lines breaks the runs too.
        if (line % 97 == 0) {
            file += "add Extra/" + std::to_string(line) + "\n";
            ++line;
        }
    });
    TempDir dir;
    const std::string fileName = dir.Write("node.txt", file);
    // Read serially, and with the pairs joined ahead on the reading thread.
    const ReadSplit splits[] = {{ReadSplit::Mode::Serial, {}},
                                {ReadSplit::Mode::Parallel, {64 * 1024, {}, BatchCuts::PairWork::CutAndJoin}}};
    for (const ReadSplit& split : splits) {
        const bool serial = split.mode == ReadSplit::Mode::Serial;
        ComponentStore store;
        ReadDiagnostics diagnostics;
        ReadProvisioningFile(fileName, store, &diagnostics, split);
        for (std::size_t c = 0; c < 3; ++c) {
            const ComponentNode* node = FindComponent(store.AddNode(), kNames[c]);
            ASSERT_NE(node, nullptr) << kNames[c];
            const FileLineRange lines = node->FileLines();
            ASSERT_EQ(lines.size(), expected[c].size()) << kNames[c] << " serial " << serial;
            std::size_t i = 0;
            for (auto it = lines.begin(); it != lines.end(); ++it, ++i) {
                ASSERT_EQ(*it, expected[c][i].first) << kNames[c] << " line " << i << " serial " << serial;
                ASSERT_EQ(lines[i], expected[c][i].first) << kNames[c] << " line " << i << " serial " << serial;
                ASSERT_EQ(diagnostics.AttributeLine(store, it.Id()), expected[c][i].second)
                    << kNames[c] << " line " << i << " serial " << serial;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Reader, LineRuns, ::testing::ValuesIn(kLineRunCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(Reader, FilesThatCannotBeRead) {
    TempDir dir;
    ComponentStore store;
    EXPECT_THROW(ReadProvisioningFile((dir.Path() / "missing.txt").string(), store), FileError);
    EXPECT_THROW(ReadProvisioningFile(dir.Path().string(), store), FileError);
    EXPECT_THROW(IsConfigureFile(dir.Path().string()), FileError);
    const std::string fifo = (dir.Path() / "fifo").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_THROW(ReadProvisioningFile(fifo, store), FileError);  // must not wait for a writer
    EXPECT_THROW(ReadProvisioningFile("/dev/zero", store), FileError);
    if (::geteuid() != 0) {
        const std::string locked = dir.Write("locked.txt", "configure Shelf\n");
        ::chmod(locked.c_str(), 0);
        EXPECT_THROW(ReadProvisioningFile(locked, store), FileError);
    }
    try {
        ReadProvisioningFile((dir.Path() / "gone.txt").string(), store);
        FAIL();
    } catch (const FileError& e) {
        EXPECT_NE(std::string(e.what()).find("gone.txt"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("No such file"), std::string::npos);
    }
}

// A file changed while it is read (being rewritten, say) is a read error,
// found when the end is reached; a partial model must not pass for the file.
TEST(Reader, FileChangedWhileReadIsAnError) {
    struct Case {
        const char* name;
        std::function<void(const std::string&)> change;
    } cases[] = {
        {"shrinks", [](const std::string& f) { ASSERT_EQ(::truncate(f.c_str(), 1000), 0); }},
        {"grows", [](const std::string& f) { std::ofstream(f, std::ios::app) << "configure Late\n"; }},
        {"rewritten to the same size",
         [](const std::string& f) {
             const timespec times[2] = {{0, UTIME_OMIT}, {12345, 0}};
             ASSERT_EQ(::utimensat(AT_FDCWD, f.c_str(), times, 0), 0);
         }},
    };
    std::string text;
    for (int i = 0; text.size() < (3u << 20); ++i) text += "configure Card/" + std::to_string(i) + "\nreturn\n";
    for (const Case& c : cases) {
        TempDir dir;
        const std::string file = dir.Write("node.txt", text);
        LineFile lines(file);
        std::string_view line;
        ASSERT_TRUE(lines.ReadLine(line));
        c.change(file);
        try {
            while (lines.ReadLine(line)) {}
            ADD_FAILURE() << c.name << ": no error";
        } catch (const FileError& e) {
            EXPECT_EQ(std::string(e.what()), "cannot read '" + file + "': changed while it was read") << c.name;
        }
    }
    // The same when the lines are read ahead on a thread: it holds a few
    // batches at most, far from the end when the file changes. The error
    // comes after the lines read before it, and the thread is gone after.
    const auto threads = [] {
        return std::distance(std::filesystem::directory_iterator("/proc/self/task"),
                             std::filesystem::directory_iterator());
    };
    std::thread([] {}).join();  // a sanitizer's own thread starts with the first thread made
    for (const Case& c : cases) {
        TempDir dir;
        const std::string file = dir.Write("node.txt", text);
        const auto before = threads();
        {
            LineFile lines(file);
            TextPool joined;
            LineBatchReader batches(lines, false, BatchCuts{}, joined);
            const LineBatch* first = batches.Next();
            ASSERT_NE(first, nullptr);
            EXPECT_EQ(first->Line(0), "configure Card/0 ");
            const std::size_t firstCount = first->LineCount();
            c.change(file);
            std::size_t read = firstCount;
            try {
                while (const LineBatch* batch = batches.Next()) read += batch->LineCount();
                ADD_FAILURE() << c.name << ": no error, read ahead";
            } catch (const FileError& e) {
                EXPECT_EQ(std::string(e.what()), "cannot read '" + file + "': changed while it was read")
                    << c.name << ", read ahead";
            }
            EXPECT_GT(read, firstCount) << c.name << ": the lines before the change were lost";
        }
        // A joined thread leaves the task list a moment after it ends.
        for (int wait = 0; wait < 200 && threads() != before; ++wait)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        EXPECT_EQ(threads(), before) << c.name << ", read ahead";
    }
    // Reading an unchanged file twice, as the reader does, is no change.
    TempDir dir;
    const std::string file = dir.Write("node.txt", text);
    ComponentStore store;
    ReadProvisioningFile(file, store);
    EXPECT_NE(FindComponent(&store.Root(), "add Card/7"), nullptr);
}

TEST(Reader, MillionDeepNestingLoadsAndReleases) {
    std::string file;
    constexpr int kDepth = 1'000'000;
    file.reserve(kDepth * 16);
    for (int i = 0; i < kDepth; ++i) {
        file += "configure C/";
        file += std::to_string(i % 10);
        file += '\n';
        if (i % 1000 == 0) file += "set depth " + std::to_string(i) + "\n";
    }
    Loaded f(file);
    EXPECT_EQ(f.store.NodeCount(), 2u + kDepth);
    const ComponentNode* node = f.store.AddNode();
    for (int i = 0; i < 3; ++i) node = node->Children()[0];
    EXPECT_EQ(GetFullPath(node), "add C/0 C/1 C/2");
    std::size_t bytes = 0;
    // Only the first part of the text, which grows with the square of the depth.
    try {
        WriteTreeText(f.store, [&](std::string_view t) {
            bytes += t.size();
            if (bytes > (8u << 20)) throw std::runtime_error("enough");
        });
    } catch (const std::runtime_error&) {}
    EXPECT_GT(bytes, 8u << 20);
    ReleaseNode(f.store);
    EXPECT_EQ(f.store.Root().EntryCount(), 0u);
}

TEST(Reader, ManyChildrenInReverseOrder) {
    std::string file = "start prov\nadd Shelf\n";
    constexpr int kChildren = 200'000;
    for (int i = kChildren - 1; i >= 0; --i) file += "add Shelf Card/" + std::to_string(i) + "\n";
    file += "add SHELF CARD/7\nset Shelf Card/7 x 1\n";
    Loaded f(file);
    const ComponentNode* shelf = f.Find("add Shelf");
    ASSERT_EQ(shelf->Children().size(), static_cast<std::size_t>(kChildren));
    for (std::size_t i = 1; i < shelf->Children().size(); ++i)
        ASSERT_LT(CompareNames(shelf->Children()[i - 1]->Name(), shelf->Children()[i]->Name()), 0);
    EXPECT_EQ(shelf->Children()[0]->Name(), "Card/0");
    EXPECT_EQ(shelf->Children()[1]->Name(), "Card/1");
    EXPECT_EQ(shelf->Children()[2]->Name(), "Card/10");
    EXPECT_EQ(GetAttributeValue(GetAttributes(f.Find("add Shelf Card/7")), "x"), "1");
    EXPECT_EQ(shelf->EntryCount(), kChildren + 2u);
}

// ---- Lookups ----

// A store large enough to be put in order on two threads, its families of
// every size made in mixed order all over the file: each node holds exactly
// the children that name it as parent, in order.
TEST(Reader, LargeStoreFamiliesEachWholeAndInOrder) {
    std::mt19937 random(5);
    std::string file = "start prov\n";
    for (int i = 0; i < 60'000; ++i) {
        const std::string lp = "add Lp/" + std::to_string(random() % 20'000);
        file += lp + "\n" + lp + " Card/" + std::to_string(random() % 13) + "\n";
        file += lp + " Card/" + std::to_string(random() % 13) + " Port/" + std::to_string(random() % 5) + "\n";
        if (i % 1000 == 0) file += "addx/" + std::to_string(i) + "\n";  // beside the add node
    }
    Loaded f(file);
    ASSERT_GT(f.store.NodeCount(), 100'000u);
    std::size_t children = 0;
    std::vector<const ComponentNode*> pending{&f.store.Root()};
    while (!pending.empty()) {
        const ComponentNode* node = pending.back();
        pending.pop_back();
        const auto family = node->Children();
        children += family.size();
        for (std::size_t i = 0; i < family.size(); ++i) {
            ASSERT_EQ(family[i]->Container(), node) << family[i]->Name();
            if (i > 0) {
                ASSERT_LT(CompareNames(family[i - 1]->Name(), family[i]->Name()), 0);
            }
            pending.push_back(family[i]);
        }
    }
    EXPECT_EQ(children, f.store.NodeCount() - 1);  // every node but the root, once
}

TEST(Lookups, FindComponent) {
    Loaded f(kStartProvExample);
    const ComponentNode* root = &f.store.Root();
    const ComponentNode* add = f.store.AddNode();
    const ComponentNode* shelf = GetChild(add, "Shelf");
    const ComponentNode* card = GetChild(shelf, "Card/3");
    struct Case {
        const ComponentNode* from;
        const char* path;
        const ComponentNode* expected;
    } cases[] = {
        {root, "add", add},
        {root, "", nullptr},
        {root, "add Shelf ", nullptr},
        {root, "add Shelf Card/9", nullptr},
        {root, "add Nothing Shelf", shelf},
        {root, "ADD shelf CARD/3", card},
        {root, "add  Shelf", shelf},
        {add, "add Shelf Card/3", card},
        {add, "Shelf Card/3", card},
        {root, "add Card/3", nullptr},
    };
    for (const Case& c : cases) EXPECT_EQ(FindComponent(c.from, c.path), c.expected) << c.path;
    EXPECT_EQ(GetChild(add, "sHeLf"), shelf);
    EXPECT_EQ(GetChild(add, "&PROP"), nullptr);
    EXPECT_EQ(GetChild(nullptr, "x"), nullptr);
}

TEST(Lookups, PathsValuesAndCounts) {
    Loaded f(
        "start prov\nadd Shelf\nadd Shelf Card/3\nset Shelf Card/3 cardType a, CARDTYPE b, x=y z\n"
        "add Lp/1\nset Lp/1\nadd Lp/2\nset Lp/2 &hidden 1\n");
    EXPECT_EQ(GetFullPath(f.store.AddNode()), "add");
    EXPECT_EQ(GetFullPath(&f.store.Root()), "");
    EXPECT_EQ(GetFullPath(nullptr), "");
    const AttributeList* card = GetAttributes(f.Find("add Shelf Card/3"));
    EXPECT_EQ(GetAttributeValue(card, "cardtype"), "a");
    EXPECT_EQ(GetAttributeValue(card, "x"), "y=z");  // the line x=y=z: names end at the first "="
    EXPECT_EQ(GetAttributeValue(card, "missing"), "");
    EXPECT_EQ(GetAttributeValue(card, "&FullPath"), "add Shelf Card/3");
    EXPECT_EQ(GetAttributeValue(nullptr, "a"), "");
    EXPECT_EQ(CountAttributes(f.Find("add Shelf")), 0u);
    EXPECT_EQ(CountAttributes(f.Find("add Lp/1")), 1u);  // the line "="
    EXPECT_EQ(CountAttributes(f.Find("add Lp/2")), 0u);
    EXPECT_EQ(CountAttributes(nullptr), 0u);
    EXPECT_EQ(GetAttributes(nullptr), nullptr);
    EXPECT_EQ(GetAttributes(&f.store.Root())->LineCount(), 0u);
}

TEST(Lookups, EntriesCountBookkeeping) {
    std::string file = "start prov\nadd Shelf\n";
    for (int i = 0; i < 12; ++i) file += "add Shelf Card/" + std::to_string(i) + "\n";
    Loaded f(file);
    const ComponentNode* shelf = f.Find("add Shelf");
    ASSERT_EQ(shelf->EntryCount(), 14u);
    EXPECT_EQ(shelf->Entry(0).name, "&PARENT");
    EXPECT_EQ(shelf->Entry(0).child, f.store.AddNode());
    EXPECT_EQ(shelf->Entry(1).name, "&PROP");
    EXPECT_EQ(shelf->Entry(1).attributes, GetAttributes(shelf));
    EXPECT_EQ(shelf->Entry(2).name, "Card/0");
    EXPECT_EQ(shelf->Entry(3).name, "Card/1");
    EXPECT_EQ(shelf->Entry(4).name, "Card/10");
    EXPECT_EQ(f.store.AddNode()->EntryCount(), 2u);  // no "&PARENT" on the add node
}

TEST(Lookups, FindSameComponentInAStoreReadAgain) {
    Loaded before(
        "start prov\nadd Shelf\nadd Shelf Card/3\nadd Lp/1\nadd Lp/1 Eth\nadd Lp/1 Eth Port/1\nadd AtmIf/31\n");
    Loaded after("start prov\nadd SHELF\nadd SHELF card/3\nadd AtmIf/31\nadd Eth\nadd Eth Port/1\n");
    const ComponentNode& root = after.store.Root();
    struct Case {
        const char* path;      // in the first file
        const char* expected;  // the full path of the same component in the second, "" for none
    } cases[] = {
        {"add Shelf Card/3", "add SHELF card/3"},
        {"add AtmIf/31", "add AtmIf/31"},
        {"add", "add"},
        {"add Lp/1", ""},
        // The middle piece has gone: another component of the same name is not it.
        {"add Lp/1 Eth Port/1", ""},
    };
    for (const Case& c : cases) {
        const ComponentNode* old = before.Find(c.path);
        ASSERT_NE(old, nullptr) << c.path;
        const ComponentNode* same = FindSameComponent(root, old);
        EXPECT_EQ(same ? GetFullPath(same) : "", c.expected) << c.path;
    }
    EXPECT_EQ(FindSameComponent(root, nullptr), nullptr);
    EXPECT_EQ(FindSameComponent(root, &before.store.Root()), nullptr);
}

TEST(Lookups, SwappedStoresKeepTheirNodes) {
    Loaded a(kStartProvExample);
    Loaded b(kConfigureExample);
    const std::string textA = TreeText(a.store);
    const std::string textB = TreeText(b.store);
    const ComponentNode* card = a.Find("add Shelf Card/3");
    a.store.Swap(b.store);
    EXPECT_EQ(TreeText(a.store), textB);
    EXPECT_EQ(TreeText(b.store), textA);
    EXPECT_EQ(b.Find("add Shelf Card/3"), card);  // the node moved with the contents
    a.store.Clear();
    EXPECT_EQ(GetAttributeValue(GetAttributes(card), "cardType"), "aal1Ces");
    EXPECT_EQ(TreeText(b.store), textA);
}

TEST(Lookups, ReleaseNodeEmptiesASubtree) {
    Loaded f(kStartProvExample);
    ComponentNode& atm = const_cast<ComponentNode&>(*f.Find("add AtmIf/31"));
    ReleaseNode(atm);
    EXPECT_EQ(atm.EntryCount(), 0u);
    EXPECT_EQ(GetAttributes(&atm), nullptr);
    EXPECT_NE(f.Find("add Shelf Card/3"), nullptr);
}

TEST(Collation, Order) {
    // Each name sorts before the next.
    const std::vector<std::string> ordered = {
        "",  "&PARENT", "&PROP", "-",        ".",       "/", "_",       "0",      "09",      "1", "10",   "2",
        "a", "A/1",     "a1",    "AtmIf/31", "AtmIf/4", "b", "Card/10", "card/2", "Card/2x", "z", "\x80", "\xff"};
    for (std::size_t i = 1; i < ordered.size(); ++i)
        EXPECT_LT(CompareNames(ordered[i - 1], ordered[i]), 0) << ordered[i - 1] << " < " << ordered[i];
    EXPECT_EQ(CompareNames("Shelf", "SHELF"), 0);
    EXPECT_TRUE(SameName("Card/3", "CARD/3"));
    EXPECT_FALSE(SameName("Card/3", "Card/3 "));
    EXPECT_FALSE(SameName("\xe9", "\xc9"));  // only ASCII letters fold
    EXPECT_EQ(HashName("AtmIf"), HashName("atmif"));
}

TEST(Collation, SortKeysAgreeWithTheOrder) {
    std::vector<std::string> names;
    std::uint32_t seed = 7;
    const std::string alphabet = "aAbB09/_.-&\x01\x7f\x80\xfe ";
    for (int i = 0; i < 3000; ++i) {
        std::string name;
        seed = seed * 1103515245 + 12345;
        for (std::uint32_t n = seed >> 28; n > 0; --n) {
            seed = seed * 1103515245 + 12345;
            name += alphabet[(seed >> 16) % alphabet.size()];
        }
        names.push_back(name);
    }
    for (std::size_t i = 1; i < names.size(); ++i) {
        const auto& a = names[i - 1];
        const auto& b = names[i];
        const auto ka = NameSortKey(a), kb = NameSortKey(b);
        if (ka != kb) {
            EXPECT_EQ(ka < kb, CompareNames(a, b) < 0) << i;
        }
        if (CompareNames(a, b) == 0) {
            EXPECT_EQ(ka, kb);
        }
    }
}

// Large families are sorted by other means than small ones; the order must
// be the same whatever order the file added them in.
TEST(Reader, LargeFamiliesInAnyOrder) {
    std::vector<std::string> names;
    for (int i = 0; i < 300; ++i) names.push_back((i % 3 ? "Card/" : "CARD/") + std::to_string(i * 7 % 1000));
    names.push_back("Card/");
    names.push_back("Cb");
    names.push_back("Ca");
    std::vector<std::string> expected = names;
    std::sort(expected.begin(), expected.end(),
              [](const std::string& a, const std::string& b) { return CompareNames(a, b) < 0; });
    for (int order = 0; order < 3; ++order) {
        std::vector<std::string> added = names;
        if (order == 1) added = expected;
        if (order == 2) added.assign(expected.rbegin(), expected.rend());
        std::string file = "start prov\nadd Shelf\n";
        for (const auto& n : added) file += "add Shelf " + n + "\n";
        for (const auto& n : added) file += "add SHELF " + n + " x\n";  // every name found again
        Loaded f(file);
        const ComponentNode* shelf = f.Find("add Shelf");
        EXPECT_EQ(ChildNames(shelf), expected) << order;
        for (const ComponentNode* card : shelf->Children()) EXPECT_EQ(card->ChildCount(), 1u) << card->Name();
    }
}

TEST(TreeText, WritesToAFileAndReportsErrors) {
    Loaded f(kConfigureExample);
    const std::string out = (f.dir.Path() / "tree.txt").string();
    WriteTreeText(out, f.store);
    EXPECT_EQ(oryx::testing::ReadBytes(out), TreeText(f.store));
    EXPECT_THROW(WriteTreeText((f.dir.Path() / "no/such/dir.txt").string(), f.store), FileError);
    EXPECT_THROW(WriteTreeText("/dev/full", f.store), FileError);
}

}  // namespace
}  // namespace oryx::prov
