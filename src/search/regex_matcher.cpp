// Regular expressions with RE2, which never backtracks: every search is
// linear in the text, whatever the pattern.
#include <re2/re2.h>

#include "prov/component_store.h"
#include "search/atom_prefilter.h"
#include "search/literal_set.h"
#include "search/regex_syntax.h"
#include "search/search_query.h"
#include "search/text_batch.h"
#include "search/text_matcher.h"
#include "text/message_value.h"

namespace oryx::search {
namespace {

// In the paths scope a pattern sees the component's own name and at most this
// many bytes of the path before it. Real paths are far shorter; the bound
// keeps a file nested many thousands deep from costing the square of its
// depth, since RE2 cannot resume a search where the parent's ended.
constexpr std::size_t kPathLookBehind = 256;

// Before and after a whole word: the start or end of the text, or a character
// that is no ASCII letter, digit or "_" (consumed, as RE2 has no lookaround).
constexpr std::string_view kWordBefore = "(?:^|(?-i:[^0-9A-Za-z_]))";
constexpr std::string_view kWordAfter = "(?-i:[^0-9A-Za-z_])";

std::unique_ptr<RE2> Compile(const std::string& pattern, const RE2::Options& options) {
    auto re = std::make_unique<RE2>(pattern, options);
    if (!re->ok()) throw QueryError("invalid regular expression: " + text::MessageValue(re->error()));
    return re;
}

// A bound on the bytes a match of the pattern can span: a pattern without
// repetition ("*", "+", "{") matches at most one character, of at most four
// bytes, per byte of it. Unbounded (SIZE_MAX) otherwise; errs that way.
std::size_t LongestMatchBound(std::string_view pattern) {
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '\\') {
            ++i;  // an escaped byte repeats nothing
            continue;
        }
        if (pattern[i] == '*' || pattern[i] == '+' || pattern[i] == '{') return SIZE_MAX / 2;
    }
    return 4 * pattern.size();
}

// Whether the pattern means the same over a batch (strings separated by line
// feeds, "^" and "$" at each) as over each string alone: not when it names
// the start or end of the whole text (\A, \z, "^" or "$" with multi-line mode
// turned off) or any byte (\C, which would cross a separator). Errs towards no.
bool SameOverBatch(std::string_view pattern) {
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '\\' && i + 1 < pattern.size()) {
            const char escaped = pattern[++i];
            if (escaped == 'A' || escaped == 'z' || escaped == 'C') return false;
            if (escaped == 'Q') {
                const std::size_t end = pattern.find("\\E", i);
                if (end == std::string_view::npos) return true;
                i = end + 1;
            }
        } else if (pattern.substr(i, 2) == "(?") {
            // Flags such as (?i-m) or (?-m:...).
            std::size_t j = i + 2;
            bool clearing = false;
            for (; j < pattern.size() && pattern[j] != ')' && pattern[j] != ':'; ++j) {
                if (pattern[j] == '-') clearing = true;
                if (pattern[j] == 'm' && clearing) return false;
            }
        }
    }
    return true;
}

class RegexMatcher final : public TextMatcher {
public:
    RegexMatcher(std::string_view pattern, bool utf8, bool matchCase, bool wholeWord)
        : utf8_(utf8), wholeWord_(wholeWord) {
        RE2::Options options;
        options.set_encoding(utf8 ? RE2::Options::EncodingUTF8 : RE2::Options::EncodingLatin1);
        options.set_case_sensitive(matchCase);
        options.set_log_errors(false);
        // The user's pattern alone first, so that an error speaks of it and
        // not of the wrapping below.
        const std::string own(pattern);
        Compile(own, options);
        bounded_ = LongestMatchBound(own) + 2 <= kPathLookBehind;  // 2: the bytes around a whole word
        noSpace_ = MatchesNoSpace(own);
        const std::string group = Grouped(own, options);
        const std::string word = wholeWord ? std::string(kWordBefore) : std::string();
        const std::string wordEnd = wholeWord ? "(?:$|" + std::string(kWordAfter) + ")" : std::string();
        const std::string anywhere = word + group + wordEnd;
        anywhere_ = Compile(anywhere, options);

        // `.*` then the pattern, anchored at the start, longest match: the
        // match found ends where the furthest match of the pattern ends.
        RE2::Options longest = options;
        longest.set_longest_match(true);
        furthestEnd_ = Compile("(?s:.*)" + anywhere, longest);
        if (wholeWord) atTextEnd_ = Compile("(?s:.*)" + word + group + "$", options);

        // Literals in every match pick the few strings worth a search of
        // their own; without them, a batch is searched in one pass.
        prefilter_ = AtomPrefilter::For(own, *anywhere_);
        // A pattern of literals alone needs no RE2 for names, values and lines.
        if (!wholeWord) literals_ = LiteralSet::For(own, utf8, matchCase);
        if (!prefilter_ && !literals_ && SameOverBatch(own)) {
            // Multi-line, so "^" and "$" hold at each string's ends; no match
            // may take a line feed, so none spans two strings.
            RE2::Options lines = options;
            lines.set_never_nl(true);
            batchAnywhere_ = Compile("(?m)" + anywhere, lines);
            // A match with no space after it in the path may end inside the
            // last name (names hold no spaces); EndsInLastName decides.
            batchPathCandidate_ = Compile("(?m)" + anywhere + "[^ ]*$", lines);
        }
    }

    bool Contains(std::string_view text) const override { return Passes(text); }

