#pragma once

#include <string>
#include <vector>

namespace oryx::prov {
class ComponentNode;
}

namespace oryx::reports {

struct DlciKey {
    std::string interface, dlci;
};

// The DLCIs of the top-level interfaces whose upper-cased name contains
// `upperKind` + "/" (FRATM/, FRUNI/): for each such entry of the add node, in
// the store's order, its instance (the name without its first `kind.size()+1`
// characters), looked up again as "add <kind>/<instance>"; then each child
// whose upper-cased name contains "DLCI/", its number being the name without
// its first five characters.
std::vector<DlciKey> CollectDlcis(const prov::ComponentNode* root, std::string_view kind,
                                  std::string_view upperKind);

}  // namespace oryx::reports
