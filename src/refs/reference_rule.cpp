#include "refs/reference_rule.h"

#include <algorithm>
#include <array>

#include "prov/collation.h"
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

// The position among the parent's children of the shown child the piece
// names, as prov::GetChild finds it; -1 when there is none.
std::ptrdiff_t ShownChild(const prov::ComponentNode* parent, std::string_view piece) {
    const auto children = parent->Children();
    const auto it = std::lower_bound(
        children.begin(), children.end(), piece,
        [](const prov::ComponentNode* child, std::string_view n) { return prov::CompareNames(child->Name(), n) < 0; });
    if (it == children.end() || !prov::SameName((*it)->Name(), piece) || text::IsHiddenName((*it)->Name())) return -1;
    return it - children.begin();
}

}  // namespace

// The positions among the add node's children of the pieces last looked up
// there, by their bytes: a node names the same top-level components over and
// over. A piece that misses is looked up again, so colliding pieces cost no
// more than a lookup each.
struct ReferenceResolver::TopLevelCache {
    struct Entry {
        std::array<char, 24> bytes{};
        std::uint8_t size = 0;
        bool used = false;
        std::ptrdiff_t position = -1;
    };
    static constexpr std::size_t kSize = 4096;
    std::array<Entry, kSize> entries;

    Entry* Slot(std::string_view piece) {
        if (piece.size() > Entry{}.bytes.size()) return nullptr;
        std::uint64_t hash = 1469598103934665603ULL;
        for (const char c : piece) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
        return &entries[(hash ^ (hash >> 31)) & (kSize - 1)];
    }
};

ReferenceResolver::~ReferenceResolver() = default;

std::ptrdiff_t ReferenceResolver::TopLevelChild(std::string_view piece) const {
    TopLevelCache::Entry* entry = topCache_->Slot(piece);
    if (entry && entry->used && std::string_view(entry->bytes.data(), entry->size) == piece) return entry->position;
    const std::ptrdiff_t position = ShownChild(addNode_, piece);
    if (entry) {
        std::copy(piece.begin(), piece.end(), entry->bytes.begin());
        entry->size = static_cast<std::uint8_t>(piece.size());
        entry->used = true;
        entry->position = position;
    }
    return position;
}

std::string_view ReferenceValue(std::string_view line) {
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return {};
    std::string_view value = line.substr(eq + 1);
    while (!value.empty() && IsBlank(value.front())) value.remove_prefix(1);
    while (!value.empty() && IsBlank(value.back())) value.remove_suffix(1);
    return value;
}

ReferenceResolver::ReferenceResolver(const prov::ComponentStore& store)
    : addNode_(store.AddNode()), topCache_(std::make_unique<TopLevelCache>()) {
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
    if (text::IsHiddenName(line) || line.find('/') == std::string_view::npos) return {};
    return ResolveValue(ReferenceValue(line));
}

Resolution ReferenceResolver::ResolveValue(std::string_view value, const TreeNumbers* numbers) const {
    // Every kind of reference holds a "/": an exact one by the rule, the
    // others as a piece with an instance.
    if (!addNode_ || value.find('/') == std::string_view::npos) return {};
    // One pass over the pieces: the walk down the tree as far as they name
    // components, and the shape of a path.
    const prov::ComponentNode* named = addNode_;
    std::uint32_t childBlock = 0;  // where the children of `named` begin in numbers->childNumbers
    ComponentNumber number = kNoComponent;
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
            const std::ptrdiff_t at = pieces == 0 ? TopLevelChild(piece) : ShownChild(named, piece);
            if (at >= 0) {
                named = named->Children()[static_cast<std::size_t>(at)];
                if (numbers) {
                    number = numbers->childNumbers[childBlock + static_cast<std::size_t>(at)];
                    childBlock = numbers->firstChild[number];
                }
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
    if (walking) return {ReferenceKind::Exact, named, {}, number};
    if (!shaped || !hasInstance || value.back() == '!') return {};
    if (namedPieces > 0) return {ReferenceKind::Partial, named, value.substr(namedEnd + 1), number};
    if (IsTopLevelType(TypeOf(first))) return {ReferenceKind::Dangling, nullptr, first};
    return {};
}

}  // namespace oryx::refs
