// The fixed reports as every front shows them: the report menu, the report
// panel and oryx-cli stay in step.
#include <QAction>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

#include <algorithm>
#include <set>

#include "doc/document/mdi_child.h"
#include "doc/report/report_panel.h"
#include "reports/report_registry.h"
#include "sample_node.h"
#include "shell_test_support.h"

using namespace oryx;
using namespace shelltest;

namespace {

struct CliRun {
    int exitCode;
    QByteArray out;
};

CliRun RunCli(const QStringList& arguments) {
    QProcess cli;
    cli.start(ORYX_CLI_PATH, arguments);
    if (!cli.waitForFinished(60000)) qFatal("oryx-cli did not finish");
    return {cli.exitCode(), cli.readAllStandardOutput()};
}

}  // namespace

class ShellRegistryTest final : public QObject {
    Q_OBJECT

private slots:
    void everyReportOfTheMenuFillsItsListAndExportsWhatTheCliWrites() {
        // Each item of the report menu runs one fixed report: it shows the
        // report's list under the registry's title, marks the item alone,
        // and the list's CSV export holds the bytes oryx-cli writes for it.
        const QString file = folders_.Write("node.txt", oryx::testing::kSampleNode);
        TMainForm form;
        form.show();
        form.OpenWithTaskbarButton(file);
        doc::TMDIChild* document = form.ActiveDocument();
        QVERIFY(document);
        doc::ReportPanel& panel = *document->Reports();
        std::set<reports::ReportId> shown;
        for (QAction* item : form.findChild<QMenu*>("popReportMenu")->actions()) {
            if (item->isSeparator()) break;
            item->trigger();
            QCOMPARE(CheckedReportItems(form), QStringList{item->objectName()});
            const std::string title = panel.ReportNameLabel()->text().toStdString();
            const auto report = std::find_if(reports::FixedReports().begin(), reports::FixedReports().end(),
                                             [&](const reports::ReportInfo& r) { return r.title == title; });
            QVERIFY2(report != reports::FixedReports().end(), title.c_str());
            QVERIFY(shown.insert(report->id).second);
            QCOMPARE(document->CurrentReportNumber(), report->code);
            QVERIFY(document->IsReportListVisible(report->id));
            QCOMPARE(std::size_t(panel.ListView(report->id)->model()->columnCount()), report->columns.size());

            const QString exported = folders_.files.filePath(QString::fromStdString(title) + ".csv");
            dialogs_.saveAnswers = {exported};
            panel.ExportAction()->trigger();
            QFile csv(exported);
            QVERIFY(csv.open(QIODevice::ReadOnly));
            const QString cliName = QString::fromLatin1(report->cliName.data(), qsizetype(report->cliName.size()));
            const CliRun cli = RunCli({"report", cliName, file});
            QCOMPARE(cli.exitCode, 0);
            QCOMPARE(csv.readAll(), cli.out);

            item->trigger();  // and closes it again
            QCOMPARE(CheckedReportItems(form), QStringList());
        }
        QCOMPARE(shown.size(), reports::kFixedReportCount);
        QVERIFY(dialogs_.messages.empty());
    }

    void helpNamesTheReportsInHelpOrder() {
        const QByteArray help = RunCli({"--help"}).out;
        qsizetype helpAt = 0;
        for (reports::ReportId id : reports::CliHelpOrder()) {
            const std::string_view name = reports::Report(id).cliName;
            const qsizetype at = help.indexOf(QByteArray(name.data(), qsizetype(name.size())), helpAt);
            QVERIFY(at > helpAt);
            helpAt = at;
        }
        QVERIFY(
            help.contains("NAME is overview, node-summary, virtual-router, atmif, atmif-vcc, fratm, fratm-dlci "
                          "or fruni-dlci\n"));
    }

private:
    TestFolders folders_;
    FakeDialogs dialogs_;
};

ORYX_SHELL_TEST_MAIN(ShellRegistryTest)
#include "shell_registry_test.moc"
