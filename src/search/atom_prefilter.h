#pragma once

#include <memory>
#include <string_view>
#include <vector>

namespace re2 {
class RE2;
}

namespace oryx::search {

class TextMatcher;

// Literal strings that every match of a pattern holds in some combination
// (RE2's FilteredRE2 finds them: "^(un)?locked$" needs "locked"). Finding
// literals is far cheaper than running the pattern, so strings without them
// are passed over.
class AtomPrefilter final {
public:
    // Null when the pattern has no usable literals (such as "\d+"), or when
    // a literal could be missed by ASCII case folding.
    static std::unique_ptr<AtomPrefilter> For(std::string_view pattern, const re2::RE2& compiled);
    ~AtomPrefilter();

    // False only when no match can lie in `text`.
    bool MayMatch(std::string_view text) const;

private:
    AtomPrefilter() = default;
    std::vector<std::unique_ptr<TextMatcher>> atoms_;
    // By the set of atoms found (bit i for atom i): whether a match may exist.
    std::vector<char> mayMatch_;
};

}  // namespace oryx::search
