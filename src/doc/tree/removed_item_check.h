#pragma once

#include <unordered_map>
#include <vector>

namespace oryx::prov {
class ComponentNode;
}

namespace oryx::doc {

class ComponentTreeModel;

// Whether a component's tree item is gone: removed by the user, itself or
// with an item above it. The answers for the items passed on the way up are
// kept, so checking every match of a search walks each item at most once,
// however deep the tree.
class RemovedItemCheck final {
public:
    explicit RemovedItemCheck(const ComponentTreeModel& model) : model_(model) {}

    bool operator()(const prov::ComponentNode* node);
    // Forgets the answers; call it after an item is removed.
    void Forget() { known_.clear(); }

private:
    const ComponentTreeModel& model_;
    std::unordered_map<const prov::ComponentNode*, bool> known_;
    std::vector<const prov::ComponentNode*> walked_;
};

}  // namespace oryx::doc
