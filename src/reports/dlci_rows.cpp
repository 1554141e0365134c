#include "reports/dlci_rows.h"

#include "prov/component_store.h"
#include "reports/report_text.h"

namespace oryx::reports {

std::vector<DlciKey> CollectDlcis(const prov::ComponentNode* root, std::string_view kind,
                                  std::string_view upperKind) {
    std::vector<DlciKey> keys;
    const prov::ComponentNode* add = prov::FindComponent(root, "add");
    if (add == nullptr) return keys;
    const std::string marker = std::string(upperKind) + "/";
    const std::string prefix = "add " + std::string(kind) + "/";
    for (const prov::ComponentNode* entry : add->Children()) {
        if (!ContainsUpper(entry->Name(), marker)) continue;
        const std::string instance(DropFront(entry->Name(), marker.size()));
        const prov::ComponentNode* node = prov::FindComponent(root, prefix + instance);
        if (node == nullptr) continue;
        for (const prov::ComponentNode* child : node->Children()) {
            if (ContainsUpper(child->Name(), "DLCI/")) {
                keys.push_back({instance, std::string(DropFront(child->Name(), 5))});
            }
        }
    }
    return keys;
}

}  // namespace oryx::reports
