#pragma once

#include <string_view>
#include <vector>

namespace oryx::prov {
class ComponentNode;
}

namespace oryx::reports {

// One DLCI row of the FrAtm or FrUni DLCI report: the instance texts (views
// of entry names in the store) and where the walk of the DLCI's path
// "add <kind>/<interface> Dlci/<dlci>" ended, from which the components of
// the row are looked up.
struct DlciKey {
    std::string_view interface, dlci;
    const prov::ComponentNode* at = nullptr;
};

// The DLCIs of the top-level interfaces whose upper-cased name contains
// `upperKind` + "/" (FRATM/, FRUNI/): for each such entry of the add node, in
// the store's order, its instance (the name without its first `kind.size()+1`
// characters), looked up again as "add <kind>/<instance>"; then each child
// whose upper-cased name contains "DLCI/", its number being the name without
// its first five characters.
std::vector<DlciKey> CollectDlcis(const prov::ComponentNode* root, std::string_view kind, std::string_view upperKind);

}  // namespace oryx::reports
