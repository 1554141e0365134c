#include "prov/component_store.h"
#include "reports/attribute_search.h"
#include "reports/dlci_rows.h"
#include "reports/fixed_reports.h"
#include "reports/report_text.h"

namespace oryx::reports {

void BuildFrUniDlciRows(const prov::ComponentStore& store, ReportRows& rows) {
    static const LowerWordFinder remoteDna("remotedna"), remoteDlci("remotedlci"),
        transferPriority("transferpriority"), rateEnforcement("rateenforcement"),
        committedInformationRate("committedinformationrate");
    for (const DlciKey& key : CollectDlcis(&store.Root(), "FrUni", "FRUNI")) {
        const prov::ComponentNode* dc = prov::GetChild(key.at, "Dc");
        const prov::ComponentNode* sp = prov::GetChild(key.at, "Sp");
        const prov::AttributeList* dcLines = prov::GetAttributes(dc);

        ReportRow row{std::string(key.interface), {}};
        row.cells.reserve(8);
        row.cells.emplace_back(key.dlci);
        row.cells.push_back(ValueOf(dc, remoteDna));
        row.cells.push_back(ValueOf(dc, remoteDlci));
        // "type" and "discardpriority" must begin the line: "type" inside
        // another attribute's name or value must not feed the cell.
        row.cells.push_back(FindAttributeValueAtStart(dcLines, "type"));
        row.cells.push_back(ValueOf(dc, transferPriority));
        row.cells.push_back(FindAttributeValueAtStart(dcLines, "discardpriority"));
        row.cells.push_back(ValueOf(sp, rateEnforcement));
        row.cells.push_back(ValueOf(sp, committedInformationRate));
        rows.push_back(std::move(row));
    }
}

}  // namespace oryx::reports
