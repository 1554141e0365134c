#include "reports/report_text.h"

namespace oryx::reports {

namespace {

// Inline here: these run for every byte of every line a report searches.
inline char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; }
inline char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - ('a' - 'A')) : c; }

template <typename Fold>
bool MatchesAt(std::string_view text, std::size_t pos, std::string_view word, Fold fold) {
    for (std::size_t j = 0; j < word.size(); ++j) {
        if (fold(text[pos + j]) != word[j]) return false;
    }
    return true;
}

template <typename Fold>
bool ContainsFolded(std::string_view text, std::string_view word, Fold fold) {
    if (word.size() > text.size()) return false;
    for (std::size_t pos = 0; pos + word.size() <= text.size(); ++pos) {
        if (MatchesAt(text, pos, word, fold)) return true;
    }
    return false;
}

}  // namespace

bool ContainsUpper(std::string_view text, std::string_view upperWord) {
    return ContainsFolded(text, upperWord, Upper);
}

bool ContainsLower(std::string_view text, std::string_view lowerWord) {
    return ContainsFolded(text, lowerWord, Lower);
}

bool StartsWithLower(std::string_view text, std::string_view lowerWord) {
    return lowerWord.size() <= text.size() && MatchesAt(text, 0, lowerWord, Lower);
}

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = Lower(c);
    return lower;
}

}  // namespace oryx::reports
