#include "reports/dlci_rows.h"

#include <string>

#include "prov/component_store.h"
#include "reports/attribute_search.h"
#include "reports/report_text.h"

namespace oryx::reports {

std::vector<DlciKey> CollectDlcis(const prov::ComponentNode* root, std::string_view kind, std::string_view upperKind) {
    std::vector<DlciKey> keys;
    const prov::ComponentNode* add = prov::FindComponent(root, "add");
    if (add == nullptr) return keys;
    const std::string marker = std::string(upperKind) + "/";
    const std::string prefix = "add " + std::string(kind) + "/";
    std::string dlciPath;
    for (const prov::ComponentNode* entry : add->Children()) {
        if (!ContainsUpper(entry->Name(), marker)) continue;
        const std::string_view instance = DropFront(entry->Name(), marker.size());
        const PathWalk interface = WalkPath(root, prefix + std::string(instance));
        if (interface.found == nullptr) continue;
        for (const prov::ComponentNode* child : interface.found->Children()) {
            if (!ContainsUpper(child->Name(), "DLCI/")) continue;
            const std::string_view dlci = DropFront(child->Name(), 5);
            dlciPath.assign("Dlci/").append(dlci);
            keys.push_back({instance, dlci, WalkPath(interface.at, dlciPath).at});
        }
    }
    return keys;
}

}  // namespace oryx::reports
