#include "refs/reference_rule.h"

#include <algorithm>
#include <array>
#include <span>
#include <stdexcept>
#include <unordered_map>

#include "prov/collation.h"
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

// The position among the children of the shown child the piece names, as
// prov::GetChild finds it, given the first child that does not sort before
// the piece; -1 when there is none.
std::ptrdiff_t ShownAt(std::span<prov::ComponentNode* const> children,
                       std::span<prov::ComponentNode* const>::iterator it, std::string_view piece) {
    if (it == children.end() || !prov::SameName((*it)->Name(), piece) || text::IsHiddenName((*it)->Name())) return -1;
    return it - children.begin();
}

bool NameBefore(const prov::ComponentNode* child, std::string_view name) {
    return prov::CompareNames(child->Name(), name) < 0;
}

}  // namespace

// The last resolutions of whole values, by their bytes: most values of a node
// name one of a few components. The views of a kept resolution are kept as
// offsets into the value, and a value that misses is resolved again, so a
// file that makes values collide costs no more than one without the cache.
struct ReferenceResolver::ValueCache {
    struct Entry {
        static constexpr std::size_t kLongest = 40;
        std::array<char, kLongest> bytes{};
        std::uint8_t size = 0;
        bool used = false;
        ReferenceKind kind = ReferenceKind::None;
        std::uint8_t missingFrom = 0;
        std::uint8_t missingSize = 0;
        const TreeNumbers* numbers = nullptr;
        const prov::ComponentNode* target = nullptr;
        ComponentNumber number = kNoComponent;
    };
    static constexpr std::size_t kSize = 4096;
    std::array<Entry, kSize> entries;

    // Null for a value too long to keep.
    Entry* Slot(std::string_view value) {
        if (value.size() > Entry::kLongest) return nullptr;
        std::uint64_t hash = 1469598103934665603ULL;
        for (const char c : value) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
        return &entries[(hash ^ (hash >> 29)) & (kSize - 1)];
    }
    static bool Holds(const Entry& e, std::string_view value, const TreeNumbers* numbers) {
        return e.used && e.numbers == numbers && e.size == value.size() &&
               std::equal(value.begin(), value.end(), e.bytes.begin());
    }
    static Resolution Get(const Entry& e, std::string_view value) {
        return {e.kind, e.target, value.substr(e.missingFrom, e.missingSize), e.number};
    }
    static void Keep(Entry& e, std::string_view value, const TreeNumbers* numbers, const Resolution& r) {
        std::copy(value.begin(), value.end(), e.bytes.begin());
        e.size = static_cast<std::uint8_t>(value.size());
        e.used = true;
        e.kind = r.kind;
        // A view into the value, so within its 40 bytes.
        e.missingFrom = static_cast<std::uint8_t>(r.missing.empty() ? 0 : r.missing.data() - value.data());
        e.missingSize = static_cast<std::uint8_t>(r.missing.size());
        e.numbers = numbers;
        e.target = r.target;
        e.number = r.number;
    }
};

// The sort keys (prov::NameSortKey) of the children of the large families
// looked in, side by side: a search among them reads no child's name until
// the keys run out, where a search among the children reads one at each step.
// Each family's keys are made once, so they cost at most the store's names.
struct ReferenceResolver::FamilyKeys {
    static constexpr std::size_t kLarge = 8;
    std::unordered_map<const prov::ComponentNode*, std::vector<std::uint64_t>> keys;
};

ReferenceResolver::~ReferenceResolver() = default;

std::ptrdiff_t ReferenceResolver::ShownChild(const prov::ComponentNode* parent, std::string_view piece) const {
    const auto children = parent->Children();
    if (children.size() < FamilyKeys::kLarge)
        return ShownAt(children, std::lower_bound(children.begin(), children.end(), piece, NameBefore), piece);
    auto [family, made] = familyKeys_->keys.try_emplace(parent);
    std::vector<std::uint64_t>& keys = family->second;
    if (made) {
        keys.reserve(children.size());
        for (const prov::ComponentNode* child : children) keys.push_back(prov::NameSortKey(child->Name()));
    }
    // The children sort as their keys do, as far as the keys go: those
    // whose key is the piece's need their names compared.
    const std::uint64_t key = prov::NameSortKey(piece);
    const auto [from, to] = std::equal_range(keys.begin(), keys.end(), key);
    const auto first = children.begin() + (from - keys.begin());
    return ShownAt(children, std::lower_bound(first, first + (to - from), piece, NameBefore), piece);
}

ReferenceResolver::TopLevelPiece ReferenceResolver::TopLevel(std::string_view piece) const {
    TopLevelPiece found;
    if (!topTablesBuilt_) BuildTopTables();
    if (topNames_.empty()) return found;
    const auto children = addNode_->Children();
    const auto find = [&](const std::vector<TopSlot>& table, std::string_view wanted, auto nameOf) {
        const std::uint64_t hash = prov::HashName(wanted);
        const std::size_t mask = table.size() - 1;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            const TopSlot slot = table[i];
            if (slot.position == kFree) return kFree;
            if (slot.check == static_cast<std::uint32_t>(hash >> 32) &&
                prov::SameName(nameOf(children[slot.position]->Name()), wanted))
                return slot.position;
        }
    };
    const std::uint32_t named = find(topNames_, piece, [](std::string_view name) { return name; });
    // The first of the children with the name, as a search of the sorted
    // children finds it: a hidden one hides the name.
    if (named != kFree && !text::IsHiddenName(children[named]->Name())) found.position = named;
    // A piece that names a shown top-level component has its type.
    found.topType = found.position >= 0 || find(topTypes_, TypeOf(piece), TypeOf) != kFree;
    return found;
}