    bool ContainsInLine(std::string_view line) const override {
        if (literals_) return literals_->ContainsInLine(line);
        if (prefilter_ && !prefilter_->MayMatchLine(line)) return false;
        return Passes(prov::LineName(line)) || Passes(prov::LineValue(line));
    }

    bool EndsInLastName(std::string_view path, std::size_t nameStart, bool cut) const override {
        // A match without spaces that ends inside a name after a space begins
        // inside it (a whole word's takes the space too): the path before is
        // no more than context.
        if (noSpace_ && nameStart >= 2 && path[nameStart - 1] == ' ') {
            path.remove_prefix(nameStart - 2);
            nameStart = 2;
            cut = true;
        }
        if (prefilter_ && !prefilter_->MayMatch(path)) return false;
        const re2::StringPiece text = Piece(path);
        std::size_t from = cut ? 1 : 0;
        // UTF-8 text is searched from where a character begins, or `.*`
        // could not pass the cut.
        while (utf8_ && from < nameStart && (static_cast<unsigned char>(path[from]) & 0xC0) == 0x80) ++from;
        re2::StringPiece match;
        if (!furthestEnd_->Match(text, from, text.size(), RE2::ANCHOR_START, &match, 1)) return false;
        const auto end = static_cast<std::size_t>(match.data() + match.size() - text.data());
        if (!wholeWord_) return end > nameStart;
        // A whole word's match also took the byte after it, unless the word
        // ends the path. Only a one-byte name leaves the two cases apart.
        if (end != nameStart + 1) return end > nameStart + 1;
        return end == text.size() && atTextEnd_->Match(text, from, text.size(), RE2::ANCHOR_START, nullptr, 0);
    }

    std::size_t PathLookBehind() const override { return kPathLookBehind; }

    // Path pieces hold no spaces: a match without them never reaches back
    // past the last one.
    bool MatchesMayOutreachLookBehind() const override { return !bounded_ && !noSpace_; }

    bool NameHoldsPathMatches() const override { return noSpace_; }

    bool PrefersBatches() const override { return batchAnywhere_ != nullptr; }

    void MarkContaining(std::span<const BatchText> texts, std::vector<char>& matched) const override {
        if (!batchAnywhere_) return TextMatcher::MarkContaining(texts, matched);
        TextBatch batch;
        std::vector<std::size_t> owners;  // by string of the batch: its text
        for (std::size_t i = 0; i < texts.size(); ++i) {
            if (texts[i].isLine) {
                batch.AddNameAndValue(texts[i].text);
                owners.push_back(i);
            } else {
                batch.Add(texts[i].text);
            }
            owners.push_back(i);
        }
        ForEachStringMatching(*batchAnywhere_, batch, [&](std::size_t string) { matched[owners[string]] = 1; });
    }

    void MarkPathEnds(const PathBatch& batch, std::vector<char>& matched) const override {
        if (!batchPathCandidate_) return TextMatcher::MarkPathEnds(batch, matched);
        ForEachStringMatching(*batchPathCandidate_, batch.paths, [&](std::size_t i) {
            if (EndsInLastName(batch.paths.String(i), batch.nameStarts[i], batch.cut[i])) matched[i] = 1;
        });
    }

private:
    static re2::StringPiece Piece(std::string_view text) { return {text.data(), text.size()}; }

    bool Passes(std::string_view text) const {
        if (literals_) return literals_->Contains(text);
        if (prefilter_ && !prefilter_->MayMatch(text)) return false;
        return anywhere_->Match(Piece(text), 0, text.size(), RE2::UNANCHORED, nullptr, 0);
    }

    // Calls `onString` with each string of the batch that holds a match, in
    // order: one search finds the next such string, however many lie between.
    template <class OnString>
    static void ForEachStringMatching(const RE2& re, const TextBatch& batch, OnString onString) {
        const re2::StringPiece text = Piece(batch.Text());
        std::size_t from = 0;
        for (std::size_t string = 0; string < batch.Size();) {
            re2::StringPiece match;
            if (!re.Match(text, from, text.size(), RE2::UNANCHORED, &match, 1)) return;
            string = batch.StringAt(static_cast<std::size_t>(match.data() - text.data()), string);
            if (string == batch.Size()) return;  // an empty match after the last separator
            onString(string);
            if (++string < batch.Size()) from = batch.Begin(string);
        }
    }

    // The pattern as one group. An unterminated \Q...\E quote would swallow
    // the closing parenthesis, so it is closed first.
    static std::string Grouped(const std::string& pattern, const RE2::Options& options) {
        std::string group = "(?:" + pattern + ")";
        if (RE2(group, options).ok()) return group;
        return "(?:" + pattern + "\\E)";
    }

    bool utf8_;
    bool wholeWord_;
    bool bounded_ = false;  // no match is longer than the path look-behind
    bool noSpace_ = false;  // no match holds a space
    std::unique_ptr<RE2> anywhere_;
    std::unique_ptr<RE2> furthestEnd_;
    std::unique_ptr<RE2> atTextEnd_;  // whole-word mode: a word that ends the path
    std::unique_ptr<AtomPrefilter> prefilter_;
    std::unique_ptr<LiteralSet> literals_;
    // Without a prefilter: null when the pattern must see each string alone.
    std::unique_ptr<RE2> batchAnywhere_;
    std::unique_ptr<RE2> batchPathCandidate_;
};

}  // namespace

std::unique_ptr<TextMatcher> MakeRegexMatcher(std::string_view pattern, bool utf8, bool matchCase, bool wholeWord) {
    return std::make_unique<RegexMatcher>(pattern, utf8, matchCase, wholeWord);
}

}  // namespace oryx::search
