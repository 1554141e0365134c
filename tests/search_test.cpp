// The search core: scopes, modes, order, bookkeeping, display text, depth.
#include <gtest/gtest.h>

#include <atomic>
#include <cctype>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <re2/re2.h>

#include "param_name.h"
#include "prov/component_store.h"
#include "prov/reader.h"
#include "search/component_path.h"
#include "search/display_text.h"
#include "search/search_cursor.h"
#include "search/search_query.h"
#include "test_files.h"

namespace oryx::search {
namespace {

using Scope = SearchScope;

struct Loaded {
    testing::TempDir dir;
    prov::ComponentStore store;
    explicit Loaded(std::string_view bytes) { prov::ReadProvisioningFile(dir.Write("node.txt", bytes), store); }
};

// The hits as oryx-cli find prints them: the path, then a TAB and the line.
std::string HitText(const prov::ComponentStore& store, const SearchQuery& query) {
    std::string text;
    ForEachHit(store, query, [&](const SearchHit& hit) {
        text += ComponentPath(*hit.node);
        if (hit.kind == SearchHit::Kind::Attribute) text += "\t" + std::string(hit.text);
        text += '\n';
        return true;
    });
    return text;
}

SearchOptions Options(Scope scope, bool regex = false, bool word = false, bool matchCase = false,
                      QueryText text = QueryText::Bytes) {
    SearchOptions o;
    o.scope = scope;
    o.regex = regex;
    o.wholeWord = word;
    o.matchCase = matchCase;
    o.text = text;
    return o;
}

// Bookkeeping in every form: a line and a component named with "&" (with a
// child), and a top-level entry beside the add node ("addlocked ...").
constexpr std::string_view kNode = R"(start prov
add Shelf
set Shelf shelfType mss15000
add Shelf Card/3
set Shelf Card/3 cardType aal1Ces, spareCard 0, adminState locked, cardType e3Atm
add Shelf Card/10
set Shelf Card/10 &hidden locked, adminState unlocked
add Lp/3
set Lp/3 mainCard Shelf Card/3
add AtmIf/31
set AtmIf/31 interfaceName atm31
add AtmIf/31 Vcc/0.100
set AtmIf/31 Vcc/0.100 adminState locked
add AtmIf/31 Vcc/0.100 Nrp
set AtmIf/31 Vcc/0.100 Nrp atmConnection Lp/3,
add &Hidden
add &Hidden Card/3
set &Hidden Card/3 cardType locked
addlocked Card/3
)";

struct Case {
    const char* query;
    SearchOptions options;
    const char* expected;
};

class SearchCases : public ::testing::TestWithParam<Case> {};

std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
    return oryx::testing::ParamName(info.param.query, info.index);
}

TEST_P(SearchCases, HitsInTreeOrder) {
    static const Loaded loaded(kNode);
    const Case& c = GetParam();
    EXPECT_EQ(HitText(loaded.store, SearchQuery(c.query, c.options)), c.expected) << c.query;
}

