#pragma once

#include <cstddef>

namespace oryx::prov {
class ComponentNode;
}

namespace oryx::doc {

// One match of the find bar, as little as going to it needs: the component,
// and for an attribute line its row in the attribute list.
struct FoundMatch {
    const prov::ComponentNode* node = nullptr;
    std::size_t row = 0;
    bool attribute = false;
};

}  // namespace oryx::doc
