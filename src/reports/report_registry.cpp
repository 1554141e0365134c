#include "reports/report_registry.h"

#include <algorithm>
#include <new>

#include "reports/fixed_reports.h"
#include "reports/report_error.h"

namespace oryx::reports {

namespace {

constexpr ColumnInfo kOverviewColumns[] = {
    {"#", 20},     {"Card", 75}, {"LP", 25},  {"LPT", 70}, {"AtmIf", 81},
    {"FrUni", 81}, {"FrAtm", 0}, {"TRK", 81}, {"FL", 81},
};

constexpr ColumnInfo kAtmIfVccColumns[] = {
    {"AtmIf", 0},  {"VCC", 0},    {"nextHop", 30}, {"txtdt", 30}, {"atmser", 30},
    {"txPcr", 30}, {"txScr", 30}, {"txRsr", 30},   {"txMbs", 30}, {"txCdvt", 30},
    {"rxPcr", 30}, {"rxScr", 30}, {"rxRsr", 30},   {"rxMbs", 30}, {"rxCdvt", 30},
};

constexpr ColumnInfo kFrAtmDlciColumns[] = {
    {"FrAtm", 0},  {"Dlci", 0}, {"atmConnection", 0}, {"remoteAddress", 0},
    {"sdMode", 0}, {"RE", 0},   {"CIR", 0},           {"Rem Conn Id", 0},
};

constexpr ColumnInfo kFrUniDlciColumns[] = {
    {"FrUni", 0}, {"Dlci", 0}, {"rdna", 0}, {"rdlci", 0}, {"type", 0}, {"tp", 0}, {"dp", 0}, {"re", 0}, {"cir", 0},
};

constexpr ColumnInfo kFrAtmColumns[] = {
    {"FrAtm", 40}, {"Interface Name", 75}, {"Other Virtual Framer", 25}, {"LP", 70}, {"Procedures", 81},
    {"Side", 81},  {"Address", 0},
};

constexpr ColumnInfo kAtmIfColumns[] = {
    {"AtmIf", 40},      {"interfaceName", 75}, {"oamSB", 25},
    {"Ts", 70},         {"Upc", 81},           {"Pnni", 81},
    {"Uni Version", 0}, {"Uni Side", 0},       {"Ilmi Operating Mode", 0},
};

constexpr ColumnInfo kAttributeValueColumns[] = {{"Attribute", 150}, {"Value", 150}};

constexpr ColumnInfo kVirtualRouterColumns[] = {
    {"Vr", 40},      {"Pp", 90}, {"linkToMedia", 0}, {"logicalIf", 0}, {"netMask", 0}, {"broadcastAddress", 100},
    {"areaId", 100},
};

// The builders that make their rows into a list first, handing them on when
// done. The Overview hands on what it has when it fails too, which the
// window shows.
template <void (*Build)(const prov::ComponentStore&, ReportRows&)>
void BuildWhole(const prov::ComponentStore& store, RowSink& sink) {
    ReportRows rows;
    auto handOn = [&rows, &sink] {
        for (ReportRow& row : rows) sink.Add(std::move(row));
    };
    try {
        Build(store, rows);
    } catch (const ReportError&) {
        handOn();
        throw;
    }
    handOn();
}

constexpr ReportInfo kReports[] = {
    {ReportId::AtmIf, 6, "atmif", "AtmIf Report", kAtmIfColumns, BuildAtmIfRows, false},
    {ReportId::AtmIfVcc, 2, "atmif-vcc", "AtmIf VCC Report", kAtmIfVccColumns, BuildAtmIfVccRows, false},
    {ReportId::FrAtm, 5, "fratm", "FrAtm Report - UNDER CONSTRUCTION", kFrAtmColumns, BuildFrAtmRows, false},
    {ReportId::FrAtmDlci, 3, "fratm-dlci", "FrAtm DLCI Report", kFrAtmDlciColumns, BuildFrAtmDlciRows, false},
    {ReportId::FrUniDlci, 4, "fruni-dlci", "FrUni DLCI Report", kFrUniDlciColumns, BuildFrUniDlciRows, false},
    {ReportId::NodeSummary, 7, "node-summary", "Node Summary Report", kAttributeValueColumns,
     BuildWhole<BuildNodeSummaryRows>, false},
    {ReportId::Overview, 1, "overview", "Halyard Overview Report", kOverviewColumns, BuildWhole<BuildOverviewRows>,
     true},
    {ReportId::VirtualRouter, 8, "virtual-router", "Virtual Router Report", kVirtualRouterColumns,
     BuildVirtualRouterRows, false},
};

constexpr ReportId kCliHelpOrder[] = {
    ReportId::Overview, ReportId::NodeSummary, ReportId::VirtualRouter, ReportId::AtmIf,
    ReportId::AtmIfVcc, ReportId::FrAtm,       ReportId::FrAtmDlci,     ReportId::FrUniDlci,
};

constexpr ReportId kClearingOrder[] = {
    ReportId::Overview, ReportId::FrAtmDlci, ReportId::FrUniDlci,   ReportId::FrAtm,
    ReportId::AtmIfVcc, ReportId::AtmIf,     ReportId::NodeSummary, ReportId::VirtualRouter,
};

// Each row stands at the place of its id, each code and name is used once,
// and each order names every report once: a report added to the table but
// forgotten in an order does not compile.
template <std::size_t N>
constexpr bool NamesEveryReportOnce(const ReportId (&order)[N]) {
    if (N != std::size(kReports)) return false;
    for (const ReportInfo& info : kReports)
        if (std::count(std::begin(order), std::end(order), info.id) != 1) return false;
    return true;
}

constexpr bool TableIsConsistent() {
    for (std::size_t i = 0; i < std::size(kReports); ++i) {
        if (static_cast<std::size_t>(kReports[i].id) != i) return false;
        for (std::size_t j = 0; j < i; ++j)
            if (kReports[j].code == kReports[i].code || kReports[j].cliName == kReports[i].cliName) return false;
    }
    return true;
}

static_assert(std::size(kReports) == kFixedReportCount);
static_assert(TableIsConsistent());
static_assert(NamesEveryReportOnce(kCliHelpOrder));
static_assert(NamesEveryReportOnce(kClearingOrder));

}  // namespace

std::span<const ReportInfo> FixedReports() { return kReports; }

const ReportInfo& Report(ReportId id) { return kReports[static_cast<std::size_t>(id)]; }

std::optional<ReportId> ReportByCode(int code) {
    for (const ReportInfo& info : kReports)
        if (info.code == code) return info.id;
    return std::nullopt;
}

std::optional<ReportId> ReportByCliName(std::string_view cliName) {
    for (const ReportInfo& info : kReports)
        if (info.cliName == cliName) return info.id;
    return std::nullopt;
}

void BuildReportRows(ReportId id, const prov::ComponentStore& store, ReportRows& rows) {
    try {
        RowCollector collector(rows);
        Report(id).build(store, collector);
    } catch (const std::bad_alloc&) {
        // The rows built so far go: they hold the memory the message needs,
        // and a part of a report would pass for the whole of it.
        ReportRows().swap(rows);
        throw NotEnoughMemoryToBuild(Report(id).cliName);
    }
}

void StreamReportRows(ReportId id, const prov::ComponentStore& store, RowSink& rows) {
    const ReportInfo& info = Report(id);
    if (!info.canFail) {
        try {
            info.build(store, rows);
        } catch (const std::bad_alloc&) {
            throw NotEnoughMemoryToBuild(info.cliName);
        }
        return;
    }
    // Built whole first, so that a failure hands on nothing.
    ReportRows built;
    BuildReportRows(id, store, built);
    for (ReportRow& row : built) rows.Add(std::move(row));
}

std::span<const ReportId> CliHelpOrder() { return kCliHelpOrder; }

std::span<const ReportId> CheckMarkClearingOrder() { return kClearingOrder; }

std::span<const ColumnInfo> CustomReportColumns() { return kAttributeValueColumns; }

}  // namespace oryx::reports
