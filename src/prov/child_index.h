#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace oryx::prov {

class ComponentNode;

// Finds a node's child by name while a file is being read, before the
// children are put in order: one open-addressing table over the whole store,
// keyed by (container, name ignoring case). A node with 200,000 children
// costs no more per lookup than one with three.
class ChildIndex final {
public:
    ComponentNode* Find(const ComponentNode* container, std::string_view name) const;
    void Insert(ComponentNode* child);
    void Clear();

private:
    static std::size_t Hash(const ComponentNode* container, std::string_view name);
    void Grow();

    std::vector<ComponentNode*> slots_;
    std::size_t count_ = 0;
};

}  // namespace oryx::prov
