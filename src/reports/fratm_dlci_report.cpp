#include "prov/component_store.h"
#include "reports/attribute_search.h"
#include "reports/dlci_rows.h"
#include "reports/fixed_reports.h"
#include "reports/report_text.h"
#include "text/ascii_case.h"

namespace oryx::reports {

void BuildFrAtmDlciRows(const prov::ComponentStore& store, RowSink& rows) {
    static const LowerWordFinder sdModeKey("sdmode"), modeKey("mode"), atmConnection("atmconnection"),
        remoteAddress("remoteaddress"), rateEnforcement("rateenforcement"),
        committedInformationRate("committedinformationrate"), remoteConnectionId("remoteconnectionidentifier");
    for (const DlciKey& key : CollectDlcis(&store.Root(), "FrAtm", "FRATM")) {
        const PathWalk siwf = WalkPath(key.at, "Siwf");
        const prov::ComponentNode* sPvc = prov::GetChild(siwf.at, "SPvc");
        const prov::ComponentNode* sp = prov::GetChild(key.at, "Sp");
        // The DLCI's own service-discovery mode, unless it defers to the
        // interface's (sameAsInterface) or gives none.
        std::string sdMode = ValueOf(prov::GetChild(siwf.at, "Sd"), modeKey);
        if (sdMode.empty() || text::AsciiLowered(sdMode) == "sameasinterface") {
            sdMode = ValueOf(prov::GetChild(key.at, "Ca"), sdModeKey);
        }

        ReportRow row(key.interface);
        row.AddCell(key.dlci);
        row.AddCell(ValueOf(prov::GetChild(siwf.at, "NPvc"), atmConnection));
        row.AddCell(ValueOf(sPvc, remoteAddress));
        row.AddCell(sdMode);
        row.AddCell(ValueOf(sp, rateEnforcement));
        row.AddCell(ValueOf(sp, committedInformationRate));
        row.AddCell(ValueOf(sPvc, remoteConnectionId));
        rows.Add(std::move(row));
    }
}

}  // namespace oryx::reports
