// The Problems list of a document window: its rows and CSV export against
// oryx-cli check's, going to a finding's component and attribute line, a
// rules file with an error, and a reload.
#include <QAction>
#include <QLabel>
#include <QTest>
#include <QTreeView>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cli_runner.h"
#include "doc/document/attribute_list.h"
#include "doc/document/mdi_child.h"
#include "doc/problems/problems_check.h"
#include "doc/report/report_panel.h"
#include "doc/report/report_table_model.h"
#include "doc/report/report_window_info.h"
#include "doc/tree/tz_tree_view.h"
#include "doc_test_support.h"
#include "prov/component_store.h"

using namespace oryx;

namespace {

constexpr std::string_view kNode =
    "start prov\n"
    "add Shelf\n"
    "add Shelf Card/0\n"
    "set Shelf Card/0 cardType CP3, administrativeState broken\n"
    "add Lp/3\n"
    "set Lp/3 link AtmIf/9\n"
    "set Lp/4 mainCard x\n";

constexpr std::string_view kRules =
    "rules:\n"
    "  - id: card-state\n"
    "    severity: error\n"
    "    path: \"Shelf Card/*\"\n"
    "    attribute: administrativeState\n"
    "    match: \"locked|unlocked\"\n"
    "  - id: never-there\n"
    "    path: \"Nothing/*\"\n"
    "    require: [x]\n";

class RulesHost final : public doc::DocumentHost {
public:
    void SetReportChecked(reports::ReportId report, bool checked) override {
        checks[reports::Report(report).code] = checked;
    }
    void SetProblemsChecked(bool checked) override { problemsChecked = checked; }
    void DocumentClosing(const QString&) override {}
    QString RulesFile() const override { return rules; }
    void ProblemsCounted(const QString&) override { ++counted; }
    std::map<int, bool> checks;
    bool problemsChecked = false;
    QString rules;
    int counted = 0;
};

// The CLI's CSV without its first column.
QByteArray WithoutFileColumn(const std::string& csv) {
    QByteArray out;
    for (const QByteArray& line : QByteArray::fromStdString(csv).split('\n')) {
        if (line.isEmpty()) continue;
        // The file is written bare; every further cell is quoted.
        out += line.mid(line.indexOf(",\"") + 1) + '\n';
    }
    return out;
}

}  // namespace

class ProblemsTest final : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    doctest::FakeDialogs dialogs_;
    RulesHost host_;
    QString node_, rules_, broken_;

    std::unique_ptr<doc::TMDIChild> Open() {
        auto window = std::make_unique<doc::TMDIChild>(&host_, node_);
        window->setObjectName(QStringLiteral("MDIChild1"));
        return window;
    }
    doc::ReportTableModel* List(doc::TMDIChild& window) {
        return window.Reports()->ListModel(doc::PanelReport::Problems());
    }
    QString Cell(doc::TMDIChild& window, int row, int column) {
        return List(window)->index(row, column).data().toString();
    }

