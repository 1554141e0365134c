#include "search/search_query.h"

#include "search/display_text.h"
#include "search/text_batch.h"
#include "search/text_matcher.h"

namespace oryx::search {

SearchQuery::SearchQuery(std::string_view text, const SearchOptions& options) : text_(text), options_(options) {
    const bool display = options.text == QueryText::Display;
    if (display && !IsUtf8(text)) throw QueryError("the query is not UTF-8 text");
    if (options.regex)
        matcher_ = MakeRegexMatcher(text, display, options.matchCase, options.wholeWord);
    else
        matcher_ = MakeSubstringMatcher(text, options.matchCase, options.wholeWord);
}

bool SearchQuery::Matches(std::string_view shown) const { return matcher_->Contains(shown); }

bool SearchQuery::MatchesLine(std::string_view shown) const { return matcher_->ContainsInLine(shown); }

bool SearchQuery::MatchesEndIn(std::string_view shown, std::size_t nameStart) const {
    // A long path counts only as far back as the matcher looks.
    const PathTail tail = CutPath(shown, nameStart, matcher_->PathLookBehind());
    return matcher_->EndsInLastName(tail.text, tail.nameStart, tail.cut);
}

bool SearchQuery::PathMayHideMatch(std::size_t nameStart) const {
    // CutPath cuts a path whose name begins further in than this.
    return matcher_->MatchesMayOutreachLookBehind() && nameStart > matcher_->PathLookBehind() + 1;
}

}  // namespace oryx::search
