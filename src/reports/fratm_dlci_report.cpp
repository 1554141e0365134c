#include "prov/component_store.h"
#include "reports/attribute_search.h"
#include "reports/dlci_rows.h"
#include "reports/fixed_reports.h"
#include "reports/report_text.h"

namespace oryx::reports {

void BuildFrAtmDlciRows(const prov::ComponentStore& store, ReportRows& rows) {
    const prov::ComponentNode* root = &store.Root();
    for (DlciKey& key : CollectDlcis(root, "FrAtm", "FRATM")) {
        const std::string dlci = "add FrAtm/" + key.interface + " Dlci/" + key.dlci;
        const std::string interfaceMode = ValueOnPath(root, dlci + " Ca", "sdmode");
        std::string sdMode = ValueOnPath(root, dlci + " Siwf Sd", "mode");
        if (sdMode.empty() || LowerAscii(sdMode) == "sameasinterface") sdMode = interfaceMode;

        ReportRow row{std::move(key.interface), {}};
        row.cells.reserve(7);
        row.cells.push_back(std::move(key.dlci));
        row.cells.push_back(ValueOnPath(root, dlci + " Siwf NPvc", "atmconnection"));
        row.cells.push_back(ValueOnPath(root, dlci + " Siwf SPvc", "remoteaddress"));
        row.cells.push_back(std::move(sdMode));
        row.cells.push_back(ValueOnPath(root, dlci + " Sp", "rateenforcement"));
        row.cells.push_back(ValueOnPath(root, dlci + " Sp", "committedinformationrate"));
        row.cells.push_back(ValueOnPath(root, dlci + " Siwf SPvc", "remoteconnectionidentifier"));
        rows.push_back(std::move(row));
    }
}

}  // namespace oryx::reports
