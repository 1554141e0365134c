#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "doc/find/found_match.h"

namespace oryx::doc {

// The matches of one search in tree order, as they arrive, and the one the
// user is at. Moving past either end wraps around, but only once every match
// is known: until then the move waits for more matches.
class MatchList final {
public:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    enum class Step {
        Moved,
        Wrapped,  // moved, around the end
        Waiting,  // the match to go to is not found yet
        Nowhere,  // there is no match at all
    };

    void Clear();
    // Adds matches that follow those held; those `gone` says are left out.
    void Append(const std::vector<FoundMatch>& matches, const std::function<bool(const FoundMatch&)>& gone);
    // Drops the matches `gone` says; the position stays between the matches
    // around a dropped current one.
    void Drop(const std::function<bool(const FoundMatch&)>& gone);

    std::size_t Size() const { return matches_.size(); }
    const FoundMatch& At(std::size_t index) const { return matches_[index]; }
    // The match the user is at; kNone when at none.
    std::size_t Current() const { return current_; }
    // Makes `index` the current match; kNone leaves the current one, so that
    // Next goes on after it.
    void MoveTo(std::size_t index);
    // `complete`: every match is known.
    Step Next(bool complete);
    Step Previous(bool complete);

    // The first match in `node`; kNone when it has none.
    std::size_t FirstOf(const prov::ComponentNode* node) const;
    // The components that have matches, each once, in tree order.
    std::vector<const prov::ComponentNode*> Components() const;

private:
    std::vector<FoundMatch> matches_;
    std::size_t current_ = kNone;
    // Without a current match: the match Next goes to (Previous to the one before).
    std::size_t resume_ = 0;
};

}  // namespace oryx::doc
