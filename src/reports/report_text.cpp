#include "reports/report_text.h"
#include "text/ascii_case.h"

#include <algorithm>

namespace oryx::reports {

namespace {

// Function objects rather than functions, so that the searches below inline
// them: they run for every byte of every line a report searches.
struct ToLower {
    char operator()(char c) const { return text::AsciiLower(c); }
};
struct ToUpper {
    char operator()(char c) const { return text::AsciiUpper(c); }
};
constexpr ToLower Lower;
constexpr ToUpper Upper;

template <typename Fold>
bool MatchesAt(std::string_view text, std::size_t pos, std::string_view word, Fold fold) {
    for (std::size_t j = 0; j < word.size(); ++j) {
        if (fold(text[pos + j]) != word[j]) return false;
    }
    return true;
}

// Scans for the word's first letter in either case before comparing the rest:
// most positions of a line fail at that first test.
template <typename Fold>
bool ContainsFolded(std::string_view text, std::string_view word, Fold fold) {
    if (word.empty()) return true;
    if (word.size() > text.size()) return false;
    const char first = word[0];
    const char lower = Lower(first), upper = Upper(first);
    const std::size_t last = text.size() - word.size();
    for (std::size_t pos = 0; pos <= last; ++pos) {
        const char c = text[pos];
        if ((c == lower || c == upper) && fold(c) == first && MatchesAt(text, pos + 1, word.substr(1), fold)) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool ContainsUpper(std::string_view text, std::string_view upperWord) { return ContainsFolded(text, upperWord, Upper); }

bool ContainsLower(std::string_view text, std::string_view lowerWord) { return ContainsFolded(text, lowerWord, Lower); }

bool StartsWithLower(std::string_view text, std::string_view lowerWord) {
    return lowerWord.size() <= text.size() && MatchesAt(text, 0, lowerWord, Lower);
}

LowerWordFinder::LowerWordFinder(std::string_view lowerWord) : word_(lowerWord) {
    const std::size_t m = word_.size();
    // Shifts above 255 are cut to 255: a shorter shift is always safe.
    shift_.fill(static_cast<std::uint8_t>(std::min<std::size_t>(m, 255)));
    for (std::size_t i = 0; i + 1 < m; ++i) {
        shift_[static_cast<unsigned char>(word_[i])] = static_cast<std::uint8_t>(std::min<std::size_t>(m - 1 - i, 255));
    }
}

bool LowerWordFinder::FoundIn(std::string_view text) const {
    const std::size_t m = word_.size();
    if (m == 0) return true;
    if (m > text.size()) return false;
    const std::size_t last = m - 1;
    const char lastChar = word_[last];
    for (std::size_t pos = 0; pos + m <= text.size();) {
        const char c = Lower(text[pos + last]);
        if (c == lastChar && MatchesAt(text, pos, std::string_view(word_).substr(0, last), Lower)) return true;
        pos += shift_[static_cast<unsigned char>(c)];
    }
    return false;
}

}  // namespace oryx::reports
