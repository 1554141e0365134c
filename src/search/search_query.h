#pragma once

#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "search/search_options.h"

namespace oryx::search {

class TextMatcher;

// A query that cannot be searched for: an invalid regular expression (the
// message gives RE2's reason) or display text that is not UTF-8. what() is
// one line.
class QueryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A search that could not look at all it had to: the path of a component
// nested so deep that a regular expression cannot look back over all of it
// (see SearchQuery::MatchesEndIn). Thrown rather than missing a match in
// silence; what() names the component.
class SearchLimitError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A query ready to search with: the text and options, compiled once. Copies
// share the compiled matcher, and one query may serve searches on several
// threads at once.
class SearchQuery final {
public:
    // Throws QueryError.
    SearchQuery(std::string_view text, const SearchOptions& options);

    const std::string& Text() const { return text_; }
    const SearchOptions& Options() const { return options_; }

    // A match anywhere in `shown` (a string in the form the options name:
    // the file's bytes, or display text as UTF-8).
    bool Matches(std::string_view shown) const;
    // A match in the name or the value of a "name=value" line (in the form
    // above); never one across the "=".
    bool MatchesLine(std::string_view shown) const;
    // A match in the path `shown` that ends inside its last name, which
    // begins at `nameStart`. A regular expression sees at most 256 bytes of
    // the path before the name, which only files nested dozens deep exceed;
    // when a pattern whose matches can be longer than that, spaces and all,
    // matches nothing in those bytes, a match further back cannot be ruled
    // out, and PathMayHideMatch says so. (A match without spaces lies inside
    // the last name of a path, whose pieces hold none.)
    bool MatchesEndIn(std::string_view shown, std::size_t nameStart) const;
    // Whether MatchesEndIn's false for this path may hide a match.
    bool PathMayHideMatch(std::size_t nameStart) const;

    // The compiled matcher, for SearchCursor.
    const TextMatcher& Matcher() const { return *matcher_; }

private:
    std::string text_;
    SearchOptions options_;
    std::shared_ptr<const TextMatcher> matcher_;
};

}  // namespace oryx::search
