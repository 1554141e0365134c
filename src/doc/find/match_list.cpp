#include "doc/find/match_list.h"

#include <algorithm>

namespace oryx::doc {

void MatchList::Clear() {
    std::vector<FoundMatch>().swap(matches_);
    current_ = kNone;
    resume_ = 0;
}

void MatchList::Append(const std::vector<FoundMatch>& matches, const std::function<bool(const FoundMatch&)>& gone) {
    for (const FoundMatch& match : matches)
        if (!gone(match)) matches_.push_back(match);
}

void MatchList::Drop(const std::function<bool(const FoundMatch&)>& gone) {
    const std::size_t anchor = current_ != kNone ? current_ : resume_;
    std::size_t kept = 0, keptBeforeAnchor = 0;
    bool anchorKept = false;
    for (std::size_t i = 0; i < matches_.size(); ++i) {
        if (gone(matches_[i])) continue;
        if (i < anchor) ++keptBeforeAnchor;
        if (i == anchor) anchorKept = true;
        matches_[kept++] = matches_[i];
    }
    matches_.resize(kept);
    if (current_ != kNone && anchorKept) {
        current_ = keptBeforeAnchor;
    } else {
        current_ = kNone;
        resume_ = keptBeforeAnchor;
    }
}

void MatchList::MoveTo(std::size_t index) {
    if (index == kNone && current_ != kNone) resume_ = current_ + 1;
    current_ = index;
}

MatchList::Step MatchList::Next(bool complete) {
    if (matches_.empty()) return complete ? Step::Nowhere : Step::Waiting;
    const std::size_t next = current_ == kNone ? resume_ : current_ + 1;
    if (next < matches_.size()) {
        current_ = next;
        return Step::Moved;
    }
    if (!complete) return Step::Waiting;
    current_ = 0;
    return Step::Wrapped;
}

MatchList::Step MatchList::Previous(bool complete) {
    if (matches_.empty()) return complete ? Step::Nowhere : Step::Waiting;
    const std::size_t at = current_ == kNone ? resume_ : current_;
    if (at > 0) {
        current_ = std::min(at, matches_.size()) - 1;
        return Step::Moved;
    }
    if (!complete) return Step::Waiting;
    current_ = matches_.size() - 1;
    return Step::Wrapped;
}

std::size_t MatchList::FirstOf(const prov::ComponentNode* node) const {
    const auto found =
        std::find_if(matches_.begin(), matches_.end(), [node](const FoundMatch& match) { return match.node == node; });
    return found == matches_.end() ? kNone : static_cast<std::size_t>(found - matches_.begin());
}

std::vector<const prov::ComponentNode*> MatchList::Components() const {
    std::vector<const prov::ComponentNode*> components;
    for (const FoundMatch& match : matches_)
        if (components.empty() || components.back() != match.node) components.push_back(match.node);
    return components;
}

}  // namespace oryx::doc
