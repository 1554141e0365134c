#include "reports/fixed_reports.h"

#include <new>

#include "reports/report_error.h"

namespace oryx::reports {

namespace {

void BuildRows(ReportId id, const prov::ComponentStore& store, ReportRows& rows) {
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

}  // namespace

void BuildReportRows(ReportId id, const prov::ComponentStore& store, ReportRows& rows) {
    try {
        BuildRows(id, store, rows);
    } catch (const std::bad_alloc&) {
        // The rows built so far go: they hold the memory the message needs,
        // and a part of a report would pass for the whole of it.
        ReportRows().swap(rows);
        throw NotEnoughMemoryToBuild(Report(id).cliName);
    }
}

}  // namespace oryx::reports
