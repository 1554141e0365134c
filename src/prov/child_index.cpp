#include "prov/child_index.h"

#include <algorithm>

#include "prov/collation.h"
#include "prov/component_store.h"

namespace oryx::prov {
namespace {

std::uint64_t Mix(std::uint64_t h) {
    h ^= h >> 29;
    h *= 0xBF58476D1CE4E5B9ULL;
    return h ^ (h >> 32);
}

}  // namespace

ChildIndex::Table* ChildIndex::TableOf(const ComponentNode* parent) const {
    if (parent != lastParent_) {
        lastParent_ = parent;
        lastTable_ = &tables_[parent];
    }
    return lastTable_;
}

ComponentNode* ChildIndex::FindOrdered(const Table& table, std::string_view name) {
    const auto& run = table.ordered;
    if (run.empty() || CompareNames(name, run.front()->Name()) < 0 || CompareNames(name, run.back()->Name()) > 0)
        return nullptr;
    const auto it = std::lower_bound(run.begin(), run.end(), name, [](const ComponentNode* c, std::string_view n) {
        return CompareNames(c->Name(), n) < 0;
    });
    return it != run.end() && SameName((*it)->Name(), name) ? *it : nullptr;
}

ComponentNode* ChildIndex::Find(const ComponentNode* parent, std::string_view name) const {
    const Table& table = *TableOf(parent);
    if (ComponentNode* found = FindOrdered(table, name)) return found;
    if (table.count == 0) return nullptr;
    const std::uint64_t hash = Mix(HashName(name));
    const std::size_t mask = table.capacity - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& slot = table.slots.get()[i];
        if (!slot.node) return nullptr;
        if (slot.hash == hash && SameName(slot.node->Name(), name)) return slot.node;
    }
}

void ChildIndex::Insert(ComponentNode* child) {
    Table& table = *TableOf(child->Container());
    auto& run = table.ordered;
    if (run.empty() || CompareNames(child->Name(), run.back()->Name()) > 0) {
        run.push_back(child);
    } else if (CompareNames(child->Name(), run.front()->Name()) < 0) {
        run.push_front(child);
    } else {
        Insert(table, {Mix(HashName(child->Name())), child});
    }
}

void ChildIndex::Insert(Table& table, Slot slot) {
    if ((table.count + 1) * 2 > table.capacity) {
        const std::size_t oldCapacity = table.capacity;
        ChunkPtr<Slot> old = std::move(table.slots);
        table.capacity = oldCapacity == 0 ? 32 : oldCapacity * 2;
        table.slots = MakeChunk<Slot>(table.capacity);
        std::fill_n(table.slots.get(), table.capacity, Slot{0, nullptr});
        table.count = 0;
        for (std::size_t i = 0; i < oldCapacity; ++i)
            if (old.get()[i].node) Insert(table, old.get()[i]);
    }
    const std::size_t mask = table.capacity - 1;
    std::size_t i = slot.hash & mask;
    while (table.slots.get()[i].node) i = (i + 1) & mask;
    table.slots.get()[i] = slot;
    ++table.count;
}

}  // namespace oryx::prov
