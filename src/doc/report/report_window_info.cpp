#include "doc/report/report_window_info.h"

#include <iterator>

namespace oryx::doc {

namespace {

using reports::ReportId;

constexpr ReportWindowInfo kTable[] = {
    {ReportId::AtmIf, "miAtmIfReport", "AtmIf Report", "", "AtmIfListBox", true, false, nullptr},
    {ReportId::AtmIfVcc, "miVCCAtmIfReport", "AtmIf Vcc Report", "", "VCCAtmIfListBox", true, false, nullptr},
    {ReportId::FrAtm, "miFrAtmReport", "FrAtm Report", "", "FrAtmListBox", true, false, nullptr},
    {ReportId::FrAtmDlci, "miFrAtmDlciReport", "FrAtm Dlci Report", "", "FrAtmDLCIListBox", true, false, nullptr},
    {ReportId::FrUniDlci, "miFrUniDlciReport", "FrUni Dlci Report", "", "FrUniDlciListBox", true, false, nullptr},
    {ReportId::NodeSummary, "miCommonReport", "Node Summary", "", "CommonReportListBox", false, false, nullptr},
    {ReportId::Overview, "miOverviewReport", "Halyard Overview Report", "", "ShelfSummaryList", true, false,
     "Generating Summary...Please Wait"},
    {ReportId::VirtualRouter, "miVirtualRouterReport", "Virtual Router", "", "VirtualRouterListBox", true, true,
     nullptr},
};

constexpr bool FollowsTheRegistry() {
    if (std::size(kTable) != reports::kFixedReportCount) return false;
    for (std::size_t i = 0; i < std::size(kTable); ++i)
        if (static_cast<std::size_t>(kTable[i].id) != i) return false;
    return true;
}
static_assert(FollowsTheRegistry(), "one entry per fixed report, in the registry's order");

}  // namespace

std::span<const ReportWindowInfo> ReportWindowTable() { return kTable; }

const ReportWindowInfo& ReportWindow(reports::ReportId id) { return kTable[static_cast<std::size_t>(id)]; }

int PanelReport::Code() const {
    constexpr int kCustomReportCode = 10;
    constexpr int kProblemsReportCode = 11;
    if (fixed_) return reports::Report(*fixed_).code;
    return kind_ == Kind::Problems ? kProblemsReportCode : kCustomReportCode;
}

}  // namespace oryx::doc
