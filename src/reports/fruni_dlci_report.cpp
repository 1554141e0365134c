#include "prov/component_store.h"
#include "reports/attribute_search.h"
#include "reports/dlci_rows.h"
#include "reports/fixed_reports.h"

namespace oryx::reports {

void BuildFrUniDlciRows(const prov::ComponentStore& store, ReportRows& rows) {
    const prov::ComponentNode* root = &store.Root();
    for (DlciKey& key : CollectDlcis(root, "FrUni", "FRUNI")) {
        const std::string dlci = "add FrUni/" + key.interface + " Dlci/" + key.dlci;
        const prov::AttributeList* dc = prov::GetAttributes(prov::FindComponent(root, dlci + " Dc"));
        const prov::AttributeList* sp = prov::GetAttributes(prov::FindComponent(root, dlci + " Sp"));

        ReportRow row{std::move(key.interface), {}};
        row.cells.reserve(8);
        row.cells.push_back(std::move(key.dlci));
        row.cells.push_back(FindAttributeValue(dc, "remotedna"));
        row.cells.push_back(FindAttributeValue(dc, "remotedlci"));
        // "type" and "discardpriority" must begin the line: "type" inside
        // another attribute's name or value must not feed the cell.
        row.cells.push_back(FindAttributeValueAtStart(dc, "type"));
        row.cells.push_back(FindAttributeValue(dc, "transferpriority"));
        row.cells.push_back(FindAttributeValueAtStart(dc, "discardpriority"));
        row.cells.push_back(FindAttributeValue(sp, "rateenforcement"));
        row.cells.push_back(FindAttributeValue(sp, "committedinformationrate"));
        rows.push_back(std::move(row));
    }
}

}  // namespace oryx::reports
