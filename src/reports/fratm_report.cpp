#include "prov/component_store.h"
#include "reports/attribute_search.h"
#include "reports/fixed_reports.h"
#include "reports/report_text.h"

namespace oryx::reports {

// The report is unfinished by design: only the interface name is filled, the
// five further columns stay empty (but present, so exports keep their shape).
void BuildFrAtmRows(const prov::ComponentStore& store, RowSink& rows) {
    static const LowerWordFinder interfaceName("interfacename");
    const prov::ComponentNode* root = &store.Root();
    const prov::ComponentNode* add = prov::FindComponent(root, "add");
    if (add == nullptr) return;
    for (const prov::ComponentNode* entry : add->Children()) {
        if (!ContainsUpper(entry->Name(), "FRATM/")) continue;
        const std::string instance(DropFront(entry->Name(), 6));
        const prov::ComponentNode* framer = prov::GetChild(WalkPath(root, "add FrAtm/" + instance).at, "Framer");
        ReportRow row(instance);
        row.AddCell(ValueOf(framer, interfaceName));
        row.AddEmptyCells(5);
        rows.Add(std::move(row));
    }
}

}  // namespace oryx::reports
