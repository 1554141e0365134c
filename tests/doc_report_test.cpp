// The report panel of the document window driven headless: every report
// shown, toggled and closed with its check mark and count, rows kept between
// requests, the CSV export and the custom reports.
#include <QAbstractItemModelTester>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

#include <algorithm>
#include <functional>
#include <memory>

#include "doc/document/attribute_list.h"
#include "doc/document/mdi_child.h"
#include "doc/report/report_panel.h"
#include "doc/report/report_table_model.h"
#include "doc/tree/tz_tree_view.h"
#include "doc_test_support.h"

using namespace oryx;
using doctest::FakeDialogs;
using doctest::FakeHost;

namespace {

constexpr std::string_view kNode = R"(start prov
add Shelf
add Shelf Card/0
set Shelf Card/0 cardType typeA
add Shelf Card/1
set Shelf Card/1 cardType typeB
add Lp/0
set Lp/0 mainCard Shelf Card/0
add Lp/1
set Lp/1 mainCard Shelf Card/1, logicalProcessorType Sw Lpt/X
add Sw
add Sw Lpt/X
set Sw Lpt/X featureList (alpha beta)
add AtmIf/11
set AtmIf/11 interfaceName Lp/1 E1/0
add Trk/5
add Trk/5 Atm
set Trk/5 Atm atmConnection AtmIf/11 Vcc/0.32
add FrUni/3
add FrUni/3 Dlci/16
add FrUni/3 Dlci/16 Dc
set FrUni/3 Dlci/16 Dc remoteDlci 44, type permanent
add FrUni/3 Dlci/16 Sp
set FrUni/3 Dlci/16 Sp committedInformationRate 64000
add FrUni/3 Dlci/100
add Vr/1
add Vr/1 Pp/eth0
set Vr/1 Pp/eth0 linkToMedia Lp/1 Eth/0
add Vr/1 Pp/eth0 IpPort
add Vr/1 Pp/eth0 IpPort LogicalIf/10.0.0.1
set Vr/1 Pp/eth0 IpPort LogicalIf/10.0.0.1 netMask 255.0.0.0, broadcastAddress 10.255.255.255
)";

constexpr std::string_view kConfig = R"([Shelf Cards]
Card 0=Shelf Card/0 &cardtype
Card 1=Shelf Card/1 &cardtype
Missing=Shelf Card/9 &cardtype

[atm interfaces]
First AtmIf=AtmIf/11 &interfacename
)";

using Show = void (doc::TMDIChild::*)();

struct FixedReport {
    const char* name;
    Show show;
    int code;
    const char* title;
    int rows;
    bool counted;
};

const FixedReport kReports[] = {
    {"overview", &doc::TMDIChild::ShowOverviewReport, 1, "Halyard Overview Report", 2, true},
    {"atmif vcc", &doc::TMDIChild::ShowAtmIfVccReport, 2, "AtmIf VCC Report", 1, true},
    {"fratm dlci", &doc::TMDIChild::ShowFrAtmDlciReport, 3, "FrAtm DLCI Report", 0, true},
    {"fruni dlci", &doc::TMDIChild::ShowFrUniDlciReport, 4, "FrUni DLCI Report", 2, true},
    {"fratm", &doc::TMDIChild::ShowFrAtmReport, 5, "FrAtm Report - UNDER CONSTRUCTION", 0, true},
    {"atmif", &doc::TMDIChild::ShowAtmIfReport, 6, "AtmIf Report", 1, true},
    {"node summary", &doc::TMDIChild::ShowNodeSummaryReport, 7, "Node Summary Report", 12, false},
    {"virtual router", &doc::TMDIChild::ShowVirtualRouterReport, 8, "Virtual Router Report", 1, true},
};

}  // namespace

class DocReportTest final : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    FakeDialogs dialogs_;
    FakeHost host_;

    std::unique_ptr<doc::TMDIChild> Open(std::string_view bytes = kNode) {
        auto window =
            std::make_unique<doc::TMDIChild>(&host_, doctest::WriteFile(dir_, QStringLiteral("node17.txt"), bytes));
        window->resize(783, 514);
        window->show();
        return window;
    }

    // The codes of the lists on show.
    static std::vector<int> VisibleLists(const doc::TMDIChild& window) {
        std::vector<int> codes;
        for (const reports::ReportInfo& report : reports::FixedReports())
            if (window.IsReportListVisible(report.id)) codes.push_back(report.code);
        if (window.IsReportListVisible(doc::PanelReport::Custom())) codes.push_back(10);
        std::sort(codes.begin(), codes.end());
        return codes;
    }

    static QString CountText(const doc::TMDIChild& window) {
        const QLabel* count = window.Reports()->RecordCountLabel();
        return count->isHidden() ? QStringLiteral("(hidden)") : count->text();
    }

