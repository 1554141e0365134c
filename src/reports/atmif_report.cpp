#include "prov/component_store.h"
#include "reports/attribute_search.h"
#include "reports/fixed_reports.h"
#include "reports/report_text.h"

namespace oryx::reports {

void BuildAtmIfRows(const prov::ComponentStore& store, ReportRows& rows) {
    const prov::ComponentNode* root = &store.Root();
    const prov::ComponentNode* add = prov::FindComponent(root, "add");
    if (add == nullptr) return;
    for (const prov::ComponentNode* entry : add->Children()) {
        if (!ContainsUpper(entry->Name(), "ATMIF/")) continue;
        // The instance is cut by position and looked up again by path, so an
        // entry holding "AtmIf/" further in finds whatever that path names.
        const std::string instance(DropFront(entry->Name(), 6));
        const std::string path = "add AtmIf/" + instance;
        ReportRow row{instance, {}};
        row.cells.reserve(8);
        row.cells.push_back(ValueOnPath(root, path, "interfacename"));
        row.cells.push_back(ValueOnPath(root, path, "oamsegmentboundary"));
        row.cells.push_back(ValueOnPath(root, path, "trafficshaping"));
        row.cells.push_back(ValueOnPath(root, path, "usageparametercontrol"));
        row.cells.push_back(prov::FindComponent(root, path + " Pnni") ? "Pnni" : "");
        row.cells.push_back(ValueOnPath(root, path + " Uni", "version"));
        row.cells.push_back(ValueOnPath(root, path + " Uni", "side"));
        row.cells.push_back(ValueOnPath(root, path + " Uni Ilmi", "operatingmode"));
        rows.push_back(std::move(row));
    }
}

}  // namespace oryx::reports
