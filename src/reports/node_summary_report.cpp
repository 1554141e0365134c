#include "prov/component_store.h"
#include "reports/attribute_search.h"
#include "reports/fixed_reports.h"

namespace oryx::reports {

namespace {

struct SummaryLine {
    std::string_view label;
    std::string_view component;  // path below the add node
    std::string_view key;
};

constexpr SummaryLine kSummaryLines[] = {
    {"nodeId", "Mod", "nodeid"},
    {"nodeName", "Mod", "nodename"},
    {"namsId", "Mod", "namsid"},
    {"regionId", "Mod", "regionid"},
    {"nodePrefix", "Mod", "nodeprefix"},
    {"networkIdCode", "Mod Vcs", "networkidcode"},
    {"defaultNumberingPlan", "Mod Vcs", "defaultnumberingplan"},
    {"primaryReference", "Ns", "primaryreference"},
    {"secondaryReference", "Ns", "secondaryreference"},
    {"tertiaryReference", "Ns", "tertiaryreference"},
    {"routingId", "Rtg Dpn", "routingid"},
    {"moduleId", "Rtg Dpn", "moduleid"},
};

}  // namespace

void BuildNodeSummaryRows(const prov::ComponentStore& store, ReportRows& rows) {
    const prov::ComponentNode* add = prov::FindComponent(&store.Root(), "add");
    for (const SummaryLine& line : kSummaryLines) {
        std::string value;
        if (add != nullptr) value = ValueOnPath(add, line.component, line.key);
        rows.push_back({line.label, {value}});
    }
}

}  // namespace oryx::reports
