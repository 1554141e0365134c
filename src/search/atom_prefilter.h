#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace re2 {
class RE2;
}

namespace oryx::search {

class TextMatcher;

// Literal strings that every match of a pattern holds in some combination
// (RE2's FilteredRE2 finds them: "^(un)?locked$" needs "locked"), some of
// them tied to the string's start or end ("Tm$" needs a string ending in
// "tm"). Finding literals is far cheaper than running the pattern, and
// looking at a string's ends costs nothing of its length, so strings without
// them are passed over.
class AtomPrefilter final {
public:
    // Null when the pattern has no usable literals (such as "\d+"), or when
    // a literal could be missed by ASCII case folding.
    static std::unique_ptr<AtomPrefilter> For(std::string_view pattern, const re2::RE2& compiled);
    ~AtomPrefilter();

    // False only when no match can lie in `text`.
    bool MayMatch(std::string_view text) const;
    // False only when no match can lie in the name (before the first "=") or
    // the value (after it) of a "name=value" line.
    bool MayMatchLine(std::string_view line) const;

private:
    // A literal tied to the string's start, its end, or both (the whole
    // string), in lower case; `bit` is its place among all the literals.
    struct EndAtom {
        std::string text;
        bool atStart, atEnd;
        std::size_t bit;
    };

    AtomPrefilter() = default;
    static bool EndsWith(std::string_view text, const EndAtom& atom);
    std::size_t FoundAtEnds(std::string_view text) const;
    std::size_t FoundInside(std::string_view text) const;

    // Looked for anywhere in a string.
    std::vector<std::unique_ptr<TextMatcher>> inside_;
    std::vector<std::size_t> insideBits_;
    // Tied to an end: compared only where a string's last (or first) byte,
    // in lower case, is an atom's; by that byte, the atoms of atEnds_ (bit i
    // for atEnds_[i]) that end (or only begin) with it.
    std::vector<EndAtom> atEnds_;
    std::array<std::uint16_t, 256> byLastByte_{}, byFirstByte_{};
    // By the set of atoms found (bit i for atom i): whether a match may exist.
    std::vector<char> mayMatch_;
};

}  // namespace oryx::search
