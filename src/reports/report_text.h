#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace oryx::reports {

// Text tests of the reports. Case folding touches the ASCII letters alone, as
// every comparison of the reports does; other bytes compare as they are.

// `text` upper-cased contains `upperWord`.
bool ContainsUpper(std::string_view text, std::string_view upperWord);
// `text` lower-cased contains `lowerWord`.
bool ContainsLower(std::string_view text, std::string_view lowerWord);
// `text` lower-cased begins with `lowerWord`.
bool StartsWithLower(std::string_view text, std::string_view lowerWord);

// ContainsLower for one word searched in many texts: the word is prepared
// once, and a search skips ahead by the Horspool rule instead of trying every
// position, which matters on the long attribute lines of a large node.
class LowerWordFinder final {
public:
    explicit LowerWordFinder(std::string_view lowerWord);
    // `text` lower-cased contains the word.
    bool FoundIn(std::string_view text) const;
    const std::string& Word() const { return word_; }

private:
    std::string word_;
    std::array<std::uint8_t, 256> shift_{};
};

// `text` without its first `count` characters (empty when it is shorter).
inline std::string_view DropFront(std::string_view text, std::size_t count) {
    return count >= text.size() ? std::string_view() : text.substr(count);
}

// The text after the first occurrence of `marker`; empty when none.
inline std::string_view TextAfterFirst(std::string_view text, char marker) {
    const std::size_t at = text.find(marker);
    return at == std::string_view::npos ? std::string_view() : text.substr(at + 1);
}

}  // namespace oryx::reports
