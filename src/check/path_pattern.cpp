#include "check/path_pattern.h"

#include <algorithm>

#include "prov/component_store.h"
#include "text/ascii_case.h"
#include "text/hidden_name.h"

namespace oryx::check {

namespace {

// Glob match with * and ?, ASCII letter case ignored. Backs up only to the
// last star, so it costs at most pattern length times name length.
bool GlobMatches(std::string_view glob, std::string_view name) {
    std::size_t g = 0, n = 0;
    std::size_t starG = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (g < glob.size() && glob[g] == '*') {
            starG = g++;
            starN = n;
        } else if (g < glob.size() && (glob[g] == '?' || text::AsciiLower(glob[g]) == text::AsciiLower(name[n]))) {
            ++g;
            ++n;
        } else if (starG != std::string_view::npos) {
            g = starG + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (g < glob.size() && glob[g] == '*') ++g;
    return g == glob.size();
}

// The states of one pattern: which numbers of pieces have been matched so
// far, closed over "**" matching nothing.
void Close(const PathPattern& pattern, char* states) {
    if (!pattern.HasAnyPieces()) return;
    for (std::size_t i = 0; i < pattern.PieceCount(); ++i)
        if (states[i] && pattern.IsAnyPieces(i)) states[i + 1] = 1;
}

// The states after one more name; true when any state is left. The byte
// after the states tells whether any is left, so that a pattern that can no
// longer match costs nothing below.
bool Advance(const PathPattern& pattern, const char* from, char* to, std::string_view name) {
    const std::size_t count = pattern.PieceCount();
    if (!from[count + 1]) {
        to[count] = to[count + 1] = 0;
        return false;
    }
    for (std::size_t i = 0; i <= count; ++i) to[i] = 0;
    bool any = false;
    for (std::size_t i = 0; i < count; ++i) {
        if (!from[i]) continue;
        if (pattern.IsAnyPieces(i)) {
            to[i] = 1;
            any = true;
        } else if (pattern.PieceMatches(i, name)) {
            to[i + 1] = 1;
            any = true;
        }
    }
    Close(pattern, to);
    to[count + 1] = any ? 1 : 0;
    return any;
}

}  // namespace

PathPattern::PathPattern(std::string_view text) : text_(text) {
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t space = text.find(' ', start);
        const std::size_t end = space == std::string_view::npos ? text.size() : space;
        if (end > start) pieces_.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    if (pieces_.empty()) throw PathPatternError{"a path pattern needs at least one piece"};
    for (const std::string& piece : pieces_) anyPieces_.push_back(piece == "**");
    hasAnyPieces_ = std::find(anyPieces_.begin(), anyPieces_.end(), 1) != anyPieces_.end();
}

bool PathPattern::PieceMatches(std::size_t i, std::string_view name) const { return GlobMatches(pieces_[i], name); }

bool PathPattern::Matches(std::span<const std::string_view> names) const {
    std::vector<char> states(pieces_.size() + 2, 0), next(pieces_.size() + 2, 0);
    states[0] = states[pieces_.size() + 1] = 1;
    Close(*this, states.data());
    for (std::string_view name : names) {
        if (!Advance(*this, states.data(), next.data(), name)) return false;
        states.swap(next);
    }
    return states[pieces_.size()] != 0;
}

void WalkMatches(const prov::ComponentStore& store, std::span<const PathPattern* const> patterns,
                 const PatternVisit& visit) {
    if (const prov::ComponentNode* add = store.AddNode()) WalkMatchesBelow(add->Children(), patterns, visit);
}

void WalkMatchesBelow(std::span<const prov::ComponentNode* const> tops, std::span<const PathPattern* const> patterns,
                      const PatternVisit& visit) {
    if (patterns.empty()) return;
    // Every pattern's states side by side: one row per level of the walk.
    std::vector<std::size_t> offsets;
    std::size_t width = 0;
    for (const PathPattern* pattern : patterns) {
        offsets.push_back(width);
        width += pattern->PieceCount() + 2;
    }
    std::vector<char> states(width, 0);
    for (std::size_t k = 0; k < patterns.size(); ++k) {
        states[offsets[k]] = states[offsets[k] + patterns[k]->PieceCount() + 1] = 1;
        Close(*patterns[k], states.data() + offsets[k]);
    }
    struct Level {
        std::span<const prov::ComponentNode* const> children;
        std::size_t next;  // the next child to visit
    };
    std::vector<Level> levels{{tops, 0}};
    std::vector<char> matched(patterns.size(), 0);
    while (!levels.empty()) {
        Level& level = levels.back();
        const auto children = level.children;
        if (level.next == children.size()) {
            levels.pop_back();
            states.resize(states.size() - width);
            continue;
        }
        const prov::ComponentNode& child = *children[level.next++];
        if (text::IsHiddenName(child.Name())) continue;
        const std::size_t from = states.size() - width;
        states.resize(states.size() + width);
        bool anyAlive = false;
        for (std::size_t k = 0; k < patterns.size(); ++k) {
            const std::size_t count = patterns[k]->PieceCount();
            // A pattern that can no longer match leaves its new states as
            // the resize made them: none.
            if (!states[from + offsets[k] + count + 1]) {
                matched[k] = 0;
                continue;
            }
            char* to = states.data() + from + width + offsets[k];
            anyAlive = Advance(*patterns[k], states.data() + from + offsets[k], to, child.Name()) || anyAlive;
            matched[k] = to[count];
        }
        if (!anyAlive) {
            states.resize(states.size() - width);
            continue;
        }
        visit(child, matched);
        levels.push_back({child.Children(), 0});
    }
}

}  // namespace oryx::check