INSTANTIATE_TEST_SUITE_P(
    Substring, SearchCases,
    ::testing::Values(
        Case{"card", Options(Scope::Names), "Shelf Card/10\nShelf Card/3\n"},
        Case{"card", Options(Scope::Names, false, false, true), ""},
        Case{"Card/1", Options(Scope::Names, false, false, true), "Shelf Card/10\n"},
        Case{"vcc/0.1", Options(Scope::Names), "AtmIf/31 Vcc/0.100\n"},
        // A path match must end inside the component's own name.
        Case{"AtmIf/31", Options(Scope::Paths), "AtmIf/31\n"},
        Case{"atmif/31 vcc", Options(Scope::Paths), "AtmIf/31 Vcc/0.100\n"},
        Case{"0.100 N", Options(Scope::Paths), "AtmIf/31 Vcc/0.100 Nrp\n"},
        Case{"f C", Options(Scope::Paths), "Shelf Card/10\nShelf Card/3\n"},
        Case{"Shelf", Options(Scope::Paths), "Shelf\n"}, Case{" ", Options(Scope::Paths), ""},
        Case{"state", Options(Scope::AttributeNames),
             "AtmIf/31 Vcc/0.100\tadminState=locked\nShelf Card/10\tadminState=unlocked\n"
             "Shelf Card/3\tadminState=locked\n"},
        Case{"locked", Options(Scope::Values),
             "AtmIf/31 Vcc/0.100\tadminState=locked\nShelf Card/10\tadminState=unlocked\n"
             "Shelf Card/3\tadminState=locked\n"},
        Case{"locked", Options(Scope::Values, false, true),
             "AtmIf/31 Vcc/0.100\tadminState=locked\nShelf Card/3\tadminState=locked\n"},
        Case{"LOCKED", Options(Scope::Values, false, false, true), ""},
        Case{"Lp", Options(Scope::Values, false, true), "AtmIf/31 Vcc/0.100 Nrp\tatmConnection=Lp/3\n"},
        // A value never matches in the attribute-names scope, nor a name in the values scope.
        Case{"atm31", Options(Scope::AttributeNames), ""}, Case{"interface", Options(Scope::Values), ""},
        // All: the component's own match first, then its lines, each once
        // (mainCard=Shelf Card/3 matches in both name and value).
        Case{"card", Options(Scope::All),
             "Lp/3\tmainCard=Shelf Card/3\nShelf Card/10\nShelf Card/3\nShelf Card/3\tcardType=aal1Ces\n"
             "Shelf Card/3\tspareCard=0\nShelf Card/3\tcardType=e3Atm\n"},
        Case{"card", Options(Scope::All, false, true), "Lp/3\tmainCard=Shelf Card/3\nShelf Card/10\nShelf Card/3\n"},
        Case{"31 V", Options(Scope::All), "AtmIf/31 Vcc/0.100\n"},
        // Bookkeeping is never searched: "&" lines, "&" names and their
        // subtrees, the add node, entries beside it, the "&FULLPATH" and
        // "&NAME" lines; the empty line "=" has neither name nor value to match.
        Case{"hidden", Options(Scope::All), ""}, Case{"FULLPATH", Options(Scope::All), ""},
        Case{"add", Options(Scope::All), ""}, Case{"&", Options(Scope::All), ""}, Case{"=", Options(Scope::All), ""},
        // The empty query occurs everywhere.
        Case{"", Options(Scope::Names),
             "AtmIf/31\nAtmIf/31 Vcc/0.100\nAtmIf/31 Vcc/0.100 Nrp\nLp/3\nShelf\nShelf Card/10\nShelf Card/3\n"}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    Regex, SearchCases,
    ::testing::Values(
        Case{R"(^card/\d+$)", Options(Scope::Names, true), "Shelf Card/10\nShelf Card/3\n"},
        Case{R"(^card/\d+$)", Options(Scope::Names, true, false, true), ""},
        Case{R"(^Shelf Card/1)", Options(Scope::Paths, true), "Shelf Card/10\n"},
        Case{R"(^card)", Options(Scope::Paths, true), ""},
        Case{R"(Shelf.*3)", Options(Scope::Paths, true), "Shelf Card/3\n"},
        Case{R"(\d \w)", Options(Scope::Paths, true), "AtmIf/31 Vcc/0.100\nAtmIf/31 Vcc/0.100 Nrp\n"},
        // "$" is an empty match at the end of every path, inside its last name.
        Case{"$", Options(Scope::Paths, true),
             "AtmIf/31\nAtmIf/31 Vcc/0.100\nAtmIf/31 Vcc/0.100 Nrp\nLp/3\nShelf\nShelf Card/10\nShelf Card/3\n"},
        Case{R"(Card/1)", Options(Scope::Paths, true, true), ""},
        Case{R"(Card/\d+)", Options(Scope::Paths, true, true), "Shelf Card/10\nShelf Card/3\n"},
        Case{R"(f C)", Options(Scope::Paths, true, true), ""},
        Case{R"(Vcc/0\.100 Nrp)", Options(Scope::Paths, true, true), "AtmIf/31 Vcc/0.100 Nrp\n"},
        Case{R"(^(un)?locked$)", Options(Scope::Values, true),
             "AtmIf/31 Vcc/0.100\tadminState=locked\nShelf Card/10\tadminState=unlocked\n"
             "Shelf Card/3\tadminState=locked\n"},
        Case{R"(lock\w*)", Options(Scope::Values, true, true),
             "AtmIf/31 Vcc/0.100\tadminState=locked\nShelf Card/3\tadminState=locked\n"},
        Case{R"(^card)", Options(Scope::All, true),
             "Shelf Card/10\nShelf Card/3\nShelf Card/3\tcardType=aal1Ces\nShelf Card/3\tcardType=e3Atm\n"},
        Case{R"(\QCard/1)", Options(Scope::Names, true, true), ""},
        Case{R"(\QCard/10)", Options(Scope::Names, true, true), "Shelf Card/10\n"},
        Case{R"(hidden|FULLPATH|^&|^NAME$|^add)", Options(Scope::All, true), ""}),
    CaseName);

TEST(SearchQuery, InvalidPatternNamesRe2sReason) {
    struct Bad {
        const char* pattern;
        const char* reason;
    } cases[] = {
        {"(abc", "missing )"},  {"a{1001}", "invalid repetition size"},    {"[z-a]", "invalid character class range"},
        {"a\\", "trailing \\"}, {"(?<x>a)", "invalid perl operator: (?<"},
    };
    for (const Bad& c : cases) {
        for (const bool word : {false, true}) {
            try {
                SearchQuery(c.pattern, Options(Scope::All, true, word));
                ADD_FAILURE() << c.pattern;
            } catch (const QueryError& e) {
                const std::string what = e.what();
                EXPECT_NE(what.find("invalid regular expression"), std::string::npos) << what;
                EXPECT_NE(what.find(c.reason), std::string::npos) << what;
                EXPECT_EQ(what.find('\n'), std::string::npos);
            }
        }
    }
    // Plain text is never a pattern.
    EXPECT_NO_THROW(SearchQuery("(abc", Options(Scope::All)));
    EXPECT_THROW(SearchQuery("(\n", Options(Scope::All, true)), QueryError);
}

TEST(SearchCursor, HitsNameTheLineAndTheAttributeRow) {
    const Loaded loaded(kNode);
    std::vector<SearchHit> hits;
    ForEachHit(loaded.store, SearchQuery("adminState", Options(Scope::AttributeNames)), [&](const SearchHit& h) {
        hits.push_back(h);
        return true;
    });
    ASSERT_EQ(hits.size(), 3u);
    // Card/10: "&hidden=locked" is line 0 and no row, so adminState is line 1, row 0.
    EXPECT_EQ(ComponentPath(*hits[1].node), "Shelf Card/10");
    EXPECT_EQ(hits[1].kind, SearchHit::Kind::Attribute);
    EXPECT_EQ(hits[1].line, 1u);
    EXPECT_EQ(hits[1].row, 0u);
    EXPECT_EQ(hits[1].text, "adminState=unlocked");
    EXPECT_EQ(prov::VisibleAttributeRows(hits[1].node)[hits[1].row].value, "unlocked");
    EXPECT_EQ(hits[2].line, 2u);
    EXPECT_EQ(hits[2].row, 2u);
    EXPECT_EQ(hits[2].node, prov::FindComponent(loaded.store.AddNode(), "Shelf Card/3"));
}

TEST(SearchCursor, StreamsAndResumesAfterCancel) {
    const Loaded loaded(kNode);
    const SearchQuery query("card", Options(Scope::All));
    std::vector<SearchHit> whole;
    ASSERT_TRUE(ForEachHit(loaded.store, query, [&](const SearchHit& h) {
        whole.push_back(h);
        return true;
    }));

    SearchCursor cursor(loaded.store, query);
    std::atomic<bool> cancel{false};
    std::vector<SearchHit> pieces;
    const auto first = cursor.Next(&cancel);
    ASSERT_TRUE(first);
    pieces.push_back(*first);
    EXPECT_FALSE(cursor.AtEnd());  // the first hit comes before the store is searched
    cancel = true;
    EXPECT_FALSE(cursor.Next(&cancel));
    EXPECT_FALSE(cursor.AtEnd());
    cancel = false;
    while (const auto hit = cursor.Next(&cancel)) pieces.push_back(*hit);
    EXPECT_TRUE(cursor.AtEnd());
    EXPECT_EQ(pieces, whole);
    EXPECT_FALSE(cursor.Next());

    // A callback that stops ends the search early.
    int calls = 0;
    EXPECT_FALSE(ForEachHit(loaded.store, query, [&](const SearchHit&) { return ++calls < 2; }));
    EXPECT_EQ(calls, 2);
    // So does a flag set before the search starts.
    cancel = true;
    EXPECT_FALSE(ForEachHit(
        loaded.store, query, [](const SearchHit&) { return true; }, &cancel));
}

TEST(SearchCursor, EmptyAndReleasedStores) {
    const Loaded empty("");
    EXPECT_EQ(HitText(empty.store, SearchQuery("", Options(Scope::All))), "");
    prov::ComponentStore released;
    prov::ReleaseNode(released);
    SearchCursor cursor(released, SearchQuery("x", Options(Scope::All)));
    EXPECT_FALSE(cursor.Next());
    EXPECT_TRUE(cursor.AtEnd());
}

TEST(ComponentPath, NamesBelowTheAddNode) {
    const Loaded loaded(kNode);
    const prov::ComponentNode* add = loaded.store.AddNode();
    EXPECT_EQ(ComponentPath(*add), "");
    EXPECT_EQ(ComponentPath(*prov::FindComponent(add, "atmif/31 VCC/0.100 nrp")), "AtmIf/31 Vcc/0.100 Nrp");
}

TEST(ComponentPath, ExactPathFindsOnlyShownComponents) {
    const Loaded loaded(kNode);
    const prov::ComponentNode* add = loaded.store.AddNode();
    struct Lookup {
        const char* path;
        const char* found;  // FindComponent path from the add node, or null
    } cases[] = {
        {"Shelf Card/3", "Shelf Card/3"},
        {"shelf CARD/3", "Shelf Card/3"},
        {"AtmIf/31 Vcc/0.100 Nrp", "AtmIf/31 Vcc/0.100 Nrp"},
        {"Shelf", "Shelf"},
        {"Shelf Nothing Card/3", nullptr},  // FindComponent would skip the missing piece
        {"Card/3", nullptr},
        {"add Shelf", nullptr},
        {"Shelf  Card/3", nullptr},
        {"Shelf Card/3 ", nullptr},
        {"&Hidden Card/3", nullptr},
        {"&Hidden", nullptr},
        {"", nullptr},
    };
    for (const Lookup& c : cases) {
        for (const QueryText text : {QueryText::Bytes, QueryText::Display}) {
            const prov::ComponentNode* expected = c.found ? prov::FindComponent(add, c.found) : nullptr;
            EXPECT_EQ(FindComponentAtPath(loaded.store, c.path, text), expected) << c.path;
        }
    }
}

// ---- Display text: UTF-8 strings as UTF-8, others as Latin-1 ----

// "Café" spelt in Latin-1 as a component and in UTF-8 as another and as a
// value, below a Latin-1 parent; "naïve" in UTF-8 under a UTF-8 parent. The
// UTF-8 "Café" sorts first (byte C3 before E9).
constexpr std::string_view kMixedNode =
    "start prov\n"
    "add Caf\xE9\n"
    "set Caf\xE9 note \xE0 la carte\n"
    "add Caf\xE9 K\xC3\xBChl\n"
    "set Caf\xE9 K\xC3\xBChl menu Caf\xC3\xA9, price 5\xE2\x82\xAC\n"
    "add Caf\xC3\xA9\n"
    "add Caf\xC3\xA9 na\xC3\xAFve\n";

TEST(DisplayText, DecodesLikeTheWindow) {
    std::string scratch;
    EXPECT_EQ(DisplayUtf8("plain", scratch), "plain");
    EXPECT_EQ(DisplayUtf8("Caf\xC3\xA9", scratch), "Caf\xC3\xA9");
    EXPECT_EQ(DisplayUtf8("Caf\xE9", scratch), "Caf\xC3\xA9");
    EXPECT_EQ(DisplayUtf8("\xEF\xBB\xBFx", scratch), "x");  // a leading byte-order mark is not shown
    struct Bytes {
        const char* bytes;
        bool utf8;
    } cases[] = {
        {"\xC3\xA9", true},
        {"\xE2\x82\xAC", true},
        {"\xF0\x9F\x98\x80", true},
        {"\xEF\xBF\xBE", true},
        {"\xC3", false},
        {"\xC0\x80", false},
        {"\xE0\x80\xAF", false},
        {"\xED\xA0\x80", false},
        {"\xF4\x90\x80\x80", false},
        {"\xF8\x88\x80\x80\x80", false},
        {"\x80", false},
        {"a\xE9z", false},
    };
    for (const Bytes& c : cases) EXPECT_EQ(IsUtf8(c.bytes), c.utf8) << c.bytes;
    EXPECT_EQ(Latin1FromUtf8("Caf\xC3\xA9"), std::optional<std::string>("Caf\xE9"));
    EXPECT_EQ(Latin1FromUtf8("5\xE2\x82\xAC"), std::nullopt);
}

TEST(DisplayText, QueriesMatchWhatTheWindowShows) {
    const Loaded loaded(kMixedNode);
    const auto display = [](Scope scope, bool regex = false, bool word = false) {
        return Options(scope, regex, word, false, QueryText::Display);
    };
    struct DisplayCase {
        std::string query;
        SearchOptions options;
        std::string expected;
    } cases[] = {
        // Typed text finds both spellings of "Café"; bytes find only their own.
        {"Caf\xC3\xA9", display(Scope::Names), "Caf\xC3\xA9\nCaf\xE9\n"},
        {"Caf\xC3\xA9", Options(Scope::Names), "Caf\xC3\xA9\n"},
        {"Caf\xE9", Options(Scope::Names), "Caf\xE9\n"},
        {"caf\xC3\xA9", display(Scope::Names), "Caf\xC3\xA9\nCaf\xE9\n"},
        // Only ASCII letters fold.
        {"CAF\xC3\x89", display(Scope::Names), ""},
        {"\xC3\xA0 la", display(Scope::Values), "Caf\xE9\tnote=\xE0 la carte\n"},
        {"5\xE2\x82\xAC", display(Scope::Values), "Caf\xE9 K\xC3\xBChl\tprice=5\xE2\x82\xAC\n"},
        // A Latin-1 ancestor and a UTF-8 child in one path.
        {"\xC3\xA9 K\xC3\xBC", display(Scope::Paths), "Caf\xE9 K\xC3\xBChl\n"},
        {"\xC3\xA9 K\xC3\xBC", Options(Scope::Paths), ""},
        // A display regex sees characters: "." is one whole character.
        {"^Caf.$", display(Scope::Names, true), "Caf\xC3\xA9\nCaf\xE9\n"},
        {"^Caf.$", Options(Scope::Names, true), "Caf\xE9\n"},
        {"^Caf..$", Options(Scope::Names, true), "Caf\xC3\xA9\n"},
        {"Caf\xC3\xA9 na.ve$", display(Scope::Paths, true), "Caf\xC3\xA9 na\xC3\xAFve\n"},
        {"[^\xE2\x82\xAC]$", display(Scope::Names, true),
         "Caf\xC3\xA9\nCaf\xC3\xA9 na\xC3\xAFve\nCaf\xE9\nCaf\xE9 K\xC3\xBChl\n"},
        // A non-ASCII letter is no word character.
        {"Caf", display(Scope::Names, false, true), "Caf\xC3\xA9\nCaf\xE9\n"},
        {"K", display(Scope::Names, false, true), "Caf\xE9 K\xC3\xBChl\n"},
        {"hl", display(Scope::Names, true, true), "Caf\xE9 K\xC3\xBChl\n"},
    };
    for (const DisplayCase& c : cases)
        EXPECT_EQ(HitText(loaded.store, SearchQuery(c.query, c.options)), c.expected) << c.query;
    EXPECT_THROW(SearchQuery("Caf\xE9", display(Scope::Names)), QueryError);

    EXPECT_EQ(FindComponentAtPath(loaded.store, "caf\xC3\xA9 k\xC3\xBChl", QueryText::Display),
              prov::FindComponent(loaded.store.AddNode(), "Caf\xE9 K\xC3\xBChl"));
    EXPECT_EQ(FindComponentAtPath(loaded.store, "Caf\xE9", QueryText::Bytes),
              prov::FindComponent(loaded.store.AddNode(), "Caf\xE9"));
    EXPECT_EQ(FindComponentAtPath(loaded.store, "Caf\xC3\xA9 na\xC3\xAFve", QueryText::Display),
              prov::FindComponent(loaded.store.AddNode(), "Caf\xC3\xA9 na\xC3\xAFve"));
    EXPECT_EQ(FindComponentAtPath(loaded.store, "Caf\xE9", QueryText::Display), nullptr);
}

// ---- Plain text and patterns agree on every string ----

// A plain query and the same query quoted as a pattern find the same strings
// and the same path ends, in every mode the two share.
TEST(SearchQuery, PlainTextAndQuotedPatternAgree) {
    std::mt19937 random(13);
    const std::string alphabet = "aAb_ 1/.";
    const auto randomText = [&](std::size_t maxSize) {
        std::string s(std::uniform_int_distribution<std::size_t>(0, maxSize)(random), ' ');
        for (char& c : s) c = alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(random)];
        return s;
    };
    const auto isWord = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
    for (int round = 0; round < 400; ++round) {
        const std::string query = randomText(3);
        const bool word = round % 2 == 1;
        const bool matchCase = round % 4 >= 2;
        const SearchQuery plain(query, Options(Scope::All, false, word, matchCase));
        const SearchQuery pattern(RE2::QuoteMeta(query), Options(Scope::All, true, word, matchCase));
        for (int t = 0; t < 20; ++t) {
            // Long enough for the eight-byte steps of the plain-text search.
            const std::string text = randomText(t < 10 ? 12 : 40);
            // A naive reference for the plain query.
            bool contains = false, endsInName = false;
            const std::size_t nameStart = text.empty() ? 0 : text.size() / 2;
            for (std::size_t at = 0; at + query.size() <= text.size(); ++at) {
                bool equal = true;
                for (std::size_t i = 0; i < query.size() && equal; ++i) {
                    const char a = text[at + i], b = query[i];
                    equal = matchCase ? a == b : std::tolower(a) == std::tolower(b);
                }
                const std::size_t end = at + query.size();
                const bool bounded =
                    !word || ((at == 0 || !isWord(text[at - 1])) && (end == text.size() || !isWord(text[end])));
                if (!equal || !bounded) continue;
                contains = true;
                if (end > nameStart) endsInName = true;
            }
            EXPECT_EQ(plain.Matches(text), contains) << '"' << query << "\" in \"" << text << '"';
            EXPECT_EQ(pattern.Matches(text), contains) << '"' << query << "\" in \"" << text << '"';
            EXPECT_EQ(plain.MatchesEndIn(text, nameStart), endsInName) << '"' << query << "\" in \"" << text << '"';
            EXPECT_EQ(pattern.MatchesEndIn(text, nameStart), endsInName) << '"' << query << "\" in \"" << text << '"';
        }
    }
}

