#include "prov/component_store.h"
#include "reports/attribute_search.h"
#include "reports/fixed_reports.h"
#include "reports/report_text.h"

namespace oryx::reports {

void BuildAtmIfRows(const prov::ComponentStore& store, RowSink& rows) {
    static const LowerWordFinder interfaceName("interfacename"), oamSegmentBoundary("oamsegmentboundary"),
        trafficShaping("trafficshaping"), usageParameterControl("usageparametercontrol"), version("version"),
        side("side"), operatingMode("operatingmode");
    const prov::ComponentNode* root = &store.Root();
    const prov::ComponentNode* add = prov::FindComponent(root, "add");
    if (add == nullptr) return;
    for (const prov::ComponentNode* entry : add->Children()) {
        if (!ContainsUpper(entry->Name(), "ATMIF/")) continue;
        // The instance is cut by position and looked up again as the path
        // "add AtmIf/<instance>", so an entry holding "AtmIf/" further in
        // finds whatever that path names; the pieces below the interface are
        // looked up from where that walk ended.
        const std::string instance(DropFront(entry->Name(), 6));
        const PathWalk atmIf = WalkPath(root, "add AtmIf/" + instance);
        const PathWalk uni = WalkPath(atmIf.at, "Uni");
        ReportRow row(instance);
        row.AddCell(ValueOf(atmIf.found, interfaceName));
        row.AddCell(ValueOf(atmIf.found, oamSegmentBoundary));
        row.AddCell(ValueOf(atmIf.found, trafficShaping));
        row.AddCell(ValueOf(atmIf.found, usageParameterControl));
        row.AddCell(prov::GetChild(atmIf.at, "Pnni") ? "Pnni" : "");
        row.AddCell(ValueOf(uni.found, version));
        row.AddCell(ValueOf(uni.found, side));
        row.AddCell(ValueOf(prov::GetChild(uni.at, "Ilmi"), operatingMode));
        rows.Add(std::move(row));
    }
}

}  // namespace oryx::reports
