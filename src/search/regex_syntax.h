#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace oryx::search {

// The RE2 pattern with each "^" or \A that is the first step of every match
// taking it, and each "$" or \z that is the last, written as a line feed
// ("\n"). A match of the pattern in a string then spells, literals and all, a
// match of the result in the string with a line feed before and after it, so
// that literals of the result beginning or ending with a line feed tie a
// match to the string's start or end ("Tm$" needs a string ending in "Tm").
// An anchor inside a repetition, or followed or preceded by more of the
// match, is left as it is: the result may say less, never something wrong.
std::string AnchorsAsLineFeeds(std::string_view pattern);

// Whether no match of the pattern can hold a space, for certain: false for
// any pattern it cannot tell of ("." or a class such as \s or [^a]). Path
// pieces hold no spaces, so such a pattern's matches in a path lie inside
// one piece each.
bool MatchesNoSpace(std::string_view pattern);

// A literal, perhaps tied to a string's start ("^"), its end ("$") or both.
struct AnchoredLiteral {
    std::string text;
    bool atStart = false, atEnd = false;
};

// The literals whose occurrences are exactly the pattern's matches, when the
// pattern is no more than an alternation of a few of them: "Vcd|Tm$",
// "(Lp|Card)/1$", "vcc/0\.3[0-9]$", "^(un)?locked$". Literals hold only
// ASCII, none is empty. Empty for any other pattern, including any with
// flags, repetitions other than "?", or classes it does not take apart.
std::optional<std::vector<AnchoredLiteral>> LiteralAlternatives(std::string_view pattern);

}  // namespace oryx::search