// The cursor searches many strings at once (one pass over a batch, or a
// literal prefilter) and takes shortcuts (an ASCII query reads display text
// as bytes); each string alone, in the form the query names, must give the
// same answer.
TEST(SearchCursor, AgreesWithOneStringAtATime) {
    std::mt19937 random(14);
    // Pieces of UTF-8, of Latin-1, and a byte-order mark.
    const std::vector<std::string> nameBytes = {"a", "b", "A", "B",    "0",        "1",
                                                "/", ".", "_", "\xE9", "\xC3\xA9", "\xEF\xBB\xBF"};
    std::vector<std::string> valueBytes = nameBytes;
    valueBytes.insert(valueBytes.end(), {" ", "="});
    const auto pick = [&](const std::vector<std::string>& from, std::size_t most) {
        std::string s;
        for (std::size_t n = std::uniform_int_distribution<std::size_t>(0, most)(random); n > 0; --n)
            s += from[random() % from.size()];
        return s;
    };
    std::string file = "start prov\n";
    std::vector<std::string> paths;
    for (int i = 0; i < 300; ++i) {
        std::string path = paths.empty() || i % 3 == 0 ? "" : paths[random() % paths.size()] + " ";
        path += pick(nameBytes, 5);
        paths.push_back(path);
        file += "add " + path + "\n";
        for (int line = 0; line < 3; ++line)
            file += "set " + path + " " + pick(nameBytes, 4) + " " + pick(valueBytes, 8) + "\n";
    }
    const Loaded loaded(file);

    struct Query {
        const char* text;
        bool regex;
    } queries[] = {
        // Batched in one pass: no literals to look for.
        {R"(^\d$)", true},
        {"a*", true},
        {"^$", true},
        {R"(\bb)", true},
        {"[^a]$", true},
        {"^.", true},
        {R"(\d\s\w)", true},
        {R"(\B1)", true},
        {"(?i)b.A", true},
        {"^.a$", true},
        // With literals ("aba", "b_1").
        {"aba", true},
        {R"(b_1|^ab\.)", true},
        {R"(\Qb_1\E$)", true},
        // One string at a time: they name the whole text or any byte.
        {R"(\Aa)", true},
        {R"(b\z)", true},
        {"(?-m:^a)", true},
        {R"(a\Cb)", true},
        // Plain text, ASCII or not.
        {"a", false},
        {"ab", false},
        {"b_1", false},
        {"A/", false},
        {"", false},
        {"\xC3\xA9", false},
        {"\xC3\xA9"
         "a",
         false},
    };
    for (const QueryText form : {QueryText::Bytes, QueryText::Display}) {
        const auto shown = [&](std::string_view bytes) {
            std::string scratch;
            return std::string(form == QueryText::Display ? DisplayUtf8(bytes, scratch) : bytes);
        };
        for (const Query& q : queries) {
            for (const Scope scope : {Scope::Names, Scope::Paths, Scope::AttributeNames, Scope::Values, Scope::All}) {
                for (int flags = 0; flags < 4; ++flags) {
                    const SearchQuery query(q.text, Options(scope, q.regex, flags & 1, flags & 2, form));
                    std::string expected;
                    // Preorder, each node with its path as shown.
                    std::vector<std::pair<const prov::ComponentNode*, std::string>> pending;
                    const auto children = loaded.store.AddNode()->Children();
                    for (auto child = children.rbegin(); child != children.rend(); ++child)
                        pending.emplace_back(*child, shown((*child)->Name()));
                    while (!pending.empty()) {
                        const auto [node, path] = pending.back();
                        pending.pop_back();
                        const auto below = node->Children();
                        for (auto child = below.rbegin(); child != below.rend(); ++child)
                            pending.emplace_back(*child, path + " " + shown((*child)->Name()));
                        const std::string name = shown(node->Name());
                        const bool own = ((scope == Scope::Names || scope == Scope::All) && query.Matches(name)) ||
                                         ((scope == Scope::Paths || scope == Scope::All) &&
                                          query.MatchesEndIn(path, path.size() - name.size()));
                        if (own) expected += ComponentPath(*node) + "\n";
                        for (std::string_view line : node->Attributes().FileLines()) {
                            const std::string lineName = shown(prov::LineName(line));
                            const std::string value = shown(prov::LineValue(line));
                            const bool hit = scope == Scope::All ? query.MatchesLine(lineName + "=" + value)
                                             : scope == Scope::AttributeNames ? query.Matches(lineName)
                                             : scope == Scope::Values         ? query.Matches(value)
                                                                              : false;
                            if (hit) expected += ComponentPath(*node) + "\t" + std::string(line) + "\n";
                        }
                    }
                    EXPECT_EQ(HitText(loaded.store, query), expected)
                        << q.text << " scope " << static_cast<int>(scope) << " flags " << flags << " display "
                        << (form == QueryText::Display);
                }
            }
        }
    }
}

