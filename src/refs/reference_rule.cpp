#include "refs/reference_rule.h"

#include <algorithm>

#include "text/ascii_case.h"
#include "text/hidden_name.h"

namespace oryx::refs {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

// A component's type: the text before its "/", or the whole name.
std::string_view TypeOf(std::string_view name) { return name.substr(0, name.find('/')); }

// TYPE or TYPE/INSTANCE: TYPE an ASCII letter followed by ASCII letters or
// digits, INSTANCE one or more bytes other than a space.
struct PieceShape {
    bool valid = false;
    bool hasInstance = false;
};

PieceShape ShapeOf(std::string_view piece) {
    const std::string_view type = TypeOf(piece);
    if (type.empty() || !IsAsciiLetter(type.front())) return {};
    for (const char c : type)
        if (!IsAsciiLetter(c) && !IsAsciiDigit(c)) return {};
    if (type.size() == piece.size()) return {true, false};
    return {piece.size() > type.size() + 1, true};
}

const prov::ComponentNode* ShownChild(const prov::ComponentNode* parent, std::string_view piece) {
    const prov::ComponentNode* child = prov::GetChild(parent, piece);
    return child && !text::IsHiddenName(child->Name()) ? child : nullptr;
}

}  // namespace

std::string_view ReferenceValue(std::string_view line) {
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return {};
    std::string_view value = line.substr(eq + 1);
    while (!value.empty() && IsBlank(value.front())) value.remove_prefix(1);
    while (!value.empty() && IsBlank(value.back())) value.remove_suffix(1);
    return value;
}

ReferenceResolver::ReferenceResolver(const prov::ComponentStore& store) : addNode_(store.AddNode()) {
    if (!addNode_) return;
    for (const prov::ComponentNode* top : addNode_->Children())
        if (!text::IsHiddenName(top->Name())) topTypes_.push_back(text::AsciiLowered(TypeOf(top->Name())));
    std::sort(topTypes_.begin(), topTypes_.end());
    topTypes_.erase(std::unique(topTypes_.begin(), topTypes_.end()), topTypes_.end());
}

bool ReferenceResolver::IsTopLevelType(std::string_view type) const {
    const auto below = [](const std::string& known, std::string_view wanted) {
        const std::size_t n = std::min(known.size(), wanted.size());
        for (std::size_t i = 0; i < n; ++i) {
            const char a = known[i], b = text::AsciiLower(wanted[i]);
            if (a != b) return a < b;
        }
        return known.size() < wanted.size();
    };
    const auto it = std::lower_bound(topTypes_.begin(), topTypes_.end(), type, below);
    return it != topTypes_.end() && text::EqualIgnoringAsciiCase(*it, type);
}

Resolution ReferenceResolver::ResolveLine(std::string_view line) const {
    if (text::IsHiddenName(line)) return {};
    return ResolveValue(ReferenceValue(line));
}

Resolution ReferenceResolver::ResolveValue(std::string_view value) const {
    // Every kind of reference holds a "/": an exact one by the rule, the
    // others as a piece with an instance.
    if (!addNode_ || value.find('/') == std::string_view::npos) return {};
    // One pass over the pieces: the walk down the tree as far as they name
    // components, and the shape of a path.
    const prov::ComponentNode* named = addNode_;
    std::size_t namedPieces = 0, namedEnd = 0;  // pieces named, and the end of the last one
    bool walking = true, shaped = true, hasInstance = false;
    std::string_view first;
    std::size_t start = 0;
    for (std::size_t pieces = 0;; ++pieces) {
        const std::size_t space = value.find(' ', start);
        const std::size_t end = space == std::string_view::npos ? value.size() : space;
        const std::string_view piece = value.substr(start, end - start);
        if (pieces == 0) first = piece;
        if (walking) {
            if (const prov::ComponentNode* child = ShownChild(named, piece)) {
                named = child;
                ++namedPieces;
                namedEnd = end;
            } else {
                walking = false;
            }
        }
        if (shaped) {
            const PieceShape shape = ShapeOf(piece);
            shaped = shape.valid;
            hasInstance = hasInstance || shape.hasInstance;
        }
        if (!walking && !shaped) return {};
        if (space == std::string_view::npos) break;
        start = space + 1;
    }
    if (walking) return {ReferenceKind::Exact, named, {}};
    if (!shaped || !hasInstance || value.back() == '!') return {};
    if (namedPieces > 0) return {ReferenceKind::Partial, named, value.substr(namedEnd + 1)};
    if (IsTopLevelType(TypeOf(first))) return {ReferenceKind::Dangling, nullptr, first};
    return {};
}

}  // namespace oryx::refs
