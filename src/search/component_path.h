#pragma once

#include <string>
#include <string_view>

#include "prov/component_store.h"
#include "search/search_options.h"

namespace oryx::search {

using prov::ComponentPath;

// The shown component whose path is exactly `path`: each space-separated piece
// names a child of the component before it (the first a child of the add
// node), ASCII letter case ignored. Unlike FindComponent, no piece may be
// missing or skipped, and names beginning with "&" are never found. With
// QueryText::Display the path is UTF-8 text compared with the names' display
// text. Null when there is no such component.
const prov::ComponentNode* FindComponentAtPath(const prov::ComponentStore& store, std::string_view path,
                                               QueryText text);

}  // namespace oryx::search
