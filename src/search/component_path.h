#pragma once

#include <string>
#include <string_view>

#include "search/search_options.h"

namespace oryx::prov {
class ComponentNode;
class ComponentStore;
}  // namespace oryx::prov

namespace oryx::search {

// The component's path as the tree shows it and `oryx-cli attrs` takes it:
// the names from the top of the tree down to the component, joined by single
// spaces, without the add node ("AtmIf/31 Vcc/0.100"). Empty for the add node.
std::string ComponentPath(const prov::ComponentNode& node);

// The shown component whose path is exactly `path`: each space-separated piece
// names a child of the component before it (the first a child of the add
// node), ASCII letter case ignored. Unlike FindComponent, no piece may be
// missing or skipped, and names beginning with "&" are never found. With
// QueryText::Display the path is UTF-8 text compared with the names' display
// text. Null when there is no such component.
const prov::ComponentNode* FindComponentAtPath(const prov::ComponentStore& store, std::string_view path,
                                               QueryText text);

}  // namespace oryx::search
