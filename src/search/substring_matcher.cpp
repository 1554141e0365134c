// Plain-text matching: Knuth-Morris-Pratt over ASCII-folded bytes, so the
// time stays linear in the text whatever the query repeats ("aaab" in a run of
// a's), and every occurrence can be tried for word boundaries.
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

#include "prov/component_store.h"
#include "search/text_matcher.h"

namespace oryx::search {
namespace {

// The byte of a little-endian word whose high bit is the lowest one set.
std::size_t ByteIndex(std::uint64_t marks) { return static_cast<std::size_t>(std::countr_zero(marks)) / 8; }

// Where an occurrence may begin: the first position holding the query's first
// byte, and its second byte right after it for a query of two or more, with
// ASCII case folded where the query folds. Eight positions at a time; a
// letter's two cases differ in bit 0x20 alone, so setting that bit in the
// text folds it (and makes a few other bytes look alike, which the caller's
// comparison sorts out).
class StartFinder final {
public:
    StartFinder() = default;
    StartFinder(std::string_view foldedQuery, bool matchCase) : pair_(foldedQuery.size() >= 2) {
        const auto setUp = [&](std::size_t i, unsigned char& wanted, unsigned char& caseBit) {
            wanted = static_cast<unsigned char>(foldedQuery[i]);
            caseBit = !matchCase && wanted >= 'a' && wanted <= 'z' ? 0x20 : 0;
        };
        if (!foldedQuery.empty()) setUp(0, first_, firstCase_);
        if (pair_) setUp(1, second_, secondCase_);
    }

    std::size_t Find(const char* text, std::size_t size) const {
        const std::size_t span = pair_ ? 2 : 1;  // bytes looked at per position
        if constexpr (std::endian::native == std::endian::little) {
            if (size >= 7 + span) {
                const std::size_t last = size - 7 - span;  // the last group of eight positions
                std::size_t i = 0;
                for (; i < last; i += 8)
                    if (const std::uint64_t found = Starts(text + i)) return i + ByteIndex(found);
                const std::uint64_t found = Starts(text + last) >> (8 * (i - last));
                return found ? i + ByteIndex(found) : size;
            }
        }
        for (std::size_t i = 0; i + span <= size; ++i)
            if (Is(text[i], first_, firstCase_) && (!pair_ || Is(text[i + 1], second_, secondCase_))) return i;
        return size;
    }

private:
    static bool Is(char c, unsigned char wanted, unsigned char caseBit) {
        return (static_cast<unsigned char>(c) | caseBit) == wanted;
    }

    // The high bit of each byte of the word at `at` that equals `wanted`.
    static std::uint64_t Equal(const char* at, unsigned char wanted, unsigned char caseBit) {
        constexpr std::uint64_t kOnes = 0x0101010101010101, kLow7 = 0x7F7F7F7F7F7F7F7F;
        std::uint64_t word;
        std::memcpy(&word, at, 8);
        const std::uint64_t differs = (word | kOnes * caseBit) ^ (kOnes * wanted);
        return ~(((differs & kLow7) + kLow7) | differs | kLow7);
    }

    // Bit 8k+7 set when an occurrence may begin at at + k.
    std::uint64_t Starts(const char* at) const {
        const std::uint64_t firsts = Equal(at, first_, firstCase_);
        return pair_ && firsts ? firsts & Equal(at + 1, second_, secondCase_) : firsts;
    }

    bool pair_ = false;
    unsigned char first_ = 0, firstCase_ = 0, second_ = 0, secondCase_ = 0;
};

class SubstringMatcher final : public TextMatcher {
public:
    SubstringMatcher(std::string_view query, bool matchCase, bool wholeWord) : wholeWord_(wholeWord) {
        for (std::size_t c = 0; c < fold_.size(); ++c) {
            const bool upper = c >= 'A' && c <= 'Z';
            fold_[c] = static_cast<unsigned char>(upper && !matchCase ? c + ('a' - 'A') : c);
        }
        pattern_.reserve(query.size());
        for (char c : query) pattern_ += static_cast<char>(Fold(c));
        // fail_[j]: the length of the longest proper border of pattern_[0, j].
        fail_.assign(pattern_.size(), 0);
        for (std::size_t j = 1, k = 0; j < pattern_.size(); ++j) {
            while (k > 0 && pattern_[j] != pattern_[k]) k = fail_[k - 1];
            if (pattern_[j] == pattern_[k]) ++k;
            fail_[j] = k;
        }
        starts_ = StartFinder(pattern_, matchCase);
        hasEquals_ = pattern_.find('=') != std::string::npos;
    }

