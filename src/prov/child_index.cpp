#include "prov/child_index.h"

#include <cstdint>

#include "prov/collation.h"
#include "prov/component_store.h"

namespace oryx::prov {

std::size_t ChildIndex::Hash(const ComponentNode* container, std::string_view name) {
    const auto p = reinterpret_cast<std::uintptr_t>(container);
    return HashName(name) ^ (p * 0x9E3779B97F4A7C15ULL) ^ (p >> 17);
}

ComponentNode* ChildIndex::Find(const ComponentNode* container, std::string_view name) const {
    if (slots_.empty()) return nullptr;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = Hash(container, name) & mask;; i = (i + 1) & mask) {
        ComponentNode* node = slots_[i];
        if (!node) return nullptr;
        if (node->Container() == container && SameName(node->Name(), name)) return node;
    }
}

void ChildIndex::Insert(ComponentNode* child) {
    if ((count_ + 1) * 2 > slots_.size()) Grow();
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = Hash(child->Container(), child->Name()) & mask;
    while (slots_[i]) i = (i + 1) & mask;
    slots_[i] = child;
    ++count_;
}

void ChildIndex::Grow() {
    std::vector<ComponentNode*> old;
    old.swap(slots_);
    slots_.assign(old.empty() ? 1024 : old.size() * 2, nullptr);
    count_ = 0;
    for (ComponentNode* node : old)
        if (node) Insert(node);
}

void ChildIndex::Clear() {
    std::vector<ComponentNode*>().swap(slots_);
    count_ = 0;
}

}  // namespace oryx::prov
