#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace oryx::prov {
class ComponentNode;
class ComponentStore;
}  // namespace oryx::prov

namespace oryx::check {

// A pattern over component paths: pieces separated by spaces, each a glob
// (* any bytes, ? one byte, ASCII letter case ignored) matched against one
// component name, and "**" standing for any number of pieces, none
// included. "AtmIf/* Vcc/* Vcd", "** Nrp".
class PathPattern final {
public:
    // Throws PathPatternError for an empty pattern.
    explicit PathPattern(std::string_view text);

    const std::string& Text() const { return text_; }
    // The pieces, with a run of "**" kept as one: it matches what the run does.
    const std::vector<std::string>& Pieces() const { return pieces_; }
    bool IsAnyPieces(std::size_t i) const { return anyPieces_[i]; }
    bool PieceMatches(std::size_t i, std::string_view name) const;

private:
    std::string text_;
    std::vector<std::string> pieces_;
    std::vector<char> anyPieces_;  // the pieces that are "**"
};

struct PathPatternError {
    std::string message;
};

// Walks the components the tree shows (below the add node, hidden names and
// what is below them left out), parents before children, and calls
// visit(node, matched) where matched[k] tells whether `patterns[k]` matches
// the component's path, or where `matched` is empty when none does. Only the
// branches where some pattern can still match are walked, unless every
// component is asked for. Each component costs each pattern at most its piece
// count in piece matches, so a "**" over a deep file stays linear; the walk
// needs no recursion. One walk serves one thread.
using PatternVisit = std::function<void(const prov::ComponentNode& node, std::span<const char> matched)>;
class PatternWalk final {
public:
    explicit PatternWalk(std::span<const PathPattern* const> patterns);
    ~PatternWalk();
    PatternWalk(const PatternWalk&) = delete;
    PatternWalk& operator=(const PatternWalk&) = delete;

    // The walk over some of the shown top-level components, `tops`, and what
    // the tree shows below them; with `everyComponent`, every one of them is
    // visited, whether a pattern can match there or not.
    void Below(std::span<const prov::ComponentNode* const> tops, bool everyComponent, const PatternVisit& visit);

private:
    struct Compiled;
    struct Level {
        std::span<const prov::ComponentNode* const> children;
        std::size_t next;  // the next child to visit
    };
    std::vector<Compiled> compiled_;     // each distinct pattern once
    std::vector<std::size_t> distinct_;  // patterns[k] is compiled_[distinct_[k]]
    std::size_t width_ = 0;              // the words of one level's row of states
    // Laid out as a row: the pieces that are "**", the others, and the bits
    // that say a whole pattern matched; and whose bit each piece's is.
    std::vector<std::uint64_t> anyPieces_, plainPieces_, ends_;
    std::vector<std::size_t> owner_;
    std::vector<std::uint64_t> states_;  // one row per level of the walk
    std::vector<Level> levels_;
    std::vector<char> matched_, distinctMatched_;
};

}  // namespace oryx::check
