#include "reports/fixed_reports.h"

namespace oryx::reports {

void BuildReportRows(ReportId id, const prov::ComponentStore& store, ReportRows& rows) {
    switch (id) {
    case ReportId::AtmIf: return BuildAtmIfRows(store, rows);
    case ReportId::AtmIfVcc: return BuildAtmIfVccRows(store, rows);
    case ReportId::FrAtm: return BuildFrAtmRows(store, rows);
    case ReportId::FrAtmDlci: return BuildFrAtmDlciRows(store, rows);
    case ReportId::FrUniDlci: return BuildFrUniDlciRows(store, rows);
    case ReportId::NodeSummary: return BuildNodeSummaryRows(store, rows);
    case ReportId::Overview: return BuildOverviewRows(store, rows);
    case ReportId::VirtualRouter: return BuildVirtualRouterRows(store, rows);
    }
}

}  // namespace oryx::reports