std::string_view ReferenceValue(std::string_view line) {
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return {};
    std::string_view value = line.substr(eq + 1);
    while (!value.empty() && IsBlank(value.front())) value.remove_prefix(1);
    while (!value.empty() && IsBlank(value.back())) value.remove_suffix(1);
    return value;
}

namespace {

// Puts a child's position in an open-addressing table of `slots` (a power of
// two, more than the children) unless a child of the same key is there.
template <typename Slot, typename KeyOf>
void Insert(std::vector<Slot>& slots, std::span<prov::ComponentNode* const> children, std::uint32_t position,
            KeyOf keyOf) {
    const std::string_view key = keyOf(children[position]->Name());
    const std::uint64_t hash = prov::HashName(key);
    const std::size_t mask = slots.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        Slot& slot = slots[i];
        if (slot.position == UINT32_MAX) {
            slot = {position, static_cast<std::uint32_t>(hash >> 32)};
            return;
        }
        if (prov::SameName(keyOf(children[slot.position]->Name()), key)) return;
    }
}

}  // namespace

ReferenceResolver::ReferenceResolver(const prov::ComponentStore& store)
    : addNode_(store.AddNode()),
      valueCache_(std::make_unique<ValueCache>()),
      familyKeys_(std::make_unique<FamilyKeys>()) {
    if (addNode_ && addNode_->ChildCount() >= kFree / 4)
        throw std::length_error("too many top-level components to resolve against");
}

void ReferenceResolver::BuildTopTables() const {
    topTablesBuilt_ = true;
    if (!addNode_ || addNode_->ChildCount() == 0) return;
    const auto children = addNode_->Children();
    std::size_t size = 8;
    while (size < 2 * children.size()) size *= 2;
    topNames_.assign(size, {kFree, 0});
    topTypes_.assign(size, {kFree, 0});
    for (std::uint32_t i = 0; i < children.size(); ++i) {
        Insert(topNames_, children, i, [](std::string_view name) { return name; });
        if (!text::IsHiddenName(children[i]->Name())) Insert(topTypes_, children, i, TypeOf);
    }
}

Resolution ReferenceResolver::ResolveLine(std::string_view line) const {
    if (text::IsHiddenName(line) || line.find('/') == std::string_view::npos) return {};
    return ResolveValue(ReferenceValue(line));
}

Resolution ReferenceResolver::ResolveLineIfDangling(std::string_view line) const {
    if (text::IsHiddenName(line) || line.find('/') == std::string_view::npos) return {};
    const std::string_view value = ReferenceValue(line);
    if (!addNode_ || value.find('/') == std::string_view::npos) return {};
    const TopLevelPiece top = TopLevel(value.substr(0, value.find(' ')));
    // Without a first component named, Resolve walks nowhere.
    return top.topType && top.position < 0 ? Resolve(value, top, nullptr) : Resolution{};
}

Resolution ReferenceResolver::ResolveValue(std::string_view value, const TreeNumbers* numbers) const {
    // Every kind of reference holds a "/": an exact one by the rule, the
    // others as a piece with an instance.
    if (!addNode_ || value.find('/') == std::string_view::npos) return {};
    ValueCache::Entry* entry = valueCache_->Slot(value);
    if (entry && ValueCache::Holds(*entry, value, numbers)) return ValueCache::Get(*entry, value);
    // Every kind of reference begins with a piece of a shown top-level type:
    // one that names a top-level component has its type, and a dangling one
    // must. Most values that are no reference end here, with no walk.
    const TopLevelPiece top = TopLevel(value.substr(0, value.find(' ')));
    const Resolution r = top.topType ? Resolve(value, top, numbers) : Resolution{};
    if (entry) ValueCache::Keep(*entry, value, numbers, r);
    return r;
}

Resolution ReferenceResolver::Resolve(std::string_view value, TopLevelPiece top, const TreeNumbers* numbers) const {
    // One pass over the pieces: the walk down the tree as far as they name
    // components, and the shape of a path.
    const prov::ComponentNode* named = addNode_;
    std::uint32_t childBlock = 0;  // where the children of `named` begin in numbers->childNumbers
    ComponentNumber number = kNoComponent;
    std::size_t namedPieces = 0, namedEnd = 0;  // pieces named, and the end of the last one
    bool walking = true, shaped = true, hasInstance = false;
    std::size_t start = 0;
    for (std::size_t pieces = 0;; ++pieces) {
        const std::size_t space = pieces == 0 ? value.find(' ') : value.find(' ', start);
        const std::size_t end = space == std::string_view::npos ? value.size() : space;
        const std::string_view piece = value.substr(start, end - start);
        if (walking) {
            const std::ptrdiff_t at = pieces == 0 ? top.position : ShownChild(named, piece);
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
    // The first piece's type is a shown top-level type (ResolveValue).
    return {ReferenceKind::Dangling, nullptr, value.substr(0, value.find(' '))};
}

}  // namespace oryx::refs
