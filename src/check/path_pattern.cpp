#include "check/path_pattern.h"

#include <bit>
#include <map>

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

using Word = std::uint64_t;
constexpr std::size_t kWordBits = 64;

// Sets bit i + 1 of a row of states wherever bit i is set and piece i is
// "**": none matched more. Runs of "**" are one piece, so a bit set here is
// never one to carry on; and nothing moves past a pattern's last bit, the
// whole pattern matched.
void Close(const Word* anyPieces, Word* row, std::size_t width) {
    Word carry = 0;
    for (std::size_t w = 0; w < width; ++w) {
        const Word seeds = row[w] & anyPieces[w];
        row[w] |= (seeds << 1) | carry;
        carry = seeds >> (kWordBits - 1);
    }
}

}  // namespace

PathPattern::PathPattern(std::string_view text) : text_(text) {
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t space = text.find(' ', start);
        const std::size_t end = space == std::string_view::npos ? text.size() : space;
        const std::string_view piece = text.substr(start, end - start);
        if (!piece.empty() && !(piece == "**" && !pieces_.empty() && pieces_.back() == "**"))
            pieces_.emplace_back(piece);
        start = end + 1;
    }
    if (pieces_.empty()) throw PathPatternError{"a path pattern needs at least one piece"};
    for (const std::string& piece : pieces_) anyPieces_.push_back(piece == "**");
}

bool PathPattern::PieceMatches(std::size_t i, std::string_view name) const { return GlobMatches(pieces_[i], name); }

// One distinct pattern: its states are the bits of a level's row from
// `offset` to `offset + pieces`, bit i of them set when the first i pieces
// have matched the names so far. The patterns lie side by side in the row,
// across words where they must.
struct PatternWalk::Compiled {
    const PathPattern* pattern;
    std::size_t offset;
    std::size_t pieces;
};

PatternWalk::PatternWalk(std::span<const PathPattern* const> patterns) {
    std::map<std::vector<std::string>, std::size_t> seen;
    std::size_t bits = 0;
    for (const PathPattern* pattern : patterns) {
        const auto [at, added] = seen.try_emplace(pattern->Pieces(), compiled_.size());
        distinct_.push_back(at->second);
        if (!added) continue;
        const std::size_t pieces = pattern->Pieces().size();
        compiled_.push_back({pattern, bits, pieces});
        bits += pieces + 1;
    }
    width_ = (bits + kWordBits - 1) / kWordBits;
    anyPieces_.assign(width_, 0);
    plainPieces_.assign(width_, 0);
    ends_.assign(width_, 0);
    owner_.resize(bits);
    const auto set = [](std::vector<Word>& row, std::size_t bit) {
        row[bit / kWordBits] |= Word{1} << (bit % kWordBits);
    };
    for (std::size_t u = 0; u < compiled_.size(); ++u) {
        const Compiled& c = compiled_[u];
        for (std::size_t i = 0; i < c.pieces; ++i) {
            set(c.pattern->IsAnyPieces(i) ? anyPieces_ : plainPieces_, c.offset + i);
            owner_[c.offset + i] = u;
        }
        set(ends_, c.offset + c.pieces);
    }
    matched_.resize(patterns.size());
    distinctMatched_.resize(compiled_.size());
}

PatternWalk::~PatternWalk() = default;

void PatternWalk::Below(std::span<const prov::ComponentNode* const> tops, bool everyComponent,
                        const PatternVisit& visit) {
    if (compiled_.empty() && !everyComponent) return;
    // The first row: no piece matched yet.
    states_.assign(width_, 0);
    for (const Compiled& c : compiled_) states_[c.offset / kWordBits] |= Word{1} << (c.offset % kWordBits);
    Close(anyPieces_.data(), states_.data(), width_);
    levels_.assign(1, {tops, 0});
    while (!levels_.empty()) {
        Level& level = levels_.back();
        if (level.next == level.children.size()) {
            levels_.pop_back();
            continue;
        }
        const prov::ComponentNode& child = *level.children[level.next++];
        if (text::IsHiddenName(child.Name())) continue;
        const std::size_t depth = levels_.size() - 1;
        if (states_.size() < (depth + 2) * width_) states_.resize((depth + 2) * width_);
        const Word* from = states_.data() + depth * width_;
        Word* to = states_.data() + (depth + 1) * width_;
        // A "**" keeps its state; a plain piece that matches the name moves
        // its state on by one. Word by word, what moves on past a word's end
        // carried to the next one. A pattern that can no longer match has no
        // state left, and costs little.
        Word alive = 0, ends = 0, carried = 0;
        for (std::size_t w = 0; w < width_; ++w) {
            Word row = (from[w] & anyPieces_[w]) | carried;
            carried = 0;
            for (Word plain = from[w] & plainPieces_[w]; plain != 0; plain &= plain - 1) {
                const int bit = std::countr_zero(plain);
                const std::size_t at = w * kWordBits + static_cast<std::size_t>(bit);
                const Compiled& c = compiled_[owner_[at]];
                if (!c.pattern->PieceMatches(at - c.offset, child.Name())) continue;
                if (bit + 1 < static_cast<int>(kWordBits))
                    row |= Word{2} << bit;
                else
                    carried = 1;
            }
            // What a "**" matching nothing adds.
            const Word seeds = row & anyPieces_[w];
            row |= seeds << 1;
            carried |= seeds >> (kWordBits - 1);
            to[w] = row;
            alive |= row;
            ends |= row & ends_[w];
        }
        if (!alive && !everyComponent) continue;
        if (ends == 0) {
            visit(child, {});
        } else {
            for (std::size_t u = 0; u < compiled_.size(); ++u) {
                const std::size_t end = compiled_[u].offset + compiled_[u].pieces;
                distinctMatched_[u] = static_cast<char>(to[end / kWordBits] >> (end % kWordBits) & 1);
            }
            for (std::size_t k = 0; k < matched_.size(); ++k) matched_[k] = distinctMatched_[distinct_[k]];
            visit(child, matched_);
        }
        levels_.push_back({child.Children(), 0});
    }
}

}  // namespace oryx::check
