#include "doc/tree/removed_item_check.h"

#include "doc/tree/component_tree_model.h"

namespace oryx::doc {

bool RemovedItemCheck::operator()(const prov::ComponentNode* node) {
    if (!model_.HasRemovedItems()) return false;
    bool removed = false;
    walked_.clear();
    for (const prov::ComponentNode* n = node; n; n = model_.TreeParent(n)) {
        const auto known = known_.find(n);
        if (known != known_.end()) {
            removed = known->second;
            break;
        }
        walked_.push_back(n);
        if (model_.IsRemovedItem(n)) {
            removed = true;
            break;
        }
    }
    for (const prov::ComponentNode* n : walked_) known_.emplace(n, removed);
    return removed;
}

}  // namespace oryx::doc