// What a pattern's literals and anchors let the search pass over (a string
// without them, a string's ends, the path before its last space) never hides
// a match: each answer agrees with RE2 tried on every span of the string,
// the whole string around it as context.
TEST(SearchQuery, LiteralsNeverHideAMatch) {
    std::mt19937 random(15);
    // Letters RE2 folds beyond ASCII, a TAB, "=", a space, Latin-1, UTF-8, a digit.
    const std::vector<std::string> pieces = {
        "k", "K", "s", "S", "a", "A", "t", "m", "M", "_", "=", "\t", " ", "\xE9", "\xC3\xA9", "\xE2\x84\xAA", "1"};
    const std::vector<const char*> patterns = {
        "kas", "ska", "aka|sas", "k[as]{2}k", "^s.as$",
        // Anchors at a string's ends, in and out of groups and alternatives.
        "am$|tma", "(ma|tt)$", "^(ta|mat)$", R"(\Aat|ta\z)", "ta(m|$)", "(am$)|(^ma)", "(?i)TA$|^=a", "a\tm$",
        "^$|mm=", "[ta]m$|^_t", "(^a|t)m$", "am$$|ttt", "((am$)|bb)$|ttt", "(a$|t)ma", "a(m$)+|ttt", "^^ta|sss",
        R"(ma\b$|^\bat)", "sk$|^ks", "a.t", R"(a\st$)", "t[^k]a", "(?s:m.)a", "\xC3\xA9$|^a\xC3\xA9", "\xE9$|^t\xE9",
        "a=t$", "tm$|(^a)*ta",
        // Literals alone, decided without RE2: alternatives, groups, "?", small
        // classes, "=" inside a literal, and the Kelvin sign's "k" and "s".
        "ma|tt$", "(at|=m)$|^t=", "^(ta|m)$", "a[tm_]$|=a", "(a=)?ma$", "^=t|m=$", "t", "=", R"(a\.|\=m)",
        "M[=a]??t|^A", "\t$|^ ", "a t", "[=-@]m|_$", "(?:a|mm)(t|=)$", "a=t|mm", "^sa|ak$", R"(\d|a\d?$)"};
    const auto isWord = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
    // RE2 on every span [b, e) of `text` with e > after, as a whole word when
    // `word`.
    const auto spans = [&](const RE2& re, std::string_view text, std::size_t after, bool word) {
        const re2::StringPiece piece(text.data(), text.size());
        for (std::size_t e = after; e <= text.size(); ++e)
            for (std::size_t b = 0; b <= e; ++b) {
                if (word && ((b > 0 && isWord(text[b - 1])) || (e < text.size() && isWord(text[e])))) continue;
                if (re.Match(piece, b, e, RE2::ANCHOR_BOTH, nullptr, 0)) return true;
            }
        return false;
    };
    for (const bool utf8 : {false, true}) {
        for (const char* pattern : patterns) {
            for (int flags = 0; flags < 4; ++flags) {
                const bool word = flags & 1, matchCase = flags & 2;
                RE2::Options options;
                options.set_encoding(utf8 ? RE2::Options::EncodingUTF8 : RE2::Options::EncodingLatin1);
                options.set_case_sensitive(matchCase);
                options.set_log_errors(false);
                const RE2 plain(pattern, options);
                if (!plain.ok()) continue;  // Latin-1 bytes in UTF-8
                const SearchQuery query(
                    pattern, Options(Scope::All, true, word, matchCase, utf8 ? QueryText::Display : QueryText::Bytes));
                for (int t = 0; t < 150; ++t) {
                    std::string text;
                    for (std::size_t n = std::uniform_int_distribution<std::size_t>(0, 7)(random); n > 0; --n)
                        text += pieces[random() % pieces.size()];
                    // Display text is UTF-8; RE2 never matches broken UTF-8 there.
                    if (utf8 && !IsUtf8(text)) continue;
                    const std::string at = std::string(pattern) + " in \"" + text + "\" flags " + std::to_string(flags);
                    EXPECT_EQ(query.Matches(text), spans(plain, text, 0, word)) << at;
                    EXPECT_EQ(query.MatchesLine(text), spans(plain, prov::LineName(text), 0, word) ||
                                                           spans(plain, prov::LineValue(text), 0, word))
                        << at << " as a line";
                    // A path: pieces hold no spaces; its last name ends it.
                    std::string path = text;
                    while (!path.empty() && path.front() == ' ') path.erase(0, 1);
                    for (std::size_t twice; (twice = path.find("  ")) != std::string::npos;) path.erase(twice, 1);
                    const std::size_t nameStart = path.rfind(' ') == std::string::npos ? 0 : path.rfind(' ') + 1;
                    EXPECT_EQ(query.MatchesEndIn(path, nameStart), spans(plain, path, nameStart + 1, word))
                        << pattern << " in path \"" << path << "\" flags " << flags;
                }
            }
        }
    }
    // Folds beyond ASCII: the Kelvin sign and the long s are "k" and "s" in
    // UTF-8; accented capitals fold in both encodings.
    const auto caseless = [](const char* pattern, QueryText text) {
        return SearchQuery(pattern, Options(Scope::All, true, false, false, text));
    };
    EXPECT_TRUE(caseless("kas", QueryText::Display)
                    .Matches("\xE2\x84\xAA"
                             "a\xC5\xBF"));
    EXPECT_TRUE(caseless("\xC3\xA9"
                         "a=",
                         QueryText::Display)
                    .Matches("x\xC3\x89"
                             "A="));
    EXPECT_TRUE(caseless("\xE9"
                         "a=",
                         QueryText::Bytes)
                    .Matches("x\xC9"
                             "A="));
}

