#pragma once

#include <array>
#include <string>
#include <string_view>

#include "reports/report_registry.h"
#include "reports/report_rows.h"

namespace oryx::prov {
class ComponentStore;
}

namespace oryx::reports {

// The builders of the fixed reports (see report_registry.h). Each hands its
// report's rows to `rows`, in report order, reading the store and never
// changing it. Only the Overview can fail: it throws ReportError ("'%s' is not
// a valid integer value") and leaves in `rows` what it had appended so far,
// which the window then shows.

// One row per shelf card (overview_report.cpp).
void BuildOverviewRows(const prov::ComponentStore& store, ReportRows& rows);
// Twelve node-wide values (node_summary_report.cpp).
void BuildNodeSummaryRows(const prov::ComponentStore& store, ReportRows& rows);
// One row per LogicalIf of a virtual router's Pp (virtual_router_report.cpp).
void BuildVirtualRouterRows(const prov::ComponentStore& store, RowSink& rows);
// One row per ATM interface (atmif_report.cpp).
void BuildAtmIfRows(const prov::ComponentStore& store, RowSink& rows);
// One row per Vcc, or one per interface without Vcc (atmif_vcc_report.cpp).
void BuildAtmIfVccRows(const prov::ComponentStore& store, RowSink& rows);
// One row per FrAtm interface (fratm_report.cpp).
void BuildFrAtmRows(const prov::ComponentStore& store, RowSink& rows);
// One row per Dlci of a FrAtm interface (fratm_dlci_report.cpp).
void BuildFrAtmDlciRows(const prov::ComponentStore& store, RowSink& rows);
// One row per Dlci of a FrUni interface (fruni_dlci_report.cpp).
void BuildFrUniDlciRows(const prov::ComponentStore& store, RowSink& rows);

// The five fields of a traffic descriptor parameter value, as the AtmIf VCC
// report cuts it: two leading characters dropped, then each of the first four
// fields runs to a blank, which is dropped with the three characters after it;
// the fifth field is the rest ("ab11 cde22 fgh33 ijk44 lmn55" gives 11 to 55).
std::array<std::string, 5> SplitTrafficDescriptor(std::string_view text);

}  // namespace oryx::reports
