#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "prov/component_store.h"

namespace oryx::refs {

// What an attribute line's value says of the components of its file.
enum class ReferenceKind : std::uint8_t {
    None,
    // The value names a shown component exactly, as search::FindComponentAtPath
    // finds it with QueryText::Bytes.
    Exact,
    // A path whose first piece names a shown top-level component but whose
    // later pieces leave the file's tree: it points below the deepest
    // component its leading pieces name. Dumps often leave such parts out, so
    // this is a note, not an error.
    Partial,
    // A path whose first piece names no component, though its type is the type
    // of a shown top-level component.
    Dangling,
};

// A shown component's place in the tree order of its store.
using ComponentNumber = std::uint32_t;
constexpr ComponentNumber kNoComponent = UINT32_MAX;

// The tree order of a store's shown components, as a walk down the tree
// meets them: the numbers of each component's children by their position
// among its children (kNoComponent for a hidden one).
struct TreeNumbers {
    std::vector<ComponentNumber> childNumbers;
    // Where each component's children begin in childNumbers; the add node's
    // children begin at 0.
    std::vector<std::uint32_t> firstChild;
};

struct Resolution {
    ReferenceKind kind = ReferenceKind::None;
    // Exact: the component named; Partial: the deepest component named.
    const prov::ComponentNode* target = nullptr;
    // Partial: the pieces after the deepest named component; Dangling: the
    // first piece. A view into the value.
    std::string_view missing;
    // The target's number, when resolved with TreeNumbers.
    ComponentNumber number = kNoComponent;
};

// The value a line holds for references: the text after its first "=", with
// spaces and TABs trimmed at both ends. Empty for a line without "=".
std::string_view ReferenceValue(std::string_view line);

// Resolves values against one store. Built once per store: it holds tables
// of the top-level names and types, and remembers the values it last
// resolved and the families it looked in, so one resolver serves one thread.
class ReferenceResolver final {
public:
    explicit ReferenceResolver(const prov::ComponentStore& store);
    ~ReferenceResolver();
    ReferenceResolver(const ReferenceResolver&) = delete;
    ReferenceResolver& operator=(const ReferenceResolver&) = delete;

    // The reference an attribute line makes; lines beginning with "&" make none.
    Resolution ResolveLine(std::string_view line) const;
    // As ResolveLine where the line is a dangling reference, and None for
    // any other: a value whose first piece names a component is never
    // dangling, so no walk down the tree is needed.
    Resolution ResolveLineIfDangling(std::string_view line) const;
    // The reference a value (already trimmed) makes; with `numbers`, of the
    // same store, the target's number too.
    Resolution ResolveValue(std::string_view value, const TreeNumbers* numbers = nullptr) const;

private:
    // What a first piece says: the position among the add node's children of
    // the shown component it names (-1 for none), and whether its type is the
    // type of a shown top-level component.
    struct TopLevelPiece {
        std::ptrdiff_t position = -1;
        bool topType = false;
    };
    struct ValueCache;
    struct FamilyKeys;

    Resolution Resolve(std::string_view value, TopLevelPiece top, const TreeNumbers* numbers) const;
    TopLevelPiece TopLevel(std::string_view piece) const;
    // The position among the parent's children of the shown child the piece
    // names, as prov::GetChild finds it; -1 when there is none.
    std::ptrdiff_t ShownChild(const prov::ComponentNode* parent, std::string_view piece) const;

    const prov::ComponentNode* addNode_ = nullptr;
    // The add node's children by name ignoring case, and the types of the
    // shown ones: open-addressing tables of positions among the children
    // (kFree for none), keyed by the seeded hash, so that a file's names
    // cannot make a lookup slow. A first piece is looked up in them without
    // a walk down the tree. Each slot keeps the high bits of the hash, which
    // spare most mismatches a look at the name. They are built when the first
    // value is resolved, as the value cache fills: a file without references
    // never pays for them.
    struct TopSlot {
        std::uint32_t position;
        std::uint32_t check;
    };
    static constexpr std::uint32_t kFree = UINT32_MAX;
    void BuildTopTables() const;
    mutable std::vector<TopSlot> topNames_;
    mutable std::vector<TopSlot> topTypes_;
    mutable bool topTablesBuilt_ = false;
    std::unique_ptr<ValueCache> valueCache_;
    std::unique_ptr<FamilyKeys> familyKeys_;
};

}  // namespace oryx::refs
