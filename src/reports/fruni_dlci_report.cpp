#include "prov/component_store.h"
#include "reports/attribute_search.h"
#include "reports/dlci_rows.h"
#include "reports/fixed_reports.h"
#include "reports/report_text.h"

namespace oryx::reports {

void BuildFrUniDlciRows(const prov::ComponentStore& store, RowSink& rows) {
    static const LowerWordFinder remoteDna("remotedna"), remoteDlci("remotedlci"), transferPriority("transferpriority"),
        rateEnforcement("rateenforcement"), committedInformationRate("committedinformationrate");
    for (const DlciKey& key : CollectDlcis(&store.Root(), "FrUni", "FRUNI")) {
        const prov::ComponentNode* dc = prov::GetChild(key.at, "Dc");
        const prov::ComponentNode* sp = prov::GetChild(key.at, "Sp");
        const prov::AttributeList* dcLines = prov::GetAttributes(dc);

        ReportRow row(key.interface);
        row.AddCell(key.dlci);
        row.AddCell(ValueOf(dc, remoteDna));
        row.AddCell(ValueOf(dc, remoteDlci));
        // "type" and "discardpriority" must begin the line: "type" inside
        // another attribute's name or value must not feed the cell.
        row.AddCell(FindAttributeValueAtStart(dcLines, "type"));
        row.AddCell(ValueOf(dc, transferPriority));
        row.AddCell(FindAttributeValueAtStart(dcLines, "discardpriority"));
        row.AddCell(ValueOf(sp, rateEnforcement));
        row.AddCell(ValueOf(sp, committedInformationRate));
        rows.Add(std::move(row));
    }
}

}  // namespace oryx::reports