    bool Contains(std::string_view text) const override {
        return Scan(text, 0, [&](std::size_t end) { return Bounded(text, end - pattern_.size(), end); });
    }

    bool ContainsInLine(std::string_view line) const override {
        // A query without "=" cannot take a line's first "=", which is no
        // word byte either, so the whole line is searched at once. One with
        // "=" can only lie in the value.
        return Contains(hasEquals_ ? prov::LineValue(line) : line);
    }

    bool EndsInLastName(std::string_view path, std::size_t nameStart, bool) const override {
        // Only an occurrence that begins at most |query| - 1 bytes before the
        // name can end inside it, so a long path costs no more than a short one.
        const std::size_t m = pattern_.size();
        return Scan(path, nameStart + 1 >= m ? nameStart + 1 - m : 0,
                    [&](std::size_t end) { return end > nameStart && Bounded(path, end - m, end); });
    }

    // The occurrence and the byte before it.
    std::size_t PathLookBehind() const override { return pattern_.size(); }

    // The state is the length of the query's longest prefix that ends the
    // text read (Knuth-Morris-Pratt).
    bool CarriesPathState() const override { return !pattern_.empty(); }

    std::size_t PathStateAfter(std::size_t state, std::string_view text) const override {
        for (const char c : text) state = Step(state, Fold(c));
        return state;
    }

    bool EndsInLastNameFrom(std::string_view path, std::size_t nameStart, std::size_t state) const override {
        const std::size_t m = pattern_.size();
        for (std::size_t i = nameStart; i < path.size(); ++i) {
            state = Step(state, Fold(path[i]));
            if (state == m && Bounded(path, i + 1 - m, i + 1)) return true;
        }
        return false;
    }

private:
    unsigned char Fold(char c) const { return fold_[static_cast<unsigned char>(c)]; }

    std::size_t Step(std::size_t j, unsigned char c) const {
        if (j == pattern_.size()) j = fail_[j - 1];
        while (j > 0 && c != static_cast<unsigned char>(pattern_[j])) j = fail_[j - 1];
        return c == static_cast<unsigned char>(pattern_[j]) ? j + 1 : j;
    }

    bool Bounded(std::string_view text, std::size_t begin, std::size_t end) const {
        if (!wholeWord_) return true;
        return (begin == 0 || !IsWordByte(text[begin - 1])) && (end == text.size() || !IsWordByte(text[end]));
    }

    // Whether `accept` takes one of the occurrences that begin at `from` or
    // later; it is given their ends, in order, until it takes one.
    template <class Accept>
    bool Scan(std::string_view text, std::size_t from, Accept accept) const {
        const std::size_t m = pattern_.size();
        const std::size_t n = text.size();
        if (m == 0) {
            // The empty query occurs at every position.
            for (std::size_t p = from; p <= n; ++p)
                if (accept(p)) return true;
            return false;
        }
        std::size_t j = 0;
        for (std::size_t i = from; i < n; ++i) {
            if (j == 0) {
                i += starts_.Find(text.data() + i, n - i);
                if (i >= n) return false;
            }
            const unsigned char c = Fold(text[i]);
            while (j > 0 && c != static_cast<unsigned char>(pattern_[j])) j = fail_[j - 1];
            if (c == static_cast<unsigned char>(pattern_[j])) ++j;
            if (j < m) continue;
            if (accept(i + 1)) return true;
            j = fail_[m - 1];
        }
        return false;
    }

    std::array<unsigned char, 256> fold_{};
    std::string pattern_;
    std::vector<std::size_t> fail_;
    StartFinder starts_;
    bool wholeWord_;
    bool hasEquals_ = false;
};

}  // namespace

std::unique_ptr<TextMatcher> MakeSubstringMatcher(std::string_view query, bool matchCase, bool wholeWord) {
    return std::make_unique<SubstringMatcher>(query, matchCase, wholeWord);
}

}  // namespace oryx::search
