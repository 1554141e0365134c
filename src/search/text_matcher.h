#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace oryx::search {

struct BatchText;
struct PathBatch;

// Matches one query against strings. Stateless once built, so one matcher
// serves any number of threads.
class TextMatcher {
public:
    virtual ~TextMatcher() = default;
    // A match anywhere in `text`.
    virtual bool Contains(std::string_view text) const = 0;
    // A match in the name (before the first "=") or the value (after it) of
    // a "name=value" line; never one across the "=".
    virtual bool ContainsInLine(std::string_view line) const = 0;
    // A match in `path` whose end lies inside its last name, path[nameStart,
    // path.size()): the match ends after nameStart. The match may begin
    // before the name. A `cut` path lacks its beginning; its first byte is
    // context only (for "^" and word boundaries), no match begins there.
    virtual bool EndsInLastName(std::string_view path, std::size_t nameStart, bool cut) const = 0;
    // How many bytes of a path before the last name EndsInLastName looks at.
    virtual std::size_t PathLookBehind() const = 0;
    // Whether a match may begin further back than PathLookBehind, so that a
    // cut path can hide one.
    virtual bool MatchesMayOutreachLookBehind() const { return false; }
    // Whether every match ending inside a path's last name lies inside it,
    // so that the name alone holds it too: where names are searched, paths
    // find nothing more.
    virtual bool NameHoldsPathMatches() const { return false; }

    // A matcher that can carry its state down a path, so that a component's
    // path costs the search its own name only, however deep it lies: the
    // state after `text` read from `state` (0 before a path's first byte),
    // and whether a match ends inside the last name of `path`, which begins
    // at nameStart, read from the state there. The bytes before nameStart
    // serve only as context (word boundaries).
    virtual bool CarriesPathState() const { return false; }
    virtual std::size_t PathStateAfter(std::size_t state, std::string_view text) const;
    virtual bool EndsInLastNameFrom(std::string_view path, std::size_t nameStart, std::size_t state) const;

    // Whether the batch calls below beat one call per string.
    virtual bool PrefersBatches() const { return false; }
    // Sets matched[i] (to 1) for every text i that matches (Contains, or
    // ContainsInLine for a line), and likewise for every path that
    // EndsInLastName.
    virtual void MarkContaining(std::span<const BatchText> texts, std::vector<char>& matched) const;
    virtual void MarkPathEnds(const PathBatch& batch, std::vector<char>& matched) const;
};

// Plain text: a substring with ASCII letters folded unless `matchCase`.
std::unique_ptr<TextMatcher> MakeSubstringMatcher(std::string_view query, bool matchCase, bool wholeWord);

// An RE2 pattern, in UTF-8 or Latin-1 syntax. Throws QueryError naming RE2's
// reason when the pattern is invalid.
std::unique_ptr<TextMatcher> MakeRegexMatcher(std::string_view pattern, bool utf8, bool matchCase, bool wholeWord);

// An ASCII letter, digit or "_": what whole-word matching must not find right
// before or after a match.
inline bool IsWordByte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

}  // namespace oryx::search
