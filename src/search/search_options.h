#pragma once

#include <string_view>

namespace oryx::search {

// Where a query looks. Components beside the add node, names beginning with
// "&" (with everything below them) and lines beginning with "&" are never
// searched.
enum class SearchScope {
    Names,  // a component's own name
    // Its path (see ComponentPath); a match must end inside the component's
    // own name. A regular expression sees at most 256 bytes of the path
    // before that name.
    Paths,
    AttributeNames,  // the text before the first "=" of an attribute line
    Values,          // the text after it
    All,             // all four
};

// Every scope, in the order the find commands offer them: the name
// `oryx-cli find --in` takes and the caption of the find bar's list.
struct ScopeInfo {
    SearchScope scope;
    std::string_view cliName;
    std::string_view caption;
};
inline constexpr ScopeInfo kSearchScopes[] = {
    {SearchScope::Names, "names", "Names"},
    {SearchScope::Paths, "paths", "Paths"},
    {SearchScope::AttributeNames, "attr-names", "Attribute names"},
    {SearchScope::Values, "values", "Values"},
    {SearchScope::All, "all", "All"},
};

// What the query is, and what it is matched against.
enum class QueryText {
    // Bytes matched against the file's bytes. A regular expression is RE2
    // Latin-1 syntax: every byte is one character.
    Bytes,
    // UTF-8 text matched against the text the window shows: each string of the
    // file decoded as UTF-8 when it is well-formed UTF-8, else as Latin-1
    // (see DisplayUtf8). A regular expression is RE2 UTF-8 syntax.
    Display,
};

struct SearchOptions {
    SearchScope scope = SearchScope::All;
    QueryText text = QueryText::Bytes;
    // An RE2 pattern instead of plain text; RE2 matches in time linear in the text.
    bool regex = false;
    // A match needs no ASCII letter, digit or "_" right before or right after it.
    bool wholeWord = false;
    // Without it, plain text folds ASCII letters only; a regular expression is
    // RE2's case-insensitive match (which folds non-ASCII letters as well).
    bool matchCase = false;
};

}  // namespace oryx::search
