#include "prov/component_store.h"
#include "reports/attribute_search.h"
#include "reports/fixed_reports.h"
#include "reports/report_text.h"

namespace oryx::reports {

namespace {

struct RouterKey {
    std::string vr, pp, logicalIf;
};

}  // namespace

void BuildVirtualRouterRows(const prov::ComponentStore& store, RowSink& rows) {
    const prov::ComponentNode* root = &store.Root();
    const prov::ComponentNode* add = prov::FindComponent(root, "add");
    if (add == nullptr) return;

    std::vector<RouterKey> keys;
    for (const prov::ComponentNode* vrEntry : add->Children()) {
        if (!ContainsUpper(vrEntry->Name(), "VR/")) continue;
        const std::string vr(DropFront(vrEntry->Name(), 3));
        const prov::ComponentNode* router = prov::FindComponent(root, "add Vr/" + vr);
        if (router == nullptr) continue;
        for (const prov::ComponentNode* ppEntry : router->Children()) {
            if (!ContainsUpper(ppEntry->Name(), "PP/")) continue;
            const std::string pp(DropFront(ppEntry->Name(), 3));
            const prov::ComponentNode* ipPort = prov::FindComponent(root, "add Vr/" + vr + " Pp/" + pp + " IpPort");
            if (ipPort == nullptr) continue;
            for (const prov::ComponentNode* ifEntry : ipPort->Children()) {
                if (!ContainsLower(ifEntry->Name(), "logicalif/")) continue;
                keys.push_back({vr, pp, std::string(TextAfterFirst(ifEntry->Name(), '/'))});
            }
        }
    }

    for (RouterKey& key : keys) {
        const std::string ppPath = "add Vr/" + key.vr + " Pp/" + key.pp;
        const std::string ifPath = ppPath + " IpPort LogicalIf/" + key.logicalIf;
        ReportRow row(key.vr);
        row.AddCell(key.pp);
        row.AddCell(ValueOnPath(root, ppPath, "linktomedia"));
        row.AddCell(key.logicalIf);
        row.AddCell(ValueOnPath(root, ifPath, "netmask"));
        row.AddCell(ValueOnPath(root, ifPath, "broadcastaddress"));
        row.AddCell(ValueOnPath(root, ifPath + " OspfIf", "areaid"));
        rows.Add(std::move(row));
    }
}

}  // namespace oryx::reports