private slots:
    void initTestCase() {
        node_ = doctest::WriteFile(dir_, QStringLiteral("node 5.txt"), kNode);
        rules_ = doctest::WriteFile(dir_, QStringLiteral("rules.yaml"), kRules);
        broken_ = doctest::WriteFile(dir_, QStringLiteral("broken.yaml"), "rules:\n  - id: x\n    colour: red\n");
    }

    void exportEqualsTheCliCsv_data() {
        QTest::addColumn<bool>("withRules");
        QTest::newRow("built-in checks") << false;
        QTest::newRow("with rules") << true;
    }

    void exportEqualsTheCliCsv() {
        QFETCH(bool, withRules);
        host_.rules = withRules ? rules_ : QString();
        auto window = Open();
        window->ShowProblems();
        QVERIFY(window->Reports()->IsReportListVisible(doc::PanelReport::Problems()));
        QCOMPARE(host_.problemsChecked, true);
        QVERIFY(window->Problems()->Ready());

        std::vector<std::string> args = {"check", node_.toStdString(), "--format", "csv"};
        if (withRules) args.insert(args.end(), {"--rules", rules_.toStdString()});
        const testing::CliResult cli = testing::RunCli(args);
        QVERIFY(cli.out.starts_with("\"File\",\"Line\",\"Severity\",\"Check\",\"Path\",\"Message\"\r\n"));
        const int cliRows = static_cast<int>(QByteArray::fromStdString(cli.out).count('\n')) - 1;
        QVERIFY(cliRows >= 1);
        QCOMPARE(List(*window)->rowCount(), cliRows);
        QCOMPARE(window->Reports()->RecordCountLabel()->text(), QStringLiteral("Number of Records : %1").arg(cliRows));
        // Each severity has its icon.
        for (int row = 0; row < cliRows; ++row)
            QVERIFY(!List(*window)->index(row, 1).data(Qt::DecorationRole).isNull());

        const QString target = dir_.filePath(QStringLiteral("problems.csv"));
        QFile::remove(target);
        dialogs_.saveAnswers.push_back(target);
        window->Reports()->ExportReportCsv();
        QCOMPARE(doctest::ReadFile(target), WithoutFileColumn(cli.out));

        // Another report clears the Problems mark and leaves the fixed reports' own.
        window->ShowReport(reports::ReportId::Overview);
        QCOMPARE(host_.problemsChecked, false);
    }

    void enterGoesToTheAttributeLineAndBackReturns() {
        host_.rules = rules_;
        auto window = Open();
        doctest::ShowActive(*window);
        const prov::ComponentNode* lp = prov::FindComponent(window->Store().AddNode(), "Lp/3");
        window->Tree()->Select(lp);
        window->ShowProblems();
        int row = -1;
        for (int r = 0; r < List(*window)->rowCount(); ++r)
            if (Cell(*window, r, 2) == QStringLiteral("card-state")) row = r;
        QVERIFY(row >= 0);
        QTreeView* view = window->Reports()->ListView(doc::PanelReport::Problems());
        view->setCurrentIndex(List(*window)->index(row, 0));
        view->setFocus();
        QTest::keyClick(view, Qt::Key_Return);
        QCOMPARE(prov::ComponentPath(*window->Tree()->Selected()), std::string("Shelf Card/0"));
        const QModelIndex line = window->Attributes()->currentIndex();
        QVERIFY(line.isValid());
        QVERIFY(line.sibling(line.row(), 0).data().toString().contains(QStringLiteral("administrativeState")));
        window->Back();
        QCOMPARE(window->Tree()->Selected(), lp);
    }

    void brokenRulesFileIsAFindingAndBuiltinsStillRun() {
        const testing::CliResult cli =
            testing::RunCli({"check", node_.toStdString(), "--rules", broken_.toStdString()});
        QVERIFY(cli.exitCode != 0);
        const std::string prefix = "oryx-cli: ";
        QVERIFY(cli.err.starts_with(prefix));
        const QString error = QString::fromStdString(cli.err.substr(prefix.size(), cli.err.find('\n') - prefix.size()));
        const testing::CliResult builtins = testing::RunCli({"check", node_.toStdString(), "--format", "csv"});
        const int builtinRows = static_cast<int>(QByteArray::fromStdString(builtins.out).count('\n')) - 1;

        host_.rules = broken_;
        auto window = Open();
        window->ShowProblems();
        QCOMPARE(List(*window)->rowCount(), builtinRows + 1);
        QCOMPARE(Cell(*window, 0, 0), QString());
        QCOMPARE(Cell(*window, 0, 1), QStringLiteral("error"));
        QCOMPARE(Cell(*window, 0, 2), QStringLiteral("rules-file"));
        QCOMPARE(Cell(*window, 0, 4), error);
    }

    void reloadChecksAgainAndRebuildsTheList() {
        host_.rules = rules_;
        const QString path = doctest::WriteFile(dir_, QStringLiteral("changing.txt"), kNode);
        auto window = std::make_unique<doc::TMDIChild>(&host_, path);
        const int counted = host_.counted;
        QTRY_VERIFY(window->Problems()->Ready());
        QTRY_COMPARE(host_.counted, counted + 1);
        QVERIFY(window->ProblemsSummary().startsWith(QStringLiteral("1 error, ")));
        window->ShowProblems();
        const int before = List(*window)->rowCount();

        std::string fixed(kNode);
        fixed.replace(fixed.find("broken"), 6, "locked");
        doctest::WriteFile(dir_, QStringLiteral("changing.txt"), fixed);
        window->Reload();
        QVERIFY(window->Reports()->IsReportListVisible(doc::PanelReport::Problems()));
        QCOMPARE(List(*window)->rowCount(), before - 1);
        for (int r = 0; r < List(*window)->rowCount(); ++r)
            QVERIFY(Cell(*window, r, 2) != QStringLiteral("card-state"));
        QVERIFY(!window->ProblemsSummary().startsWith(QStringLiteral("1 error")));
    }

    // A reload or a close while the file is still being checked: the old
    // check's findings are dropped and nothing outlives the window.
    void reloadOrCloseWhileChecking_data() {
        QTest::addColumn<bool>("reload");
        QTest::newRow("reload") << true;
        QTest::newRow("close") << false;
    }

    void reloadOrCloseWhileChecking() {
        QFETCH(bool, reload);
        host_.rules = rules_;
        // Enough components for the check to be running still when the window is done.
        std::string big(kNode);
        for (int i = 0; i < 20000; ++i) big += "add Lp/3 Eth/" + std::to_string(i) + "\n";
        const QString path = doctest::WriteFile(dir_, QStringLiteral("big.txt"), big);
        auto window = std::make_unique<doc::TMDIChild>(&host_, path);
        const int counted = host_.counted;
        if (!reload) {
            window.reset();
            QCoreApplication::processEvents();
            QCOMPARE(host_.counted, counted);
            return;
        }
        std::string fixed = big;
        fixed.replace(fixed.find("broken"), 6, "locked");
        doctest::WriteFile(dir_, QStringLiteral("big.txt"), fixed);
        window->Reload();
        QVERIFY(!window->Problems()->Ready());
        QTRY_VERIFY(window->Problems()->Ready());
        QCoreApplication::processEvents();
        QCOMPARE(host_.counted, counted + 1);
        for (const check::Finding& finding : window->Problems()->Problems().findings)
            QVERIFY(finding.check != "card-state");
    }
};

QTEST_MAIN(ProblemsTest)
#include "doc_problems_test.moc"
