#pragma once

#include <string_view>

namespace oryx::text {

// A component name or attribute line that begins with "&" is the store's own
// bookkeeping ("&PROP", "&PARENT") or hidden by the file: it is never shown,
// written to the tree text, searched, compared or reported.
constexpr bool IsHiddenName(std::string_view nameOrLine) { return !nameOrLine.empty() && nameOrLine.front() == '&'; }

}  // namespace oryx::text