TEST(SearchQuery, LongRepetitiveTextsStayLinear) {
    // A query that almost matches at every position of a long value.
    const std::string text(4'000'000, 'a');
    const SearchQuery query(std::string(2000, 'a') + "b", Options(Scope::Values));
    EXPECT_FALSE(query.Matches(text));
    EXPECT_TRUE(SearchQuery(std::string(2000, 'A'), Options(Scope::Values)).Matches(text));
    EXPECT_FALSE(SearchQuery("(a|aa)*b", Options(Scope::Values, true)).Matches(text));
}

// ---- Depth ----

TEST(SearchCursor, MillionDeepFileSearchesEveryScope) {
    constexpr int kDepth = 1'000'000;
    std::string file;
    file.reserve(kDepth * 16);
    for (int i = 0; i < kDepth; ++i) {
        file += "configure C/" + std::to_string(i % 10) + "\n";
        if (i % 1000 == 999) file += "set depth " + std::to_string(i + 1) + "\n";
    }
    const Loaded loaded(file);
    const auto count = [&](std::string_view query, const SearchOptions& options) {
        std::size_t hits = 0;
        const bool whole = ForEachHit(loaded.store, SearchQuery(query, options), [&](const SearchHit&) {
            ++hits;
            return true;
        });
        EXPECT_TRUE(whole);
        return hits;
    };
    // Every scope, plain and pattern, each search walking the whole depth.
    EXPECT_EQ(count("C/8 C/9", Options(Scope::Paths)), kDepth / 10u);
    EXPECT_EQ(count("C/9", Options(Scope::Paths, true, true)), kDepth / 10u);
    EXPECT_EQ(count("1000000", Options(Scope::All)), 1u);
    EXPECT_EQ(count(R"(^\d?\d?\d?\d?000$)", Options(Scope::All, true)), kDepth / 1000u);
    // A pattern whose matches may reach further back than the path it sees
    // says so instead of missing one; one whose matches hold no space stays
    // inside the last name, however long.
    EXPECT_THROW(count(R"(^.+000$)", Options(Scope::All, true)), SearchLimitError);
    EXPECT_EQ(count(R"(^\d+000$)", Options(Scope::All, true)), kDepth / 1000u);
    EXPECT_EQ(count(R"(^C/\d+$)", Options(Scope::Paths, true)), 1u);
    // The deepest component, found by its path.
    std::string deepest;
    for (int i = 0; i < kDepth; ++i) deepest += (i ? " C/" : "C/") + std::to_string(i % 10);
    const prov::ComponentNode* node = FindComponentAtPath(loaded.store, deepest, QueryText::Bytes);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->ChildCount(), 0u);
    EXPECT_EQ(ComponentPath(*node), deepest);
}

