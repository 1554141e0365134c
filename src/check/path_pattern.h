#pragma once

#include <cstddef>
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
    std::size_t PieceCount() const { return pieces_.size(); }
    bool IsAnyPieces(std::size_t i) const { return anyPieces_[i]; }
    bool HasAnyPieces() const { return hasAnyPieces_; }
    bool PieceMatches(std::size_t i, std::string_view name) const;

    // Whether the whole path (names from the top down) matches.
    bool Matches(std::span<const std::string_view> names) const;

private:
    std::string text_;
    std::vector<std::string> pieces_;
    std::vector<char> anyPieces_;  // the pieces that are "**" (not vector<bool>: read per component)
    bool hasAnyPieces_ = false;
};

struct PathPatternError {
    std::string message;
};

// Walks the components the tree shows (below the add node, hidden names and
// what is below them left out), parents before children, and calls
// visit(node, matched) where matched[k] tells whether `patterns[k]` matches
// the component's path. Only the branches where some pattern can still match
// are walked. Each component costs each pattern at most its piece count in
// piece matches, so a "**" over a deep file stays linear; the walk needs no
// recursion.
using PatternVisit = std::function<void(const prov::ComponentNode& node, const std::vector<char>& matched)>;
void WalkMatches(const prov::ComponentStore& store, std::span<const PathPattern* const> patterns,
                 const PatternVisit& visit);
// The same walk over some of the shown top-level components, `tops`, and
// what the tree shows below them.
void WalkMatchesBelow(std::span<const prov::ComponentNode* const> tops, std::span<const PathPattern* const> patterns,
                      const PatternVisit& visit);

}  // namespace oryx::check
