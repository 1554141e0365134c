#include <gtest/gtest.h>

#include <string>

#include <algorithm>
#include <map>
#include <vector>

#include "text/ascii_case.h"
#include "text/keyed_hash.h"
#include "text/message_value.h"

namespace oryx::text {
namespace {

using namespace std::string_literals;

struct Case {
    const char* name;
    std::string value;
    std::string expected;
};

// "ab" repeated to `bytes` bytes.
std::string Filler(std::size_t bytes) {
    std::string text;
    while (text.size() < bytes) text += text.size() % 2 ? 'b' : 'a';
    return text;
}

const std::string kEuro = "\xE2\x82\xAC";  // three bytes

const Case kCases[] = {
    {"Empty", "", ""},
    {"PlainTextUnchanged", "node17.txt", "node17.txt"},
    {"ControlBytesEscaped", "a\nb\r\tc\x1b[31m\x7F", "a\\x0Ab\\x0D\\x09c\\x1B[31m\\x7F"},
    {"NulEscaped", "a\0b"s, "a\\x00b"},
    {"HighBytesPass", "caf\xC3\xA9 \xFF", "caf\xC3\xA9 \xFF"},
    {"TwoHundredBytesKept", Filler(200), Filler(200)},
    {"LongerKeepsBothEnds", Filler(201), Filler(96) + "..." + Filler(201).substr(105)},
    {"EscapedAfterCutting", std::string(150, '\n') + std::string(150, 'x'),
     [] {
         std::string head;
         for (int i = 0; i < 96; ++i) head += "\\x0A";
         return head + "..." + std::string(96, 'x');
     }()},
    // The 97th byte is inside a three-byte sequence: the head ends before it.
    {"HeadDoesNotSplitASequence", Filler(95) + kEuro + Filler(200), Filler(95) + "..." + Filler(96)},
    {"HeadEndsAfterAWholeSequence", Filler(93) + kEuro + Filler(200), Filler(93) + kEuro + "..." + Filler(96)},
    // The tail would start inside a sequence: it starts after it.
    {"TailDoesNotSplitASequence", Filler(200) + kEuro + Filler(94), Filler(96) + "..." + Filler(94)},
    {"TailStartsAtAWholeSequence", Filler(200) + kEuro + Filler(93), Filler(96) + "..." + kEuro + Filler(93)},
    // Bytes that are no UTF-8 are cut where the count falls.
    {"StrayContinuationBytesCutAnywhere", std::string(300, '\x80'),
     std::string(96, '\x80') + "..." + std::string(96, '\x80')},
    {"LatinOneCutAnywhere", std::string(300, '\xE9'), std::string(96, '\xE9') + "..." + std::string(96, '\xE9')},
};

class MessageValueCase : public ::testing::TestWithParam<Case> {};

TEST_P(MessageValueCase, Cleaned) { EXPECT_EQ(MessageValue(GetParam().value), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(MessageValue, MessageValueCase, ::testing::ValuesIn(kCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(MessageValue, FiftyMegabytesBecomeAShortLine) {
    std::string huge(50u << 20, 'x');
    huge[1000] = '\n';
    const std::string cleaned = MessageValue(huge);
    EXPECT_EQ(cleaned, std::string(96, 'x') + "..." + std::string(96, 'x'));
}

// Names made to share the low bits a table looks at, under the hash at a
// fixed test seed, share them no more than chance under another seed: a file
// cannot be built to collide in a run whose seed it does not know. Names that
// differ in letter case alone hash alike under every seed.
TEST(KeyedHash, CollisionsMadeAtOneSeedDoNotCarryOver) {
    constexpr std::uint64_t kTestSeed = 0x5EED;
    constexpr std::uint64_t kMask = 0x3FF;  // a table of 1,024 slots
    std::vector<std::string> colliding;
    for (long i = 0; colliding.size() < 64; ++i) {
        const std::string name = "attr" + std::to_string(i);
        if ((KeyedHash(name, true, kTestSeed) & kMask) == 0) colliding.push_back(name);
    }
    for (const std::uint64_t seed : {kTestSeed + 1, std::uint64_t{0}, ~kTestSeed}) {
        std::map<std::uint64_t, int> slots;
        for (const std::string& name : colliding) ++slots[KeyedHash(name, true, seed) & kMask];
        int fullest = 0;
        for (const auto& [slot, count] : slots) fullest = std::max(fullest, count);
        EXPECT_LE(fullest, 4) << seed;
    }
    const struct {
        std::string a, b;
    } alike[] = {{"cardType", "CARDTYPE"}, {"Card/3 Lp/0", "card/3 lP/0"}, {"AZaz@[`{", "azAZ@[`{"}, {"", ""}};
    for (const auto& c : alike) {
        for (const std::uint64_t seed : {kTestSeed, HashSeed()}) {
            EXPECT_EQ(KeyedHash(c.a, true, seed), KeyedHash(c.b, true, seed)) << c.a;
        }
    }
    const std::pair<std::string, std::string> unlike[] = {{"@", "`"}, {"[", "{"}, {"\xC9", "\xE9"}, {"a", "a "}};
    for (const auto& [a, b] : unlike) EXPECT_NE(KeyedHash(a, true, kTestSeed), KeyedHash(b, true, kTestSeed)) << a;
}

// Eight bytes at a time as one byte at a time: every pair of bytes at every
// place of names shorter than, as long as and longer than a word, the others
// alike in different case.
TEST(EqualIgnoringAsciiCase, AgreesByteByByte) {
    static_assert(EqualIgnoringAsciiCase("cardType", "CARDtype") && !EqualIgnoringAsciiCase("a", "b"));
    const auto lower = [](int c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
    for (const std::string base : {"q", "adminSt", "adminSta", "adminStat", "administrativeState"}) {
        std::string upper = base;
        std::transform(upper.begin(), upper.end(), upper.begin(), [](char c) { return AsciiUpper(c); });
        for (std::size_t at = 0; at < base.size(); ++at) {
            std::string a = base, b = upper;
            for (int x = 0; x < 256; ++x)
                for (int y = 0; y < 256; ++y) {
                    a[at] = static_cast<char>(x);
                    b[at] = static_cast<char>(y);
                    ASSERT_EQ(EqualIgnoringAsciiCase(a, b), lower(x) == lower(y))
                        << base << " " << at << " " << x << " " << y;
                }
        }
        EXPECT_FALSE(EqualIgnoringAsciiCase(base, upper + "x"));
    }
}

}  // namespace
}  // namespace oryx::text