private slots:
    void init() {
        dialogs_.saveAnswers.clear();
        dialogs_.saves.clear();
        dialogs_.messages.clear();
        host_ = FakeHost();
    }

    void everyReportShowsTogglesAndShowsAgain_data() {
        QTest::addColumn<int>("report");
        for (int i = 0; i < int(std::size(kReports)); ++i) QTest::newRow(kReports[i].name) << i;
    }

    void everyReportShowsTogglesAndShowsAgain() {
        QFETCH(int, report);
        const FixedReport& r = kReports[report];
        auto window = Open();
        doc::ReportPanel& panel = *window->Reports();
        const QString count =
            r.counted ? QStringLiteral("Number of Records : %1").arg(r.rows) : QStringLiteral("(hidden)");

        (window.get()->*r.show)();
        QCOMPARE(window->CurrentReportNumber(), r.code);
        QCOMPARE(VisibleLists(*window), std::vector<int>{r.code});
        QCOMPARE(panel.ReportNameLabel()->text(), QString::fromLatin1(r.title));
        QCOMPARE(CountText(*window), count);
        QCOMPARE(host_.Checked(), std::vector<int>{r.code});
        QCOMPARE(panel.ListModel(*reports::ReportByCode(r.code))->rowCount(), r.rows);
        // The panel takes half of the right-hand pane.
        const int half = window->findChild<QWidget*>(QStringLiteral("pnlMainRight"))->height() / 2;
        QVERIFY2(std::abs(panel.height() - half) <= 4, qPrintable(QString::number(panel.height())));

        (window.get()->*r.show)();
        QCOMPARE(window->CurrentReportNumber(), 0);
        QVERIFY(VisibleLists(*window).empty());
        QVERIFY(panel.isHidden());
        QVERIFY(host_.Checked().empty());

        (window.get()->*r.show)();
        QCOMPARE(window->CurrentReportNumber(), r.code);
        QCOMPARE(VisibleLists(*window), std::vector<int>{r.code});
        QCOMPARE(CountText(*window), count);
        QCOMPARE(host_.Checked(), std::vector<int>{r.code});
    }

    void anotherReportReplacesTheOneOnShowAndRowsAreKept() {
        auto window = Open();
        doc::ReportPanel& panel = *window->Reports();
        window->ShowVirtualRouterReport();
        // An edited first cell belongs to the list's rows from now on.
        QAbstractItemModel& routers = *panel.ListModel(oryx::reports::ReportId::VirtualRouter);
        QVERIFY(routers.setData(routers.index(0, 0), QStringLiteral("Router A")));
        QVERIFY(!routers.setData(routers.index(0, 1), QStringLiteral("not editable")));

        window->ShowNodeSummaryReport();
        QCOMPARE(VisibleLists(*window), std::vector<int>{7});
        QCOMPARE(CountText(*window), QStringLiteral("(hidden)"));
        QCOMPARE(host_.Checked(), std::vector<int>{7});

        window->ShowVirtualRouterReport();
        QCOMPARE(VisibleLists(*window), std::vector<int>{8});
        QCOMPARE(CountText(*window), QStringLiteral("Number of Records : 1"));
        QCOMPARE(routers.index(0, 0).data().toString(), QStringLiteral("Router A"));
        QCOMPARE(routers.index(0, 2).data().toString(), QStringLiteral("Lp/1 Eth/0"));

        const QString csv = dir_.filePath(QStringLiteral("routers.csv"));
        dialogs_.saveAnswers = {csv};
        panel.ExportAction()->trigger();
        QCOMPARE(
            doctest::ReadFile(csv),
            QByteArray("\"Vr\",\"Pp\",\"linkToMedia\",\"logicalIf\",\"netMask\",\"broadcastAddress\",\"areaId\"\r\n"
                       "Router A,\"eth0\",\"Lp/1 Eth/0\",\"10.0.0.1\",\"255.0.0.0\",\"10.255.255.255\",\"\"\r\n"));
    }

    void closeButtonHidesReportAndKeepsRows() {
        auto window = Open();
        doc::ReportPanel& panel = *window->Reports();
        window->ShowFrUniDlciReport();
        QCOMPARE(panel.CloseButton()->toolTip(), QStringLiteral("Close Report"));
        panel.CloseButton()->click();
        QCOMPARE(window->CurrentReportNumber(), 0);
        QVERIFY(panel.isHidden());
        QVERIFY(host_.Checked().empty());
        QCOMPARE(panel.ListModel(oryx::reports::ReportId::FrUniDlci)->rowCount(), 2);
        window->ShowFrUniDlciReport();
        QCOMPARE(VisibleLists(*window), std::vector<int>{4});
        QCOMPARE(CountText(*window), QStringLiteral("Number of Records : 2"));
    }

    void exportWritesEveryRowAsCsv() {
        auto window = Open();
        doc::ReportPanel& panel = *window->Reports();
        panel.ExportReportCsv();  // no report on show
        QVERIFY(dialogs_.saves.empty());

        window->ShowFrUniDlciReport();
        panel.ListView(oryx::reports::ReportId::FrUniDlci)
            ->selectionModel()
            ->select(panel.ListModel(oryx::reports::ReportId::FrUniDlci)->index(1, 0),
                     QItemSelectionModel::Select | QItemSelectionModel::Rows);
        const QString csv = doctest::WriteFile(dir_, QStringLiteral("dlci.csv"), "earlier");
        dialogs_.saveAnswers = {csv};
        panel.ExportAction()->trigger();
        QCOMPARE(dialogs_.saves.size(), std::size_t{1});
        QCOMPARE(dialogs_.saves[0].proposedName, QStringLiteral("node17 - FrUni DLCI Report.csv"));
        QCOMPARE(dialogs_.saves[0].defaultSuffix, QStringLiteral("CSV"));
        QCOMPARE(dialogs_.saves[0].filter, QStringLiteral("Comma Separated Files (*.csv);;All Files (*)"));
        QVERIFY(dialogs_.saves[0].confirmOverwrite);
        QCOMPARE(doctest::ReadFile(csv),
                 QByteArray("\"FrUni\",\"Dlci\",\"rdna\",\"rdlci\",\"type\",\"tp\",\"dp\",\"re\",\"cir\"\r\n"
                            "3,\"100\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n"
                            "3,\"16\",\"\",\"44\",\"permanent\",\"\",\"\",\"\",\"64000\"\r\n"));
        QVERIFY(dialogs_.messages.empty());

        // An empty list writes the header alone; a cancelled dialog nothing.
        window->ShowFrAtmReport();
        const QString empty = dir_.filePath(QStringLiteral("fratm.csv"));
        dialogs_.saveAnswers = {empty};
        panel.ExportReportCsv();
        QCOMPARE(dialogs_.saves.back().proposedName, QStringLiteral("node17 - FrAtm Report - UNDER CONSTRUCTION.csv"));
        QCOMPARE(doctest::ReadFile(empty), QByteArray("\"FrAtm\",\"Interface Name\",\"Other Virtual "
                                                      "Framer\",\"LP\",\"Procedures\",\"Side\",\"Address\"\r\n"));
        panel.ExportReportCsv();
        QCOMPARE(dialogs_.saves.size(), std::size_t{3});
        QVERIFY(dialogs_.messages.empty());
    }

    void failedExportShowsTheError() {
        auto window = Open();
        window->ShowAtmIfReport();
        dialogs_.saveAnswers = {dir_.filePath(QStringLiteral("missing/atmif.csv"))};
        window->Reports()->ExportReportCsv();
        QCOMPARE(dialogs_.messages.size(), std::size_t{1});
        QCOMPARE(dialogs_.messages[0].kind, doc::MessageKind::Error);
        QCOMPARE(dialogs_.messages[0].text, QStringLiteral("Invalid filename"));
        QCOMPARE(VisibleLists(*window), std::vector<int>{6});
    }

    // A column is as wide as its widest cell plus 5 pixels (35 when it has
    // none), or as its caption needs when that is wider: every caption shows
    // whole.
    void columnsSizedToTheirWidestCellAndCaption_data() {
        QTest::addColumn<int>("report");  // the list's report code
        QTest::newRow("FrAtm, no rows") << 5;
        QTest::newRow("FrUni Dlci") << 4;
        QTest::newRow("AtmIf") << 3;
        QTest::newRow("Overview") << 1;
    }

    void columnsSizedToTheirWidestCellAndCaption() {
        QFETCH(int, report);
        auto window = Open();
        doc::ReportPanel& panel = *window->Reports();
        window->ShowReport(reports::ReportByCode(report).value());
        window->show();
        const QFontMetrics metrics = window->fontMetrics();
        QHeaderView& header = *panel.ListView(reports::ReportByCode(report).value())->header();
        const QFontMetrics captionMetrics = header.fontMetrics();
        const int margins = 2 * header.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, &header);
        const QAbstractItemModel& rows = *header.model();
        for (int column = 0; column < rows.columnCount(); ++column) {
            int widest = 0;
            for (int row = 0; row < rows.rowCount(); ++row)
                widest = std::max(widest, metrics.horizontalAdvance(rows.index(row, column).data().toString()));
            const int cellWidth = widest == 0 ? 35 : widest + 5;
            const QString caption = header.model()->headerData(column, Qt::Horizontal).toString();
            const int captionWidth = captionMetrics.horizontalAdvance(caption) + margins;
            const int width = header.sectionSize(column);
            QVERIFY2(width >= cellWidth && width >= captionWidth, qPrintable(caption));
            // Only as wide as the wider of the two needs.
            QVERIFY2(width == cellWidth || width <= captionWidth + margins, qPrintable(caption));
        }
    }

    // Tab goes round what shows and takes focus, the report's list among
    // it in the panel's place whichever lists were shown before; never the
    // report's close button, which shows no focus.
    void tabGoesRoundWhatShows_data() {
        QTest::addColumn<bool>("report");
        QTest::addColumn<bool>("othersFirst");
        QTest::newRow("report shown") << true << false;
        QTest::newRow("after other reports, with the find bar") << true << true;
        QTest::newRow("no report") << false << false;
    }

    void tabGoesRoundWhatShows() {
        QFETCH(bool, report);
        QFETCH(bool, othersFirst);
        auto window = Open();
        window->resize(900, 600);
        doctest::ShowActive(*window);
        if (othersFirst) {
            window->ShowFindBar();
            window->ShowVirtualRouterReport();
            window->ShowProblems();
            window->ShowOverviewReport();
        }
        if (report) window->ShowAtmIfReport();
        window->Attributes()->setFocus();
        QList<QWidget*> stops;
        for (int i = 0; i < 20 && (stops.isEmpty() || stops.last() != window->Attributes()); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            stops << QApplication::focusWidget();
        }
        QCOMPARE(stops.last(), window->Attributes());
        for (QWidget* stop : stops) {
            QVERIFY2(stop->isVisible() && !stop->visibleRegion().isEmpty(), qPrintable(stop->objectName()));
            QVERIFY(stop != window->Reports()->CloseButton());
        }
        QVERIFY(stops.contains(window->Tree()));
        if (report) {
            const qsizetype list = stops.indexOf(
                window->Reports()->ListView(reports::ReportByCode(window->CurrentReportNumber()).value()));
            QVERIFY(list >= 0);
            // In the panel's place, which comes before the find bar's.
            for (qsizetype i = 0; i < stops.size(); ++i)
                if (stops[i]->objectName().startsWith(QStringLiteral("Find"))) QVERIFY(list < i);
        }
    }

    void overviewFailureShowsPanelThenRaises() {
        auto window = Open("start prov\nadd Shelf\nadd Shelf Card/x\nset Shelf Card/x cardType t\n");
        const QString caption = window->windowTitle();
        try {
            window->ShowOverviewReport();
            QFAIL("the Overview did not fail");
        } catch (const std::exception& error) {
            QCOMPARE(QString::fromUtf8(error.what()), QStringLiteral("'x' is not a valid integer value"));
        }
        QCOMPARE(window->windowTitle(), caption);
        QCOMPARE(VisibleLists(*window), std::vector<int>{1});
        QCOMPARE(CountText(*window), QStringLiteral("Number of Records : 0"));
        QCOMPARE(host_.Checked(), std::vector<int>{1});
        window->ShowOverviewReport();  // closes
        QCOMPARE(window->CurrentReportNumber(), 0);
        QVERIFY_THROWS_EXCEPTION(std::exception, window->ShowOverviewReport());  // builds again
    }

    void overviewKeepsCaption() {
        auto window = Open();
        const QString caption = window->windowTitle();
        window->ShowOverviewReport();
        QCOMPARE(window->windowTitle(), caption);
        QAbstractItemModel& rows = *window->Reports()->ListModel(oryx::reports::ReportId::Overview);
        QCOMPARE(rows.index(1, 3).data().toString(), QStringLiteral("Lpt/X"));
        QCOMPARE(rows.index(1, 8).data().toString(), QStringLiteral("alpha, beta"));
    }

    void customReportRebuildsOnEveryRequest() {
        auto window = Open();
        doc::ReportPanel& panel = *window->Reports();
        const QString config = doctest::WriteFile(dir_, QStringLiteral("ORYX Reports.cfg"), kConfig);
        window->ShowAtmIfReport();
        window->ShowCustomReport(QStringLiteral("Shelf Cards"), config);
        QCOMPARE(window->CurrentReportNumber(), 10);
        QCOMPARE(VisibleLists(*window), std::vector<int>{10});
        QCOMPARE(panel.ReportNameLabel()->text(), QStringLiteral("Shelf Cards"));
        QCOMPARE(CountText(*window), QStringLiteral("(hidden)"));
        QVERIFY(host_.Checked().empty());

        const QString csv = dir_.filePath(QStringLiteral("cards.csv"));
        dialogs_.saveAnswers = {csv};
        panel.ExportReportCsv();
        QCOMPARE(dialogs_.saves.back().proposedName, QStringLiteral("node17 - Shelf Cards.csv"));
        QCOMPARE(doctest::ReadFile(csv),
                 QByteArray("\"Attribute\",\"Value\"\r\nCard 0,\"typeA\"\r\nCard 1,\"typeB\"\r\nMissing,\"\"\r\n"));

        // No toggle: a second request shows it again, read from the file anew.
        doctest::WriteFile(dir_, QStringLiteral("ORYX Reports.cfg"), "[shelf cards]\nOnly=Shelf Card/1 &CARDTYPE\n");
        window->ShowCustomReport(QStringLiteral("Shelf Cards"), config);
        QCOMPARE(VisibleLists(*window), std::vector<int>{10});
        QCOMPARE(panel.ListModel(oryx::doc::PanelReport::Custom())->rowCount(), 1);
        QCOMPARE(panel.ListModel(oryx::doc::PanelReport::Custom())->index(0, 1).data().toString(),
                 QStringLiteral("typeB"));

        window->ShowCustomReport(QStringLiteral("Gone"), dir_.filePath(QStringLiteral("none.cfg")));
        QCOMPARE(panel.ReportNameLabel()->text(), QStringLiteral("Gone"));
        QCOMPARE(panel.ListModel(oryx::doc::PanelReport::Custom())->rowCount(), 0);
        QCOMPARE(VisibleLists(*window), std::vector<int>{10});

        // A fixed report request replaces it and shows the count again.
        window->ShowAtmIfReport();
        QCOMPARE(CountText(*window), QStringLiteral("Number of Records : 1"));
    }

    void reportModelPassesTheModelTester() {
        auto window = Open();
        window->ShowVirtualRouterReport();
        doc::ReportTableModel& model = *window->Reports()->ListModel(oryx::reports::ReportId::VirtualRouter);
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(model.headerData(5, Qt::Horizontal).toString(), QStringLiteral("broadcastAddress"));
        QVERIFY(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);
        QVERIFY(!(window->Reports()
                      ->ListModel(oryx::reports::ReportId::AtmIf)
                      ->flags(window->Reports()->ListModel(oryx::reports::ReportId::AtmIf)->index(0, 0)) &
                  Qt::ItemIsEditable));
        model.setData(model.index(0, 0), QStringLiteral("x"));
        model.SetRows({});
        QCOMPARE(model.rowCount(), 0);
    }
};

QTEST_MAIN(DocReportTest)
#include "doc_report_test.moc"
