#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace oryx::search {

// One string of a batch to match: a name or a value, or a whole "name=value"
// line that matches when the text before its first "=" or the text after it
// does (never across the "=").
struct BatchText {
    std::string_view text;
    bool isLine = false;
};

// Strings copied into one buffer, each followed by a line feed. No string of
// a file holds a line feed (lines end there), so a pattern that cannot match
// one never runs from one string into the next, and a whole batch is searched
// in one pass instead of one call per string.
class TextBatch final {
public:
    void Clear();
    std::size_t Size() const { return ends_.size(); }
    // Every string, each followed by "\n".
    std::string_view Text() const { return text_; }
    std::size_t Begin(std::size_t i) const { return i == 0 ? 0 : ends_[i - 1] + 1; }
    std::size_t End(std::size_t i) const { return ends_[i]; }
    std::string_view String(std::size_t i) const { return std::string_view(text_).substr(Begin(i), End(i) - Begin(i)); }
    // The string holding position `at` (a string's end counts as its own),
    // looked for from string `from` on; Size() past the last one.
    std::size_t StringAt(std::size_t at, std::size_t from) const;

    std::size_t Add(std::string_view text);
    // A line as two strings, the text before its first "=" and the text after
    // it; the first index is returned.
    std::size_t AddNameAndValue(std::string_view line);

private:
    std::string text_;
    std::vector<std::size_t> ends_;
};

// The part of a path before its last name that a look-behind needs: at most
// `lookBehind` bytes and one more as context, or the whole path.
struct PathTail {
    std::string_view text;
    std::size_t nameStart;  // in text
    bool cut;               // text[0] is context only, not the path's start
};
PathTail CutPath(std::string_view path, std::size_t nameStart, std::size_t lookBehind);

// Paths to match, each cut to what the matcher needs before the component's
// own name (see TextMatcher::PathLookBehind).
struct PathBatch {
    TextBatch paths;
    // Per path: where the own name begins, and whether the path was cut, so
    // that its first byte is only context (it is not where the path begins).
    std::vector<std::size_t> nameStarts;
    std::vector<bool> cut;

    void Clear();
    std::size_t Size() const { return paths.Size(); }
    // Adds the tail of `path` the look-behind needs, or all of it.
    std::size_t Add(std::string_view path, std::size_t nameStart, std::size_t lookBehind);
};

}  // namespace oryx::search
