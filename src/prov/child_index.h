#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "prov/chunk_memory.h"

namespace oryx::prov {

class ComponentNode;

// Finds a child of a large family by name while a file is being read, before
// the children are put in order. Files mostly add siblings in or against the
// order of names (Card/1, Card/2, ...): such names extend a sorted run at
// either end, where a lookup of a new name costs one comparison. Names that
// arrive out of order go to an open-addressing table per parent, keyed by the
// name ignoring case. Either way a node with 200,000 children costs no more
// per lookup than one with thirty.
class ChildIndex final {
public:
    ComponentNode* Find(const ComponentNode* parent, std::string_view name) const;
    void Insert(ComponentNode* child);

private:
    // The name's hash is kept beside the node, so mismatches and growth
    // never touch the nodes themselves.
    struct Slot {
        std::uint64_t hash;
        ComponentNode* node;
    };
    struct Table {
        std::deque<ComponentNode*> ordered;
        ChunkPtr<Slot> slots;
        std::size_t capacity = 0;
        std::size_t count = 0;
    };

    Table* TableOf(const ComponentNode* parent) const;
    static void Insert(Table& table, Slot slot);
    static ComponentNode* FindOrdered(const Table& table, std::string_view name);

    mutable std::unordered_map<const ComponentNode*, Table> tables_;
    mutable const ComponentNode* lastParent_ = nullptr;
    mutable Table* lastTable_ = nullptr;
};

}  // namespace oryx::prov