// Plain text in the paths scope carries its match state down the tree, so a
// path costs its own name only: it finds exactly the components whose whole
// path, looked at anew, has a match ending inside the own name.
TEST(SearchCursor, CarriedPathStateFindsWhatTheWholePathFinds) {
    const Loaded loaded(
        "start prov\n"
        "add ab\nadd ab a\nadd ab a ba\nadd ab a ba aba\nadd ab a ba aba b\nadd ab ab\nadd ab ab ab\n"
        "add ab ab ab AB\nadd a\nadd a aa\nadd a aa aaa\nadd a aa aaa a_b\nadd Xab\nadd Xab b\n");
    const char* const queries[] = {"a",        "ab a", "b ab", "aba", " a",       "a ",  "ab ab ab",
                                   "aa aaa a", "b",    "a b",  "AB",  "ba aba b", "a_b", "x"};
    for (const char* query : queries) {
        for (const bool word : {false, true}) {
            for (const bool matchCase : {false, true}) {
                const SearchQuery q(query, Options(Scope::Paths, false, word, matchCase));
                std::vector<const prov::ComponentNode*> expected;
                // Depth first in the store's order, as the search walks.
                std::vector<const prov::ComponentNode*> order;
                const std::function<void(const prov::ComponentNode*)> walk = [&](const prov::ComponentNode* n) {
                    for (const prov::ComponentNode* child : n->Children()) {
                        order.push_back(child);
                        walk(child);
                    }
                };
                walk(loaded.store.AddNode());
                for (const prov::ComponentNode* node : order) {
                    const std::string path = ComponentPath(*node);
                    if (q.MatchesEndIn(path, path.size() - node->Name().size())) expected.push_back(node);
                }
                std::vector<const prov::ComponentNode*> found;
                ForEachHit(loaded.store, q, [&](const SearchHit& hit) {
                    found.push_back(hit.node);
                    return true;
                });
                EXPECT_EQ(found, expected) << "'" << query << "' word " << word << " case " << matchCase;
            }
        }
    }
}

}  // namespace
}  // namespace oryx::search
