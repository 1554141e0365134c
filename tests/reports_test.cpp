// The reports' shared pieces: registry, attribute search, column widths, CSV.
#include <gtest/gtest.h>

#include "memory_limit.h"
#include "param_name.h"
#include "prov/component_store.h"
#include "reports/attribute_search.h"
#include "reports/column_widths.h"
#include "reports/csv_export.h"
#include "reports/custom_report.h"
#include "reports/report_config.h"
#include "reports/report_error.h"
#include "reports/report_registry.h"
#include "reports/report_rows.h"
#include "reports/report_text.h"
#include "reports_test_support.h"

namespace oryx::reports::test {
namespace {

// ---- running out of memory ----

// A report that runs out of memory says which one it was, and gives back
// the rows it had built.
TEST(ReportMemory, RunningOutNamesTheReport) {
    if (!oryx::testing::kMemoryLimitsWork) GTEST_SKIP() << "no memory limits under the address sanitizer";
    std::string node = "start prov\n";
    std::string config = "[Big Names]\n";
    for (int i = 0; i < 40; ++i) {
        const std::string atmIf = "AtmIf/" + std::to_string(i);
        node += "add " + atmIf + "\nset " + atmIf + " interfaceName " + std::string(1u << 20, 'n') + "\n";
        config += "k" + std::to_string(i) + "=" + atmIf + " &interfacename\n";
    }
    const LoadedStore loaded(node);
    const ReportConfig parsed = ReportConfig::Parse(config);
    const struct {
        const char* expected;
        std::function<void(ReportRows&)> build;
    } cases[] = {
        {"not enough memory to build the atmif report",
         [&](ReportRows& rows) { BuildReportRows(ReportId::AtmIf, loaded.store, rows); }},
        {"not enough memory to build the big names report",
         [&](ReportRows& rows) { BuildCustomReportRows(loaded.store, parsed, "big names", rows); }},
    };
    for (const auto& c : cases) {
        ReportRows rows;
        c.build(rows);
        ASSERT_EQ(rows.size(), 40u);  // fits without the limit
        const int result = oryx::testing::WithMemoryHeadroom(8u << 20, [&] {
            ReportRows limited;
            try {
                c.build(limited);
            } catch (const ReportError& e) {
                return std::string(e.what()) == c.expected && limited.capacity() == 0 ? 0 : 2;
            } catch (...) {
                return 3;
            }
            return 1;
        });
        EXPECT_EQ(result, 0) << c.expected;
    }
}

// ---- registry ----

TEST(ReportRegistry, LookupsByCodeAndCliName) {
    for (const ReportInfo& r : FixedReports()) {
        EXPECT_EQ(ReportByCode(r.code), r.id);
        EXPECT_EQ(ReportByCliName(r.cliName), r.id);
        EXPECT_EQ(&Report(r.id), &r);
    }
    EXPECT_FALSE(ReportByCode(0));
    EXPECT_FALSE(ReportByCode(10));
    EXPECT_FALSE(ReportByCliName("Overview"));
}

// ---- FindAttributeValue ----

struct SearchCase {
    const char* name;
    const char* file;  // lines after "start prov"; the searched component is the last one added
    const char* path;
    const char* key;
    const char* expected;
};

class AttributeSearch : public ::testing::TestWithParam<SearchCase> {};

TEST_P(AttributeSearch, ValueOfTheLastMatchingLine) {
    LoadedStore loaded(StartProv(GetParam().file));
    const prov::AttributeList* list = prov::GetAttributes(prov::FindComponent(&loaded.store.Root(), GetParam().path));
    EXPECT_EQ(FindAttributeValue(list, GetParam().key), GetParam().expected);
}

const SearchCase kSearchCases[] = {
    {"NameMatchesInAnyCase", "add Mod\nset Mod nodeId 42\n", "add Mod", "nodeid", "42"},
    {"LaterLineWins", "add Mod\nset Mod nodeId 1, NODEID 2\n", "add Mod", "nodeid", "2"},
    {"KeyInsideALongerName", "add Mod\nset Mod nodeIdent 7, other 8\n", "add Mod", "nodeid", "7"},
    {"KeyInsideAValue", "add Uni\nset Uni version 3.1, note side-by-side\n", "add Uni", "side", "side-by-side"},
    {"ValueKeepsEqualsSigns", "add Mod\nset Mod nodeName A=B\n", "add Mod", "nodename", "A=B"},
    {"ValueKeepsItsCase", "add Mod\nset Mod nodeName MixedCase\n", "add Mod", "nodename", "MixedCase"},
    {"PairWithoutBlankMatchesByItsValue", "add Mod\nset Mod nodeName x, nodeName\n", "add Mod", "nodename", "nodeName"},
    {"NoMatch", "add Mod\nset Mod nodeName x\n", "add Mod", "regionid", ""},
    {"NameLineTakesPart", "add Mod\nadd Mod Side\n", "add Mod Side", "side", "Side"},
    {"FullPathLineTakesPart", "add Mod\nadd Mod Side\n", "add Mod Side", "mod", "add Mod Side"},
    {"FullPathPrefixTakesPart", "add Mod\n", "add Mod", "path=add", "add Mod"},
    {"KeyAcrossPathPieces", "add Mod\nadd Mod Side\n", "add Mod Side", "mod side", "add Mod Side"},
    {"KeyAcrossNoBlank", "add Mod\nadd Mod Side\n", "add Mod Side", "modside", ""},
    {"FileLineComesAfterBookkeeping", "add Vcs\nset Vcs mode vcs1\n", "add Vcs", "vcs", "vcs1"},
    {"MissingComponent", "add Mod\n", "add Ns", "mod", ""},
};

INSTANTIATE_TEST_SUITE_P(Reports, AttributeSearch, ::testing::ValuesIn(kSearchCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(AttributeSearchVariants, MatchIsToldApartFromNoMatch) {
    LoadedStore loaded(StartProv("add Tm\nset Tm txTrafficDescType 1\n"));
    const prov::AttributeList* list = prov::GetAttributes(prov::FindComponent(&loaded.store.Root(), "add Tm"));
    EXPECT_EQ(FindMatchingAttributeValue(list, "txtrafficdesctype"), std::optional<std::string>("1"));
    EXPECT_EQ(FindMatchingAttributeValue(list, "atmservicecategory"), std::nullopt);
    EXPECT_EQ(FindMatchingAttributeValue(nullptr, "x"), std::nullopt);
}

TEST(AttributeSearchVariants, AtStartMatchesOnlyLinesBeginningWithTheKey) {
    LoadedStore loaded(StartProv("add Dc\nset Dc type permanent, connectionType x, typeOf y, note type\n"));
    const prov::AttributeList* list = prov::GetAttributes(prov::FindComponent(&loaded.store.Root(), "add Dc"));
    EXPECT_EQ(FindAttributeValueAtStart(list, "type"), "y");
    EXPECT_EQ(FindAttributeValue(list, "type"), "type");
}

struct FinderCase {
    std::string text;
    std::string word;
    bool found;
};

class WordFinder : public ::testing::TestWithParam<FinderCase> {};

TEST_P(WordFinder, AgreesWithThePlainSearch) {
    EXPECT_EQ(LowerWordFinder(GetParam().word).FoundIn(GetParam().text), GetParam().found);
    EXPECT_EQ(ContainsLower(GetParam().text, GetParam().word), GetParam().found);
}

const FinderCase kFinderCases[] = {
    {"txTrafficDescParm=pc1 scr0", "trafficdescparm", true},
    {"abcabd", "abd", true},
    {"aaab", "aab", true},
    {"ABCAB", "cab", true},
    {"abcab", "cabx", false},
    {"xyz", "", true},
    {"ab", "abc", false},
    {"NODEID=1", "nodeid", true},
    {"node id", "nodeid", false},
    {"\xC4\xE4=1", "\xE4", true},
    {std::string(400, 'A') + "B", std::string(300, 'a') + "b", true},
    {std::string(400, 'a'), std::string(300, 'a') + "b", false},
};

INSTANTIATE_TEST_SUITE_P(Reports, WordFinder, ::testing::ValuesIn(kFinderCases),
                         [](const auto& test) { return oryx::testing::ParamName(test.param.word, test.index); });

// ---- report rows ----

// A row built cell by cell, then given a new first cell (the Virtual Router
// list's edit): every cell reads back as written, by index and in order.
struct RowCase {
    const char* name;
    std::string first;
    std::vector<std::string> cells;
    std::string editedFirst;
};

class ReportRowCells : public ::testing::TestWithParam<RowCase> {};

void ExpectCells(const ReportRow& row, std::string_view first, const std::vector<std::string>& cells) {
    EXPECT_EQ(row.First(), first);
    ASSERT_EQ(row.CellCount(), cells.size());
    std::vector<std::string> inOrder;
    for (std::string_view cell : row.Cells()) inOrder.emplace_back(cell);
    EXPECT_EQ(inOrder, cells);
    for (std::size_t i = 0; i < cells.size(); ++i) EXPECT_EQ(row.Cell(i), cells[i]) << i;
}

TEST_P(ReportRowCells, ReadBackAsWrittenBeforeAndAfterTheEdit) {
    ReportRow row(GetParam().first);
    for (const std::string& cell : GetParam().cells) row.AddCell(cell);
    ExpectCells(row, GetParam().first, GetParam().cells);
    row.SetFirst(GetParam().editedFirst);
    ExpectCells(row, GetParam().editedFirst, GetParam().cells);
}

const RowCase kRowCases[] = {
    {"NoFurtherCells", "a", {}, "bc"},
    {"EmptyCellsAnywhere", "", {"", "x", "", ""}, ""},
    // Lengths from 128 bytes on take more than one byte of the buffer.
    {"LongCells",
     std::string(127, 'a'),
     {std::string(128, 'b'), "", std::string(20000, 'c'), "d"},
     std::string(300, 'e')},
    {"EditShortensTheFirstCell", std::string(200, 'a'), {"x", std::string(129, 'y')}, "z"},
    {"AnyBytes", std::string("\0\x80\xFF", 3), {std::string("\x7F\0", 2), "\r\n"}, "\xE9"},
};

INSTANTIATE_TEST_SUITE_P(Reports, ReportRowCells, ::testing::ValuesIn(kRowCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(ReportRowCells, EmptyCellsAddedAtOnceAreCells) {
    ReportRow row("AtmIf/1");
    row.AddCell("0.32");
    row.AddEmptyCells(3);
    row.AddCell("ubr");
    ExpectCells(row, "AtmIf/1", {"0.32", "", "", "", "ubr"});
    EXPECT_EQ(row, ReportRow("AtmIf/1", {"0.32", "", "", "", "ubr"}));
    EXPECT_NE(row, ReportRow("AtmIf/1", {"0.32", "", "", "ubr"}));
}

TEST(ReportRowCells, AnEmptyRowHasAnEmptyFirstCellOnly) {
    ReportRow row;
    ExpectCells(row, "", {});
    EXPECT_EQ(row, ReportRow(""));
    row.AddCell("v");
    ExpectCells(row, "", {"v"});
}

// ---- AutoSizeColumns ----

struct WidthCase {
    const char* name;
    ReportRows rows;
    std::size_t columns;
    std::vector<int> expected;
};

class ColumnWidths : public ::testing::TestWithParam<WidthCase> {};

// Ten pixels per byte, so widths read off the texts.
int TenPerByte(std::string_view text) { return static_cast<int>(text.size()) * 10; }

TEST_P(ColumnWidths, WidestCellPlusFiveOr35) {
    EXPECT_EQ(AutoSizeColumns(GetParam().rows, GetParam().columns, TenPerByte), GetParam().expected);
}

const WidthCase kWidthCases[] = {
    {"NoRows", {}, 3, {35, 35, 35}},
    {"WidestCellDecides", {{"ab", {"", "abcdefghij"}}, {"abcd", {"x", "y"}}}, 3, {45, 15, 105}},
    {"EmptyColumn", {{"a", {"", ""}}, {"b", {"", ""}}}, 3, {15, 35, 35}},
    {"EmptyFirstCells", {{"", {"x"}}}, 2, {35, 15}},
    {"ShortRowCountsAsEmpty", {{"a", {"xy"}}, {"b", {}}}, 3, {15, 25, 35}},
};

INSTANTIATE_TEST_SUITE_P(Reports, ColumnWidths, ::testing::ValuesIn(kWidthCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(ColumnWidthsMeasure, EmptyFurtherCellsAreNeverMeasured) {
    int calls = 0;
    const ReportRows rows = {{"a", {"", "b"}}};
    AutoSizeColumns(rows, 3, [&](std::string_view text) {
        ++calls;
        EXPECT_TRUE(!text.empty() || calls == 1);  // only the first cell may be measured empty
        return 1;
    });
    EXPECT_EQ(calls, 2);
}

// ---- CSV export ----

struct CsvCase {
    const char* name;
    std::vector<ColumnInfo> columns;
    ReportRows rows;
    const char* expected;  // LF here, CR LF in the file
};

class CsvExport : public ::testing::TestWithParam<CsvCase> {};

TEST_P(CsvExport, BytesOfTheExportFile) {
    EXPECT_EQ(CsvText(GetParam().columns, GetParam().rows), Crlf(GetParam().expected));
}

const std::vector<ColumnInfo> kAttributeValue = {{"Attribute", 150}, {"Value", 150}};

const CsvCase kCsvCases[] = {
    {"NodeSummaryExample",
     kAttributeValue,
     {{"nodeId", {"42"}}, {"nodeName", {""}}},
     "\"Attribute\",\"Value\"\nnodeId,\"42\"\nnodeName,\"\"\n"},
    {"NoRowsGivesTheHeaderAlone", kAttributeValue, {}, "\"Attribute\",\"Value\"\n"},
    {"EmptyFirstCell", kAttributeValue, {{"", {"v"}}}, "\"Attribute\",\"Value\"\n,\"v\"\n"},
    {"AllFurtherCellsEmpty",
     {{"A"}, {"B"}, {"C"}, {"D"}},
     {{"x", {"", "", ""}}},
     "\"A\",\"B\",\"C\",\"D\"\nx,\"\",\"\",\"\"\n"},
    {"QuoteInAFurtherCellIsDoubled",
     kAttributeValue,
     {{"a", {"say \"hi\""}}},
     "\"Attribute\",\"Value\"\na,\"say \"\"hi\"\"\"\n"},
    {"CommaInAFurtherCellStaysInsideQuotes", kAttributeValue, {{"a", {"1,2"}}}, "\"Attribute\",\"Value\"\na,\"1,2\"\n"},
    {"FirstCellWithCommaIsQuoted", kAttributeValue, {{"11,1", {"x"}}}, "\"Attribute\",\"Value\"\n\"11,1\",\"x\"\n"},
    {"FirstCellWithQuoteIsQuotedAndDoubled",
     kAttributeValue,
     {{"a\"b", {"x"}}},
     "\"Attribute\",\"Value\"\n\"a\"\"b\",\"x\"\n"},
    {"FirstCellWithLineBreakIsQuoted", kAttributeValue, {{"a\rb", {"x"}}}, "\"Attribute\",\"Value\"\n\"a\rb\",\"x\"\n"},
    {"OtherBytesStayBare",
     kAttributeValue,
     {{" a;b\t\xE9 ", {" \xE9 "}}},
     "\"Attribute\",\"Value\"\n a;b\t\xE9 ,\" \xE9 \"\n"},
};

INSTANTIATE_TEST_SUITE_P(Reports, CsvExport, ::testing::ValuesIn(kCsvCases),
                         [](const auto& test) { return std::string(test.param.name); });

struct FileNameCase {
    const char* path;
    const char* title;
    const char* expected;
};

class ProposedFileName : public ::testing::TestWithParam<FileNameCase> {};

TEST_P(ProposedFileName, BaseNameDashTitleCsv) {
    EXPECT_EQ(ProposedCsvFileName(GetParam().path, GetParam().title), GetParam().expected);
}

const FileNameCase kFileNameCases[] = {
    {"C:\\prov\\node17.txt", "AtmIf Report", "node17 - AtmIf Report.csv"},
    {"/home/ops/prov/node17.txt", "AtmIf Report", "node17 - AtmIf Report.csv"},
    {"/prov/node17", "Node Summary Report", "node17 - Node Summary Report.csv"},
    {"/prov/a.b.txt", "FrUni DLCI Report", "a.b - FrUni DLCI Report.csv"},
    {"/prov.d/node", "Virtual Router Report", "node - Virtual Router Report.csv"},
    {"node17.txt", "FrAtm Report - UNDER CONSTRUCTION", "node17 - FrAtm Report - UNDER CONSTRUCTION.csv"},
    {"/prov/node17.txt", "Cards/Slots", "node17 - Cards_Slots.csv"},
    {"/prov/node17.txt", "a\\b", "node17 - a_b.csv"},
};

INSTANTIATE_TEST_SUITE_P(Reports, ProposedFileName, ::testing::ValuesIn(kFileNameCases),
                         [](const auto& test) { return oryx::testing::ParamName(test.param.title, test.index); });

}  // namespace
}  // namespace oryx::reports::test
