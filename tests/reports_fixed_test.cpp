// The eight fixed reports, each checked as the CSV text its export holds.
#include <gtest/gtest.h>

#include "reports/fixed_reports.h"
#include "reports/report_error.h"
#include "reports_test_support.h"

namespace oryx::reports::test {
namespace {

struct ReportCase {
    const char* name;
    ReportId report;
    const char* file;      // lines after "start prov"
    const char* expected;  // the export, LF for CR LF
};

class FixedReport : public ::testing::TestWithParam<ReportCase> {};

TEST_P(FixedReport, ExportsAsExpected) {
    EXPECT_EQ(ReportCsv(GetParam().report, GetParam().file), Crlf(GetParam().expected));
}

std::string CaseName(const ::testing::TestParamInfo<ReportCase>& info) { return info.param.name; }

// ---- Node Summary ----

constexpr const char* kEmptySummary =
    "\"Attribute\",\"Value\"\n"
    "nodeId,\"\"\nnodeName,\"\"\nnamsId,\"\"\nregionId,\"\"\nnodePrefix,\"\"\n"
    "networkIdCode,\"\"\ndefaultNumberingPlan,\"\"\nprimaryReference,\"\"\n"
    "secondaryReference,\"\"\ntertiaryReference,\"\"\nroutingId,\"\"\nmoduleId,\"\"\n";

const ReportCase kNodeSummaryCases[] = {
    {"NoComponentsGivesTwelveEmptyRows", ReportId::NodeSummary, "add Shelf\n", kEmptySummary},
    {"EveryRowFromItsComponent", ReportId::NodeSummary,
     "add Mod\n"
     "set Mod nodeId 17, nodeName node17, namsId 4, regionId 2, nodePrefix 39.840f\n"
     "add Mod Vcs\n"
     "set Mod Vcs networkIdCode 1234, defaultNumberingPlan e164\n"
     "add Ns\n"
     "set Ns primaryReference Lp/0, secondaryReference Lp/1, tertiaryReference none\n"
     "add Rtg\n"
     "add Rtg Dpn\n"
     "set Rtg Dpn routingId 77, moduleId 12\n",
     "\"Attribute\",\"Value\"\n"
     "nodeId,\"17\"\nnodeName,\"node17\"\nnamsId,\"4\"\nregionId,\"2\"\nnodePrefix,\"39.840f\"\n"
     "networkIdCode,\"1234\"\ndefaultNumberingPlan,\"e164\"\nprimaryReference,\"Lp/0\"\n"
     "secondaryReference,\"Lp/1\"\ntertiaryReference,\"none\"\nroutingId,\"77\"\nmoduleId,\"12\"\n"},
    {"LaterLineWinsAndValueKeepsEquals", ReportId::NodeSummary, "add Mod\nset Mod nodeId 1, NodeID 2, nodeName A=B\n",
     "\"Attribute\",\"Value\"\n"
     "nodeId,\"2\"\nnodeName,\"A=B\"\nnamsId,\"\"\nregionId,\"\"\nnodePrefix,\"\"\n"
     "networkIdCode,\"\"\ndefaultNumberingPlan,\"\"\nprimaryReference,\"\"\n"
     "secondaryReference,\"\"\ntertiaryReference,\"\"\nroutingId,\"\"\nmoduleId,\"\"\n"},
    // Without Rtg, "Rtg Dpn" skips the missing piece and finds a top-level Dpn.
    {"MissingMiddlePieceIsSkipped", ReportId::NodeSummary, "add Dpn\nset Dpn routingId 5\n",
     "\"Attribute\",\"Value\"\n"
     "nodeId,\"\"\nnodeName,\"\"\nnamsId,\"\"\nregionId,\"\"\nnodePrefix,\"\"\n"
     "networkIdCode,\"\"\ndefaultNumberingPlan,\"\"\nprimaryReference,\"\"\n"
     "secondaryReference,\"\"\ntertiaryReference,\"\"\nroutingId,\"5\"\nmoduleId,\"\"\n"},
};

INSTANTIATE_TEST_SUITE_P(NodeSummary, FixedReport, ::testing::ValuesIn(kNodeSummaryCases), CaseName);

// ---- Virtual Router ----

constexpr const char* kRouterHeader =
    "\"Vr\",\"Pp\",\"linkToMedia\",\"logicalIf\",\"netMask\",\"broadcastAddress\",\"areaId\"\n";

const ReportCase kVirtualRouterCases[] = {
    {"NoRouters", ReportId::VirtualRouter, "add Shelf\n", kRouterHeader},
    {"RowsPerLogicalIfInStoreOrder", ReportId::VirtualRouter,
     "add Vr/2\n"
     "add Vr/2 Pp/ether1\n"
     "set Vr/2 Pp/ether1 linkToMedia Lp/2 Eth/0, linkToMedia Lp/2 Eth/1\n"
     "add Vr/2 Pp/ether1 IpPort\n"
     "add Vr/2 Pp/ether1 IpPort LogicalIf/10.1.1.1\n"
     "set Vr/2 Pp/ether1 IpPort LogicalIf/10.1.1.1 netMask 255.255.255.0, broadcastAddress 10.1.1.255\n"
     "add Vr/2 Pp/ether1 IpPort LogicalIf/10.1.1.1 OspfIf\n"
     "set Vr/2 Pp/ether1 IpPort LogicalIf/10.1.1.1 OspfIf areaId 0.0.0.1\n"
     "add Vr/2 Pp/ether1 IpPort LogicalIf/10.0.0.1\n"
     "add Vr/10\n"
     "add Vr/10 Pp/a\n"
     "add Vr/10 Pp/a IpPort\n"
     "add Vr/10 Pp/a IpPort LogicalIf/x/y\n"
     "set Vr/10 Pp/a IpPort LogicalIf/x/y netMask 255.0.0.0\n"
     "add Vr/3\n"
     "add Vr/3 Pp/noport\n",
     "\"Vr\",\"Pp\",\"linkToMedia\",\"logicalIf\",\"netMask\",\"broadcastAddress\",\"areaId\"\n"
     "10,\"a\",\"\",\"x/y\",\"255.0.0.0\",\"\",\"\"\n"
     "2,\"ether1\",\"Lp/2 Eth/1\",\"10.0.0.1\",\"\",\"\",\"\"\n"
     "2,\"ether1\",\"Lp/2 Eth/1\",\"10.1.1.1\",\"255.255.255.0\",\"10.1.1.255\",\"0.0.0.1\"\n"},
};

INSTANTIATE_TEST_SUITE_P(VirtualRouter, FixedReport, ::testing::ValuesIn(kVirtualRouterCases), CaseName);

// ---- AtmIf ----

constexpr const char* kAtmIfHeader =
    "\"AtmIf\",\"interfaceName\",\"oamSB\",\"Ts\",\"Upc\",\"Pnni\",\"Uni Version\",\"Uni Side\","
    "\"Ilmi Operating Mode\"\n";

const ReportCase kAtmIfCases[] = {
    {"NoInterfaces", ReportId::AtmIf, "add Shelf\n", kAtmIfHeader},
    {"WorkedExample", ReportId::AtmIf,
     "add AtmIf/2\n"
     "set AtmIf/2 interfaceName Lp/1 E1/0, usageParameterControl on\n"
     "add AtmIf/2 Uni\n"
     "set AtmIf/2 Uni version 3.1, side network\n"
     "add AtmIf/10\n",
     "\"AtmIf\",\"interfaceName\",\"oamSB\",\"Ts\",\"Upc\",\"Pnni\",\"Uni Version\",\"Uni Side\","
     "\"Ilmi Operating Mode\"\n"
     "10,\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\n"
     "2,\"Lp/1 E1/0\",\"\",\"\",\"on\",\"\",\"3.1\",\"network\",\"\"\n"},
    {"EveryColumn", ReportId::AtmIf,
     "add AtmIf/31\n"
     "set AtmIf/31 interfaceName Lp/3 Sonet/0 Path/0, oamSegmentBoundary yes, trafficShaping disabled, "
     "usageParameterControl off\n"
     "add AtmIf/31 Pnni\n"
     "add AtmIf/31 Uni\n"
     "set AtmIf/31 Uni version v3, side user, sideNote unused\n"
     "add AtmIf/31 Uni Ilmi\n"
     "set AtmIf/31 Uni Ilmi operatingMode automatic\n",
     "\"AtmIf\",\"interfaceName\",\"oamSB\",\"Ts\",\"Upc\",\"Pnni\",\"Uni Version\",\"Uni Side\","
     "\"Ilmi Operating Mode\"\n"
     "31,\"Lp/3 Sonet/0 Path/0\",\"yes\",\"disabled\",\"off\",\"Pnni\",\"v3\",\"unused\",\"automatic\"\n"},
    // Without a Uni, "Uni Ilmi" finds an Ilmi right below the interface.
    {"IlmiWithoutUni", ReportId::AtmIf, "add AtmIf/4\nadd AtmIf/4 Ilmi\nset AtmIf/4 Ilmi operatingMode manual\n",
     "\"AtmIf\",\"interfaceName\",\"oamSB\",\"Ts\",\"Upc\",\"Pnni\",\"Uni Version\",\"Uni Side\","
     "\"Ilmi Operating Mode\"\n"
     "4,\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"manual\"\n"},
};

INSTANTIATE_TEST_SUITE_P(AtmIf, FixedReport, ::testing::ValuesIn(kAtmIfCases), CaseName);

// ---- AtmIf VCC ----

constexpr const char* kVccHeader =
    "\"AtmIf\",\"VCC\",\"nextHop\",\"txtdt\",\"atmser\",\"txPcr\",\"txScr\",\"txRsr\",\"txMbs\","
    "\"txCdvt\",\"rxPcr\",\"rxScr\",\"rxRsr\",\"rxMbs\",\"rxCdvt\"\n";

#define VCC_HEADER                                                                                \
    "\"AtmIf\",\"VCC\",\"nextHop\",\"txtdt\",\"atmser\",\"txPcr\",\"txScr\",\"txRsr\",\"txMbs\"," \
    "\"txCdvt\",\"rxPcr\",\"rxScr\",\"rxRsr\",\"rxMbs\",\"rxCdvt\"\n"

const ReportCase kVccCases[] = {
    {"NoInterfaces", ReportId::AtmIfVcc, "add Shelf\n", kVccHeader},
    {"WorkedExample", ReportId::AtmIfVcc,
     "add AtmIf/1\n"
     "add AtmIf/1 Vcc/0.32\n"
     "add AtmIf/1 Vcc/0.32 Nrp\n"
     "set AtmIf/1 Vcc/0.32 Nrp nextHop AtmIf/2 Vcc/0.40\n"
     "add AtmIf/1 Vcc/0.32 Vcd\n"
     "set AtmIf/1 Vcc/0.32 Vcd atmServiceCategory cbr, txTrafficDescType 3\n"
     "add AtmIf/1 Vcc/0.32 Vcd Tm\n"
     "set AtmIf/1 Vcc/0.32 Vcd Tm txTrafficDescParm ab11 cde22 fgh33 ijk44 lmn55, txTrafficDescType 1\n"
     "add AtmIf/1 Vcc/0.100\n"
     "add AtmIf/1 Vcc/0.100 Nep\n"
     "add AtmIf/2\n",
     VCC_HEADER
     "1,\"0.100\",\"Nep\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\n"
     "1,\"0.32\",\"AtmIf/2 Vcc/0.40\",\"1\",\"cbr\",\"11\",\"22\",\"33\",\"44\",\"55\",\"\",\"\",\"\",\"\",\"\"\n"
     "2,\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\n"},
    {"EndPointKinds", ReportId::AtmIfVcc,
     "add AtmIf/5\n"
     "add AtmIf/5 Vcc/0.1\nadd AtmIf/5 Vcc/0.1 Nrp\nset AtmIf/5 Vcc/0.1 Nrp nextHop hop1\n"
     "add AtmIf/5 Vcc/0.1 Nep\n"
     "add AtmIf/5 Vcc/0.2\nadd AtmIf/5 Vcc/0.2 Nep\nadd AtmIf/5 Vcc/0.2 Loop\n"
     "add AtmIf/5 Vcc/0.3\nadd AtmIf/5 Vcc/0.3 Nrp\nadd AtmIf/5 Vcc/0.3 Src\n"
     "add AtmIf/5 Vcc/0.4\nadd AtmIf/5 Vcc/0.4 Test\nadd AtmIf/5 Vcc/0.4 Mnrp\n",
     VCC_HEADER "5,\"0.1\",\"hop1\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\n"
                "5,\"0.2\",\"Loop\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\n"
                "5,\"0.3\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\n"
                "5,\"0.4\",\"Test\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\n"},
    {"TmHidesVcdKeyByKey", ReportId::AtmIfVcc,
     "add AtmIf/6\nadd AtmIf/6 Vcc/0.9\nadd AtmIf/6 Vcc/0.9 Vcd\n"
     "set AtmIf/6 Vcc/0.9 Vcd atmServiceCategory ubr, txTrafficDescType 8, rxTrafficDescParm xx1 abc2\n"
     "add AtmIf/6 Vcc/0.9 Vcd Tm\n"
     "set AtmIf/6 Vcc/0.9 Vcd Tm txTrafficDescType 1\n",
     VCC_HEADER "6,\"0.9\",\"\",\"1\",\"ubr\",\"\",\"\",\"\",\"\",\"\",\"1\",\"\",\"\",\"\",\"\"\n"},
    // Without Vcc children the path ends in "Vcc/", which is skipped, so the
    // end point and traffic components are looked for below the interface.
    {"InterfaceWithoutConnections", ReportId::AtmIfVcc,
     "add AtmIf/7\nadd AtmIf/7 Nep\nadd AtmIf/7 Vcd\nset AtmIf/7 Vcd atmServiceCategory vbr\n",
     VCC_HEADER "7,\"\",\"Nep\",\"\",\"vbr\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\n"},
};

INSTANTIATE_TEST_SUITE_P(AtmIfVcc, FixedReport, ::testing::ValuesIn(kVccCases), CaseName);

struct SplitCase {
    const char* text;
    std::array<std::string, 5> fields;
};

class TrafficDescriptor : public ::testing::TestWithParam<SplitCase> {};

TEST_P(TrafficDescriptor, FiveFields) { EXPECT_EQ(SplitTrafficDescriptor(GetParam().text), GetParam().fields); }

const SplitCase kSplitCases[] = {
    {"ab11 cde22 fgh33 ijk44 lmn55", {"11", "22", "33", "44", "55"}},
    {"abcdefghijklmnopqr", {"", "", "", "", "opqr"}},
    {"pc4716 scr2000 rsr0", {"4716", "2000", "", "", ""}},
    {"ab11 cde22", {"11", "", "", "", ""}},
    {"ab", {"", "", "", "", ""}},
    {"a", {"", "", "", "", ""}},
    {"", {"", "", "", "", ""}},
    {"ab1 c", {"1", "", "", "", ""}},
    {"ab 1 2 3 4 5 6", {"", "", "", "", ""}},
};

INSTANTIATE_TEST_SUITE_P(AtmIfVcc, TrafficDescriptor, ::testing::ValuesIn(kSplitCases));

// ---- FrAtm ----

const ReportCase kFrAtmCases[] = {
    {"NoInterfaces", ReportId::FrAtm, "add Shelf\n",
     "\"FrAtm\",\"Interface Name\",\"Other Virtual Framer\",\"LP\",\"Procedures\",\"Side\",\"Address\"\n"},
    {"WorkedExample", ReportId::FrAtm,
     "add FrAtm/1\nadd FrAtm/1 Framer\nset FrAtm/1 Framer interfaceName Lp/4 E1/1\nadd FrAtm/2\n",
     "\"FrAtm\",\"Interface Name\",\"Other Virtual Framer\",\"LP\",\"Procedures\",\"Side\",\"Address\"\n"
     "1,\"Lp/4 E1/1\",\"\",\"\",\"\",\"\",\"\"\n"
     "2,\"\",\"\",\"\",\"\",\"\",\"\"\n"},
    {"TextOrderOfNames", ReportId::FrAtm,
     "add FrAtm/9\nadd FrAtm/10\nadd FrAtm/10 Framer\nset FrAtm/10 Framer linkType x\n",
     "\"FrAtm\",\"Interface Name\",\"Other Virtual Framer\",\"LP\",\"Procedures\",\"Side\",\"Address\"\n"
     "10,\"\",\"\",\"\",\"\",\"\",\"\"\n"
     "9,\"\",\"\",\"\",\"\",\"\",\"\"\n"},
};

INSTANTIATE_TEST_SUITE_P(FrAtm, FixedReport, ::testing::ValuesIn(kFrAtmCases), CaseName);

// ---- FrAtm DLCI ----

#define FRATM_DLCI_HEADER \
    "\"FrAtm\",\"Dlci\",\"atmConnection\",\"remoteAddress\",\"sdMode\",\"RE\",\"CIR\",\"Rem Conn Id\"\n"

const ReportCase kFrAtmDlciCases[] = {
    {"NoDlcis", ReportId::FrAtmDlci, "add FrAtm/1\n", FRATM_DLCI_HEADER},
    {"WorkedExample", ReportId::FrAtmDlci,
     "add FrAtm/2\n"
     "add FrAtm/2 Dlci/16\n"
     "add FrAtm/2 Dlci/16 Ca\nset FrAtm/2 Dlci/16 Ca sdMode dynamic\n"
     "add FrAtm/2 Dlci/16 Siwf\n"
     "add FrAtm/2 Dlci/16 Siwf Sd\nset FrAtm/2 Dlci/16 Siwf Sd mode sameAsInterface\n"
     "add FrAtm/2 Dlci/16 Siwf NPvc\nset FrAtm/2 Dlci/16 Siwf NPvc atmConnection AtmIf/1 Vcc/0.40\n"
     "add FrAtm/2 Dlci/16 Sp\nset FrAtm/2 Dlci/16 Sp rateEnforcement on\n"
     "add FrAtm/2 Dlci/17\n"
     "add FrAtm/2 Dlci/17 Siwf\n"
     "add FrAtm/2 Dlci/17 Siwf Sd\nset FrAtm/2 Dlci/17 Siwf Sd mode static\n",
     FRATM_DLCI_HEADER "2,\"16\",\"AtmIf/1 Vcc/0.40\",\"\",\"dynamic\",\"on\",\"\",\"\"\n"
                       "2,\"17\",\"\",\"\",\"static\",\"\",\"\",\"\"\n"},
    {"SoftPvcAndModeFallbacks", ReportId::FrAtmDlci,
     "add FrAtm/3\n"
     "add FrAtm/3 Dlci/100\n"
     "add FrAtm/3 Dlci/100 Ca\nset FrAtm/3 Dlci/100 Ca sdMode static\n"
     "add FrAtm/3 Dlci/100 Siwf\nadd FrAtm/3 Dlci/100 Siwf Sd\nset FrAtm/3 Dlci/100 Siwf Sd mode SAMEASINTERFACE\n"
     "add FrAtm/3 Dlci/100 Siwf SPvc\n"
     "set FrAtm/3 Dlci/100 Siwf SPvc remoteAddress 39.840f.0001, remoteConnectionIdentifier dlci 33\n"
     "add FrAtm/3 Dlci/100 Sp\nset FrAtm/3 Dlci/100 Sp committedInformationRate 64000\n"
     "add FrAtm/3 Dlci/20\n"
     "add FrAtm/3 Dlci/20 Siwf\nadd FrAtm/3 Dlci/20 Siwf Sd\n",
     FRATM_DLCI_HEADER "3,\"100\",\"\",\"39.840f.0001\",\"static\",\"\",\"64000\",\"dlci 33\"\n"
                       "3,\"20\",\"\",\"\",\"\",\"\",\"\",\"\"\n"},
};

INSTANTIATE_TEST_SUITE_P(FrAtmDlci, FixedReport, ::testing::ValuesIn(kFrAtmDlciCases), CaseName);

// ---- FrUni DLCI ----

#define FRUNI_DLCI_HEADER "\"FrUni\",\"Dlci\",\"rdna\",\"rdlci\",\"type\",\"tp\",\"dp\",\"re\",\"cir\"\n"

const ReportCase kFrUniDlciCases[] = {
    {"NoDlcis", ReportId::FrUniDlci, "add FrUni/1\nadd FrUni/1 Framer\n", FRUNI_DLCI_HEADER},
    {"WorkedExample", ReportId::FrUniDlci,
     "add FrUni/3\n"
     "add FrUni/3 Dlci/16\n"
     "add FrUni/3 Dlci/16 Dc\nset FrUni/3 Dlci/16 Dc remoteDlci 44, type permanent\n"
     "add FrUni/3 Dlci/16 Sp\nset FrUni/3 Dlci/16 Sp committedInformationRate 64000\n"
     "add FrUni/3 Dlci/100\n",
     FRUNI_DLCI_HEADER "3,\"100\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\n"
                       "3,\"16\",\"\",\"44\",\"permanent\",\"\",\"\",\"\",\"64000\"\n"},
    {"PlacementOfKeys", ReportId::FrUniDlci,
     "add FrUni/4\n"
     "add FrUni/4 Dlci/20\n"
     "add FrUni/4 Dlci/20 Dc\n"
     "set FrUni/4 Dlci/20 Dc type svc, connectionType pvc, remoteDna 3021, note remotedna 9, "
     "transferPriority 1, discardPriority 0, maxDiscardPriority 3\n"
     "add FrUni/4 Dlci/20 Sp\nset FrUni/4 Dlci/20 Sp rateEnforcement on, rateEnforcement off\n",
     FRUNI_DLCI_HEADER "4,\"20\",\"remotedna 9\",\"\",\"svc\",\"1\",\"0\",\"off\",\"\"\n"},
};

INSTANTIATE_TEST_SUITE_P(FrUniDlci, FixedReport, ::testing::ValuesIn(kFrUniDlciCases), CaseName);

// ---- Overview ----

#define OVERVIEW_HEADER "\"#\",\"Card\",\"LP\",\"LPT\",\"AtmIf\",\"FrUni\",\"FrAtm\",\"TRK\",\"FL\"\n"

const ReportCase kOverviewCases[] = {
    {"NoShelf", ReportId::Overview, "add Lp/0\nset Lp/0 mainCard Shelf Card/0\n", OVERVIEW_HEADER},
    {"WorkedExample", ReportId::Overview,
     "add Shelf\n"
     "add Shelf Card/0\n"
     "set Shelf Card/0 cardType typeA\n"
     "add Shelf Card/1\n"
     "set Shelf Card/1 cardType typeB\n"
     "add Lp/0\n"
     "set Lp/0 mainCard Shelf Card/0\n"
     "add Lp/1\n"
     "set Lp/1 mainCard Shelf Card/1, logicalProcessorType Sw Lpt/X\n"
     "add Sw\n"
     "add Sw Lpt/X\n"
     "set Sw Lpt/X featureList (alpha beta)\n"
     "add AtmIf/11\n"
     "set AtmIf/11 interfaceName Lp/1 E1/0\n"
     "add Trk/5\n"
     "add Trk/5 Atm\n"
     "set Trk/5 Atm atmConnection AtmIf/11 Vcc/0.32\n",
     OVERVIEW_HEADER "0,\"typeA\",\"0\",\"\",\"\",\"\",\"\",\"\",\"\"\n"
                     "1,\"typeB\",\"1\",\"Lpt/X\",\"11\",\"\",\"\",\"5\",\"alpha, beta\"\n"},
    {"CardsInNumericOrder", ReportId::Overview,
     "add Shelf\nadd Shelf Card/3\nadd Shelf Card/10\nadd Shelf Card/2\nadd Shelf Card/0\n",
     OVERVIEW_HEADER "0,\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\n"
                     "2,\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\n"
                     "3,\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\n"
                     "10,\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\n"},
    {"CardNumberedBeyondTheShelfsEntries", ReportId::Overview,
     "add Shelf\nadd Shelf Card/0\nadd Shelf Card/1\nadd Shelf Card/9\nset Shelf Card/9 cardType cp\n"
     "add Lp/9\nset Lp/9 mainCard Shelf Card/9\n"
     "add AtmIf/91\nset AtmIf/91 interfaceName Lp/9 Sonet/0\n",
     OVERVIEW_HEADER "0,\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\n"
                     "1,\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\n"
                     "9,\"cp\",\"9\",\"\",\"91\",\"\",\"\",\"\",\"\"\n"},
    {"CardTypeIsTheLineWithoutNineCharacters", ReportId::Overview,
     "add Shelf\nadd Shelf Card/0\nset Shelf Card/0 cardType x, CardTypes yy, note cardtype\n",
     OVERVIEW_HEADER "0,\"type\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\n"},
    {"HigherLpWinsAndTypeNeedsAnEarlierCardLine", ReportId::Overview,
     "add Shelf\nadd Shelf Card/0\nadd Shelf Card/1\nadd Shelf Card/2\n"
     "add Lp/1\nset Lp/1 logicalProcessorType Sw Early, mainCard Shelf Card/1\n"
     "add Lp/2\nset Lp/2 mainCard Shelf Card/1, spareCard Shelf Card/2, logicalProcessorType Sw Late\n"
     "add Lp/0\nset Lp/0 mainCard Shelf Card/0!, spareCard Shelf Card/2\n",
     OVERVIEW_HEADER "0,\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\n"
                     "1,\"\",\"2\",\"Late\",\"\",\"\",\"\",\"\",\"\"\n"
                     "2,\"\",\"2\",\"Late\",\"\",\"\",\"\",\"\",\"\"\n"},
    // A type line reaches every card its LP named before it, and a card the
    // LP names only afterwards keeps the type an earlier LP gave it.
    {"TypeLinesReachTheCardsNamedBeforeThem", ReportId::Overview,
     "add Shelf\nadd Shelf Card/0\nadd Shelf Card/1\nadd Shelf Card/2\nadd Shelf Card/3\n"
     "add Lp/0\nset Lp/0 mainCard Shelf Card/3, logicalProcessorType Sw Zero\n"
     "add Lp/1\nset Lp/1 mainCard Shelf Card/0, logicalProcessorType Sw A, spareCard Shelf Card/1, "
     "mainCard Shelf Card/0, logicalProcessorType Sw B, spareCard Shelf Card/2, spareCard Shelf Card/3\n",
     OVERVIEW_HEADER "0,\"\",\"1\",\"B\",\"\",\"\",\"\",\"\",\"\"\n"
                     "1,\"\",\"1\",\"B\",\"\",\"\",\"\",\"\",\"\"\n"
                     "2,\"\",\"1\",\"\",\"\",\"\",\"\",\"\",\"\"\n"
                     "3,\"\",\"1\",\"Zero\",\"\",\"\",\"\",\"\",\"\"\n"},
    // One line that names a card and holds the type word gives the card that type.
    {"OneLineNamingACardAndItsType", ReportId::Overview,
     "add Shelf\nadd Shelf Card/0\nadd Lp/0\nset Lp/0 mainCardLogicalProcessorType Sw T Card/0\n",
     OVERVIEW_HEADER "0,\"\",\"0\",\"T Card/0\",\"\",\"\",\"\",\"\",\"\"\n"},
    {"InterfacesInStoreOrderWithoutBlanks", ReportId::Overview,
     "add Shelf\nadd Shelf Card/3\n"
     "add AtmIf/9\nset AtmIf/9 interfaceName Lp/3 E1/0\n"
     "add AtmIf/10\nset AtmIf/10 interfaceName Lp/3 E1/1\n"
     "add AtmIf/100\nset AtmIf/100 interfaceName Lp/3\n"
     "add FrUni/12\nadd FrUni/12 Framer\nset FrUni/12 Framer interfaceName Lp/3 E1/2\n"
     "add FrUni/12 VFramer\nset FrUni/12 VFramer logicalProcessor Lp/3\n"
     "add FrAtm/4\nadd FrAtm/4 VFramer\nset FrAtm/4 VFramer logicalProcessor Lp/3\n",
     OVERVIEW_HEADER "3,\"\",\"\",\"\",\"10,100,9\",\"12,12\",\"4\",\"\",\"\"\n"},
    {"TrunksMatchWholeItems", ReportId::Overview,
     "add Shelf\nadd Shelf Card/1\nadd Shelf Card/2\nadd Shelf Card/3\n"
     "add AtmIf/11\nset AtmIf/11 interfaceName Lp/1 E1/0\n"
     "add AtmIf/1\nset AtmIf/1 interfaceName Lp/1 E1/1\n"
     "add AtmIf/21\nset AtmIf/21 interfaceName Lp/3 E1/0\n"
     "add AtmIf/12\nset AtmIf/12 interfaceName Lp/3 E1/1\n"
     "add Trk/7\nadd Trk/7 Atm\nset Trk/7 Atm atmConnection AtmIf/1 Vcc/0.32\n"
     "add Trk/8\nadd Trk/8 Atm\nset Trk/8 Atm atmConnection AtmIf/12 Vcc/0.32\n"
     "add Trk/9\nadd Trk/9 Atm\nset Trk/9 Atm atmConnection AtmIf/12\n",
     OVERVIEW_HEADER "1,\"\",\"\",\"\",\"1,11\",\"\",\"\",\"7\",\"\"\n"
                     "2,\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\n"
                     "3,\"\",\"\",\"\",\"12,21\",\"\",\"\",\"8\",\"\"\n"},
    {"FeatureListGetsCommasBeforeBlanks", ReportId::Overview,
     "add Shelf\nadd Shelf Card/5\n"
     "add Lp/5\nset Lp/5 mainCard Shelf Card/5, logicalProcessorType Sw Lpt/cp\n"
     "add Sw\nadd Sw Lpt/cp\nset Sw Lpt/cp featureList (ip atm fr)\n",
     OVERVIEW_HEADER "5,\"\",\"5\",\"Lpt/cp\",\"\",\"\",\"\",\"\",\"ip, atm, fr\"\n"},
    {"FeatureListWithoutClosingBracketLosesTheOpeningOne", ReportId::Overview,
     "add Shelf\nadd Shelf Card/5\n"
     "add Lp/5\nset Lp/5 mainCard Shelf Card/5, logicalProcessorType Sw Lpt/cp\n"
     "add Sw\nadd Sw Lpt/cp\nset Sw Lpt/cp featureList (ip atm\n",
     OVERVIEW_HEADER "5,\"\",\"5\",\"Lpt/cp\",\"\",\"\",\"\",\"\",\"ip, atm\"\n"},
    {"FeatureListWithoutBracketsIsKeptWhole", ReportId::Overview,
     "add Shelf\nadd Shelf Card/5\n"
     "add Lp/5\nset Lp/5 mainCard Shelf Card/5, logicalProcessorType Sw Lpt/cp\n"
     "add Sw\nadd Sw Lpt/cp\nset Sw Lpt/cp featureList ip atm)\n",
     OVERVIEW_HEADER "5,\"\",\"5\",\"Lpt/cp\",\"\",\"\",\"\",\"\",\"ip, atm)\"\n"},
    {"FeatureListOfEmptyBrackets", ReportId::Overview,
     "add Shelf\nadd Shelf Card/5\n"
     "add Lp/5\nset Lp/5 mainCard Shelf Card/5, logicalProcessorType Sw Lpt/cp\n"
     "add Sw\nadd Sw Lpt/cp\nset Sw Lpt/cp featureList ()\n",
     OVERVIEW_HEADER "5,\"\",\"5\",\"Lpt/cp\",\"\",\"\",\"\",\"\",\"\"\n"},
    {"LinesWithoutTheirMarkerGiveNothing", ReportId::Overview,
     "add Shelf\nadd Shelf Card/0\n"
     "add Lp/0\nset Lp/0 mainCard Card0, mainCard Shelf Card/0, logicalProcessorType Lpt/X\n"
     "add AtmIf/3\nset AtmIf/3 interfaceName atm3\n"
     "add Trk/1\nadd Trk/1 Atm\nset Trk/1 Atm atmConnection AtmIf/3\n",
     OVERVIEW_HEADER "0,\"\",\"0\",\"\",\"\",\"\",\"\",\"\",\"\"\n"},
    {"UnknownCardAndNegativeNumbersGiveNothing", ReportId::Overview,
     "add Shelf\nadd Shelf Card/-1\nadd Shelf Card/2\n"
     "add Lp/2\nset Lp/2 spareCard Shelf Card/7, logicalProcessorType Sw Lpt/Y, mainCard Shelf Card/2\n"
     "add AtmIf/1\nset AtmIf/1 interfaceName Lp/-2 E1/0\n",
     OVERVIEW_HEADER "2,\"\",\"2\",\"\",\"\",\"\",\"\",\"\",\"\"\n"},
    {"LpAboveTheShelfsEntryCount", ReportId::Overview,
     "add Shelf\nadd Shelf Card/0\nadd Lp/15\nset Lp/15 mainCard Shelf Card/0, logicalProcessorType Sw Lpt/Z\n"
     "add Lp/016\nset Lp/016 spareCard Shelf Card/0\n",
     OVERVIEW_HEADER "0,\"\",\"15\",\"Lpt/Z\",\"\",\"\",\"\",\"\",\"\"\n"},
    // A child named "add" of the add node: "add FrUni/1 Framer" then walks
    // into it and no longer reaches the interface's Framer.
    {"ChildNamedAddHidesFramers", ReportId::Overview,
     "add Shelf\nadd Shelf Card/0\nadd add\n"
     "add FrUni/1\nadd FrUni/1 Framer\nset FrUni/1 Framer interfaceName Lp/0 E1/0\n"
     "add AtmIf/2\nset AtmIf/2 interfaceName Lp/0 E1/1\n",
     OVERVIEW_HEADER "0,\"\",\"\",\"\",\"2\",\"\",\"\",\"\",\"\"\n"},
    {"HugeNumbersCostNothing", ReportId::Overview,
     "add Shelf\nadd Shelf Card/2000000000\nadd Lp/2000000000\n"
     "set Lp/2000000000 mainCard Shelf Card/2000000000\n"
     "add AtmIf/8\nset AtmIf/8 interfaceName Lp/2000000000 E1/0\n",
     OVERVIEW_HEADER "2000000000,\"\",\"2000000000\",\"\",\"8\",\"\",\"\",\"\",\"\"\n"},
};

INSTANTIATE_TEST_SUITE_P(Overview, FixedReport, ::testing::ValuesIn(kOverviewCases), CaseName);

struct FailureCase {
    const char* name;
    const char* file;
    const char* message;
};

class OverviewFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(OverviewFailure, StopsWithTheMessageAndNoRows) {
    LoadedStore loaded(StartProv(GetParam().file));
    ReportRows rows;
    try {
        BuildOverviewRows(loaded.store, rows);
        ADD_FAILURE() << "no error";
    } catch (const ReportError& e) {
        EXPECT_STREQ(e.what(), GetParam().message);
    }
    EXPECT_TRUE(rows.empty());
}

const FailureCase kFailureCases[] = {
    {"CardNumberNotANumber", "add Shelf\nadd Shelf Card/0\nadd Shelf Card/x1\n", "'x1' is not a valid integer value"},
    {"CardNumberEmpty", "add Shelf\nadd Shelf Card/\n", "'' is not a valid integer value"},
    {"CardNumberTooLarge", "add Shelf\nadd Shelf Card/2147483648\n", "'2147483648' is not a valid integer value"},
    {"CardNumberInHex", "add Shelf\nadd Shelf Card/0x10\n", "'0x10' is not a valid integer value"},
    {"LpOfAnInterfaceName", "add Shelf\nadd Shelf Card/0\nadd AtmIf/1\nset AtmIf/1 interfaceName Lp/three E1/0\n",
     "'three' is not a valid integer value"},
    {"LpOfAVFramer", "add Shelf\nadd FrUni/1\nadd FrUni/1 VFramer\nset FrUni/1 VFramer logicalProcessor Lp/\n",
     "'' is not a valid integer value"},
};

INSTANTIATE_TEST_SUITE_P(Overview, OverviewFailure, ::testing::ValuesIn(kFailureCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(OverviewNumbers, SignedNumbersAreIntegers) {
    EXPECT_EQ(ReportCsv(ReportId::Overview, "add Shelf\nadd Shelf Card/+4\nadd Shelf Card/-2147483648\n"),
              Crlf(OVERVIEW_HEADER "+4,\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\n"));
}

// One LP naming many cards, a type line after each: every card gets the
// last type. Built in linear time; only the test's time limit watches that.
TEST(OverviewLargeInput, ManyCardsNamedByOneLp) {
    constexpr int kCards = 30000;
    const std::string padding(500, 'p');
    std::string file = "start prov\nadd Shelf\n";
    for (int i = 0; i < kCards; ++i) file += "add Shelf Card/" + std::to_string(i) + "\n";
    file += "add Lp/0\n";
    for (int i = 0; i < kCards; ++i) {
        file += "set Lp/0 mainCard Shelf Card/" + std::to_string(i) + "\n";
        file += "set Lp/0 logicalProcessorType Sw T" + std::to_string(i) + padding + "\n";
    }
    LoadedStore loaded(file);
    ReportRows rows;
    BuildOverviewRows(loaded.store, rows);
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(kCards));
    const std::string lastType = "T" + std::to_string(kCards - 1) + padding;
    for (std::size_t i = 0; i < std::size_t{kCards}; ++i) {
        ASSERT_EQ(rows[i].First(), std::to_string(i));
        ASSERT_EQ(rows[i].Cell(1), "0") << i;
        ASSERT_EQ(rows[i].Cell(2), lastType) << i;
    }
}

// ---- both formats ----

TEST(ConfigureFormat, ReportsReadNestedComponents) {
    LoadedStore loaded(
        "saved configuration\n"
        "configure AtmIf/3\nset interfaceName Lp/2 E1/0\n"
        "configure Vcc/0.40\nconfigure Nrp\nset nextHop AtmIf/4 Vcc/0.41\nreturn\nreturn\nreturn\n"
        "configure Shelf\nconfigure Card/2\nset cardType eth\nreturn\nreturn\n");
    ReportRows rows;
    BuildAtmIfVccRows(loaded.store, rows);
    BuildOverviewRows(loaded.store, rows);
    EXPECT_EQ(
        CsvText(Report(ReportId::AtmIfVcc).columns, rows),
        Crlf(VCC_HEADER "3,\"0.40\",\"AtmIf/4 Vcc/0.41\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\n"
                        "2,\"eth\",\"\",\"\",\"3\",\"\",\"\",\"\",\"\"\n"));
}

TEST(ReleasedStore, EveryReportIsEmptyOrFixed) {
    prov::ComponentStore store;
    store.Clear();
    for (const ReportInfo& info : FixedReports()) {
        ReportRows rows;
        BuildReportRows(info.id, store, rows);
        EXPECT_EQ(rows.size(), info.id == ReportId::NodeSummary ? 12u : 0u) << info.cliName;
    }
}

}  // namespace
}  // namespace oryx::reports::test
