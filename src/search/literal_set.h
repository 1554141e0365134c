#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace oryx::search {

// A regular expression that is no more than a few literals, each perhaps tied
// to a string's start or end ("Vcd|Tm$"), decided without running it: a
// string matches when it holds one of the literals. Looking for a literal by
// its rarest byte passes over most strings at memory speed, and a literal
// tied to an end costs a comparison there.
class LiteralSet final {
public:
    // Null unless the pattern's matches are exactly the literals' occurrences
    // under the query's case rules (ASCII case folding unless `matchCase`;
    // RE2 folds "k" and "s" beyond ASCII in UTF-8, so those stay with RE2).
    static std::unique_ptr<LiteralSet> For(std::string_view pattern, bool utf8, bool matchCase);

    // A match anywhere in `text`.
    bool Contains(std::string_view text) const;
    // A match in the name (before the first "=") or the value (after it) of
    // a "name=value" line; never one across the "=".
    bool ContainsInLine(std::string_view line) const;

private:
    struct Literal {
        std::string text;  // case folded as the query folds
        bool atStart, atEnd;
        bool hasEquals;         // so only a line's value can hold it
        std::size_t rare;       // where its rarest byte lies
        unsigned char caseBit;  // 0x20 when that byte is a letter whose case is folded
    };

    LiteralSet() = default;
    unsigned char Fold(char c) const { return fold_[static_cast<unsigned char>(c)]; }
    bool SameAt(const char* at, const std::string& folded) const;
    bool Occurs(std::string_view text, const Literal& literal) const;
    // Literals tied to an end of `text`, among those of `allowed`.
    bool AtEnds(std::string_view text, std::uint32_t allowed) const;

    std::array<unsigned char, 256> fold_{};
    std::vector<Literal> inside_;  // tied to neither end
    std::vector<Literal> atEnds_;  // bit i of the masks below for atEnds_[i]
    // By a string's last (first) byte, folded: the literals tied to its end
    // (only to its start) that end (begin) with it.
    std::array<std::uint32_t, 256> byLast_{}, byFirst_{};
    std::uint32_t withoutEquals_ = 0;  // the ones a line's name may hold
};

}  // namespace oryx::search
