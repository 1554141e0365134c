#pragma once

#include <string>
#include <string_view>

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

}  // namespace oryx::search
