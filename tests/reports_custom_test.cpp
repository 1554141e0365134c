// Custom reports: the report configuration file, the menu order and the rows.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <optional>

#include "reports/attribute_search.h"
#include "reports/custom_report.h"
#include "reports/many_keys_search.h"
#include "reports/report_config.h"
#include "reports/report_registry.h"
#include "reports_test_support.h"

namespace oryx::reports::test {
namespace {

// The configuration as the menu and the reports see it: each listed section
// with its keys and their values.
std::string Dump(const ReportConfig& config) {
    std::string text;
    for (const std::string& section : config.SectionNames()) {
        text += "[" + section + "]\n";
        for (const std::string& key : config.KeyNames(section)) text += key + "=" + config.Value(section, key) + "\n";
    }
    return text;
}

struct ConfigCase {
    const char* name;
    std::string file;
    std::string expected;
};

class ConfigFile : public ::testing::TestWithParam<ConfigCase> {};

TEST_P(ConfigFile, ReadsLikeAnInitializationFile) {
    EXPECT_EQ(Dump(ReportConfig::Parse(GetParam().file)), GetParam().expected);
}

const ConfigCase kConfigCases[] = {
    {"WorkedExample",
     "[Shelf Cards]\nCard 0=Shelf Card/0 &cardtype\nCard 1=Shelf Card/1 &cardtype\n\n"
     "[atm interfaces]\nFirst AtmIf=AtmIf/1 &interfacename\n",
     "[Shelf Cards]\nCard 0=Shelf Card/0 &cardtype\nCard 1=Shelf Card/1 &cardtype\n"
     "[atm interfaces]\nFirst AtmIf=AtmIf/1 &interfacename\n"},
    {"EveryLineEnd", "[a]\r\nk1=1\rk2=2\nk3=3\r\n\r\nk4=4", "[a]\nk1=1\nk2=2\nk3=3\nk4=4\n"},
    {"TrimmedOfControlBytes", "\t [ Shelf Cards ] \x01\n\t Card 0 \t=\t Shelf Card/0 &cardtype \x1f\n",
     "[Shelf Cards]\nCard 0=Shelf Card/0 &cardtype\n"},
    {"LinesBeforeTheFirstSectionIgnored", "orphan=1\n; note\n[s]\nk=v\n", "[s]\nk=v\n"},
    {"CommentsAndLinesWithoutEquals", "[s]\n;k1=1\n  # k2=2\nno equals here\nk3=3\n", "[s]\nk3=3\n"},
    {"EnclosingQuotesRemoved", "[s]\na=\"x y\"\nb='z'\nc=\"mixed'\nd=\"\ne=\"in\"side\nf= ' padded ' \n",
     "[s]\na=x y\nb=z\nc=\"mixed'\nd=\"\ne=\"in\"side\nf= padded \n"},
    {"ValueMayHoldEqualsAndBrackets", "[s]\nk=a=b [c]\n", "[s]\nk=a=b [c]\n"},
    {"EmptyValue", "[s]\nk=\n", "[s]\nk=\n"},
    {"RepeatedSectionReadsTheFirst", "[S]\na=1\n[other]\n[s]\nb=2\n", "[S]\na=1\n[other]\n[s]\na=1\n"},
    {"RepeatedKeyReadsTheFirstValue", "[s]\nKey=1\nkey=2\n", "[s]\nKey=1\nkey=1\n"},
    {"OpenBracketWithoutCloseIsAKeyLine", "[s]\n[k=1\n", "[s]\n[k=1\n"},
    {"EmptySectionName", "[]\nk=1\n", "[]\nk=1\n"},
    {"NoSections", "k=1\n", ""},
    {"Empty", "", ""},
    {"ByteOrderMarkSkipped", "\xEF\xBB\xBF[Shelf Cards]\r\nCard 0=x\r\n", "[Shelf Cards]\nCard 0=x\n"},
    {"ByteOrderMarkOnlyAtTheStart", "\xEF\xBB\xBF\xEF\xBB\xBF[a]\nk=1\n[b]\n\xEF\xBB\xBFk=2\n",
     "[b]\n\xEF\xBB\xBFk=2\n"},
    {"NoLengthLimits", "[s]\nk=" + std::string(5000, 'v') + "\n", "[s]\nk=" + std::string(5000, 'v') + "\n"},
};

INSTANTIATE_TEST_SUITE_P(Reports, ConfigFile, ::testing::ValuesIn(kConfigCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(ConfigFileLookups, SectionAndKeyNamesIgnoreCase) {
    const ReportConfig config = ReportConfig::Parse("[Shelf Cards]\nCard 0=x\n");
    EXPECT_EQ(config.Value("SHELF CARDS", "card 0"), "x");
    EXPECT_EQ(config.KeyNames("shelf cards"), std::vector<std::string>{"Card 0"});
    EXPECT_EQ(config.Value("Shelf Cards", "Card 1"), "");
    EXPECT_TRUE(config.KeyNames("none").empty());
}

TEST(ConfigFileLookups, KeysAndValuesPairEveryKeyWithItsFirstValue) {
    const ReportConfig config = ReportConfig::Parse("[s]\nb=1\na=2\nB=3\n");
    const std::vector<std::pair<std::string, std::string>> expected = {{"b", "1"}, {"a", "2"}, {"B", "1"}};
    EXPECT_EQ(config.KeysAndValues("S"), expected);
}

// Only regular files are read: a FIFO would hang the program, /dev/zero
// fill its memory. Read says why in the provisioning reader's words; Load,
// for the window, reads what it refuses as no file at all.
TEST(ConfigFileLoading, OnlyRegularFilesAreRead) {
    ScratchDir dir;
    const std::string missing = (dir.Path() / "none.cfg").string();
    const std::string fifo = (dir.Path() / "fifo.cfg").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string folder = dir.Path().string();
    const struct {
        std::string file;
        std::string error;
    } cases[] = {
        {missing, "cannot read '" + missing + "': No such file or directory"},
        {folder, "cannot read '" + folder + "': is a directory"},
        {fifo, "cannot read '" + fifo + "': not a regular file"},
        {"/dev/zero", "cannot read '/dev/zero': not a regular file"},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(ReportConfig::Load(c.file).SectionNames().empty()) << c.file;
        try {
            ReportConfig::Read(c.file);
            ADD_FAILURE() << c.file << ": no error";
        } catch (const prov::FileError& e) {
            EXPECT_EQ(std::string(e.what()), c.error);
        }
    }
    const std::string file = dir.Write("ok.cfg", "[a]\nk=v\n");
    EXPECT_TRUE(ReportConfig::Read(file).HasSection("A"));
    EXPECT_FALSE(ReportConfig::Read(file).HasSection("b"));
}

TEST(ConfigFileLoading, ReadsTheFileBesideTheProgram) {
    ScratchDir dir;
    dir.Write(std::string(kReportConfigFileName), "[b]\n[A]\n");
    const std::string path = ReportConfigPathInFolder(dir.Path().string());
    EXPECT_EQ(path, (dir.Path() / "ORYX Reports.cfg").string());
    EXPECT_EQ(ReportConfig::Load(path).SectionNames(), (std::vector<std::string>{"b", "A"}));
    EXPECT_EQ(ReportConfigPathInFolder("/opt/oryx/"), "/opt/oryx/ORYX Reports.cfg");
}

struct MenuCase {
    const char* name;
    const char* file;
    std::vector<std::string> expected;
};

class CustomMenu : public ::testing::TestWithParam<MenuCase> {};

TEST_P(CustomMenu, SortedLikeComponentNames) {
    EXPECT_EQ(CustomReportMenuNames(ReportConfig::Parse(GetParam().file)), GetParam().expected);
}

const MenuCase kMenuCases[] = {
    {"WorkedExample", "[Shelf Cards]\n[atm interfaces]\n", {"atm interfaces", "Shelf Cards"}},
    {"DuplicatesKeptInFileOrder", "[b]\n[A]\n[a]\n[B]\n[a]\n", {"A", "a", "a", "b", "B"}},
    {"PunctuationThenDigitsThenLetters",
     "[x]\n[1x]\n[_x]\n[Card/10]\n[Card/2]\n",
     {"_x", "1x", "Card/10", "Card/2", "x"}},
    {"NoSections", "k=1\n", {}},
};

INSTANTIATE_TEST_SUITE_P(Reports, CustomMenu, ::testing::ValuesIn(kMenuCases),
                         [](const auto& test) { return std::string(test.param.name); });

struct RowsCase {
    const char* name;
    const char* config;
    const char* section;
    const char* expected;  // the export, LF for CR LF
};

class CustomRows : public ::testing::TestWithParam<RowsCase> {};

constexpr const char* kNode =
    "add Shelf\n"
    "add Shelf Card/0\n"
    "set Shelf Card/0 cardType x, cardTypeNote y, note z\n"
    "add AtmIf/1\n"
    "set AtmIf/1 interfaceName Lp/1 E1/0, oamSegmentBoundary no\n";

TEST_P(CustomRows, OneRowPerKey) {
    LoadedStore loaded(StartProv(kNode));
    ReportRows rows;
    BuildCustomReportRows(loaded.store, ReportConfig::Parse(GetParam().config), GetParam().section, rows);
    EXPECT_EQ(CsvText(CustomReportColumns(), rows), Crlf(GetParam().expected));
}

const RowsCase kRowsCases[] = {
    {"PathFoundOrNot", "[Shelf Cards]\nCard 0=Shelf Card/0 &cardtypenote\nCard 1=Shelf Card/1 &cardtype\n",
     "shelf cards", "\"Attribute\",\"Value\"\nCard 0,\"y\"\nCard 1,\"\"\n"},
    {"LastMatchingLineWins", "[s]\nType=Shelf Card/0 &cardtype\n", "s", "\"Attribute\",\"Value\"\nType,\"y\"\n"},
    {"AttributeTextIgnoresCase", "[s]\nUpc=AtmIf/1 &OAMsegment\n", "s", "\"Attribute\",\"Value\"\nUpc,\"no\"\n"},
    {"CharacterBeforeAmpersandIsDropped", "[s]\nk=Shelf Card/0&cardtype\nj=Shelf Card/0_&cardtype\n", "s",
     "\"Attribute\",\"Value\"\nk,\"\"\nj,\"y\"\n"},
    {"LeadingAddIsSkipped", "[s]\nk=add Shelf Card/0 &note\n", "s", "\"Attribute\",\"Value\"\nk,\"z\"\n"},
    {"MissingMiddlePieceIsSkipped", "[s]\nk=Shelf Slot/9 Card/0 &note\n", "s", "\"Attribute\",\"Value\"\nk,\"z\"\n"},
    {"NoAmpersandOrNoPath", "[s]\nk=Shelf Card/0 cardtype\nj=&cardtype\ni= \n", "s",
     "\"Attribute\",\"Value\"\nk,\"\"\nj,\"\"\ni,\"\"\n"},
    {"EmptyAttributeTextTakesTheLastLine", "[s]\nk=AtmIf/1 &\n", "s", "\"Attribute\",\"Value\"\nk,\"no\"\n"},
    {"RepeatedKeyShowsItsFirstValueTwice", "[s]\nk=AtmIf/1 &interfacename\nK=Shelf &x\n", "s",
     "\"Attribute\",\"Value\"\nk,\"Lp/1 E1/0\"\nK,\"Lp/1 E1/0\"\n"},
    {"KeyWithCommaIsQuoted", "[s]\nCard 0, type=Shelf Card/0 &cardtype\n", "s",
     "\"Attribute\",\"Value\"\n\"Card 0, type\",\"y\"\n"},
    {"SectionWithoutKeys", "[s]\n[t]\nk=1\n", "s", "\"Attribute\",\"Value\"\n"},
    {"MissingSection", "[t]\nk=1\n", "s", "\"Attribute\",\"Value\"\n"},
};

INSTANTIATE_TEST_SUITE_P(Reports, CustomRows, ::testing::ValuesIn(kRowsCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(CustomReport, WorkedExample) {
    const ReportConfig config = ReportConfig::Parse(
        "[Shelf Cards]\r\nCard 0=Shelf Card/0 &cardtype\r\nCard 1=Shelf Card/1 &cardtype\r\n\r\n"
        "[atm interfaces]\r\nFirst AtmIf=AtmIf/1 &interfacename\r\n");
    EXPECT_EQ(CustomReportMenuNames(config), (std::vector<std::string>{"atm interfaces", "Shelf Cards"}));
    LoadedStore loaded(StartProv("add Shelf\nadd Shelf Card/0\nset Shelf Card/0 cardType x\n"));
    ReportRows rows;
    BuildCustomReportRows(loaded.store, config, "Shelf Cards", rows);
    EXPECT_EQ(CsvText(CustomReportColumns(), rows), Crlf("\"Attribute\",\"Value\"\nCard 0,\"x\"\nCard 1,\"\"\n"));
}

// Many keys over one component, searched together, find what each key
// searched alone finds: the last line holding it, or a bookkeeping line.
TEST(CustomReportKeys, ManyOnOneComponentFindWhatOneFinds) {
    LoadedStore loaded(
        StartProv("add Shelf\n"
                  "add Shelf Card/3\n"
                  "set Shelf Card/3 cardType aal1Ces, CardNote aa, spareCard 0, cardType again, note a=b, empty\n"
                  "add Shelf Card/4\n"));
    const std::vector<std::string_view> keys = {
        "cardtype", "card",  "a",      "aa",     "aaa",    "type a",    "",
        "=",        "a=b",   "shelf",  "card/3", "&name",  "&fullpath", "cardtype=again",
        "nothing",  "spare", "e=",     "y",      "card/4", "cardtype",  "ces",
        "l1c",      "notea", "empty=",
    };
    for (const char* path : {"Shelf Card/3", "Shelf Card/4", "Shelf"}) {
        const prov::AttributeList* list = prov::GetAttributes(prov::FindComponent(loaded.store.AddNode(), path));
        const std::vector<std::optional<std::string>> together = FindMatchingAttributeValues(list, keys);
        ASSERT_EQ(together.size(), keys.size());
        for (std::size_t k = 0; k < keys.size(); ++k)
            EXPECT_EQ(together[k], FindMatchingAttributeValue(list, keys[k])) << path << " '" << keys[k] << "'";
    }
}

}  // namespace
}  // namespace oryx::reports::test
