// The fixed reports as every front shows them: walks the report registry and
// proves that the report menu, the report panel and oryx-cli stay in step
// with it.
#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

#include "doc/document/mdi_child.h"
#include "doc/report/report_panel.h"
#include "doc/report/report_window_info.h"
#include "reports/report_registry.h"
#include "sample_node.h"
#include "settings/settings_folder.h"
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

// The CSV header line of a report's columns.
QByteArray CsvHeader(const reports::ReportInfo& report) {
    QByteArray header;
    for (const reports::ColumnInfo& column : report.columns)
        header += (header.isEmpty() ? "\"" : ",\"") +
                  QByteArray(column.caption.data(), qsizetype(column.caption.size())) + "\"";
    return header + "\r\n";
}

}  // namespace

class ShellRegistryTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(settingsDir_.isValid());
        QVERIFY(filesDir_.isValid());
        settings::OverrideSettingsFolder(settingsDir_.path().toStdString());
    }

    void windowTableNamesEachReportOnce() {
        // The window's names of each fixed report: its code, list, menu item
        // and caption, and whether the panel counts its rows.
        QStringList table;
        for (const doc::ReportWindowInfo& shown : doc::ReportWindowTable())
            table << QStringLiteral("%1|%2|%3|%4|%5")
                         .arg(reports::Report(shown.id).code)
                         .arg(shown.listViewName, shown.menuItemName, shown.menuCaption)
                         .arg(shown.showsRecordCount ? "counted" : "not counted");
        QCOMPARE(table, QStringList({
                            "6|AtmIfListBox|miAtmIfReport|AtmIf Report|counted",
                            "2|VCCAtmIfListBox|miVCCAtmIfReport|AtmIf Vcc Report|counted",
                            "5|FrAtmListBox|miFrAtmReport|FrAtm Report|counted",
                            "3|FrAtmDLCIListBox|miFrAtmDlciReport|FrAtm Dlci Report|counted",
                            "4|FrUniDlciListBox|miFrUniDlciReport|FrUni Dlci Report|counted",
                            "7|CommonReportListBox|miCommonReport|Node Summary|not counted",
                            "1|ShelfSummaryList|miOverviewReport|Halyard Overview Report|counted",
                            "8|VirtualRouterListBox|miVirtualRouterReport|Virtual Router|counted",
                        }));
    }

    void menuPanelAndCliFollowTheRegistry() {
        const QString file = filesDir_.filePath("node.txt");
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(oryx::testing::kSampleNode);
        out.close();

        TMainForm form;
        form.show();
        form.OpenWithTaskbarButton(file);
        doc::TMDIChild* document = form.ActiveDocument();
        QVERIFY(document);
        const QList<QAction*> menuItems = form.findChild<QMenu*>("popReportMenu")->actions();
        const QByteArray help = RunCli({"--help"}).out;

        qsizetype helpAt = 0;
        std::size_t row = 0;
        for (const reports::ReportInfo& report : reports::FixedReports()) {
            const doc::ReportWindowInfo& shown = doc::ReportWindow(report.id);
            QCOMPARE(shown.id, report.id);
            const QString cliName = QString::fromLatin1(report.cliName.data(), qsizetype(report.cliName.size()));

            // The menu: the report's item at its place, and choosing it shows its list.
            QAction* item = menuItems.at(qsizetype(row++));
            QCOMPARE(item->objectName(), QString(shown.menuItemName));
            QCOMPARE(item->text(), QString(shown.menuCaption));
            item->trigger();
            QCOMPARE(CheckedReportItems(form), QStringList{shown.menuItemName});
            QCOMPARE(document->CurrentReportNumber(), report.code);
            QVERIFY(document->IsReportListVisible(report.code));

            // The panel: the list of that name, with the registry's title and columns.
            doc::ReportPanel& panel = *document->Reports();
            QCOMPARE(panel.ListView(report.code)->objectName(), QString(shown.listViewName));
            QCOMPARE(panel.ReportNameLabel()->text().toStdString(), report.title);
            QAbstractItemModel* model = panel.ListView(report.code)->model();
            QCOMPARE(std::size_t(model->columnCount()), report.columns.size());
            for (int column = 0; column < model->columnCount(); ++column)
                QCOMPARE(model->headerData(column, Qt::Horizontal).toString().toStdString(),
                         report.columns[std::size_t(column)].caption);
            item->trigger();  // and closes it again
            QCOMPARE(CheckedReportItems(form), QStringList());

            // oryx-cli: the report by its name, with the same columns.
            const CliRun cli = RunCli({"report", cliName, file});
            QCOMPARE(cli.exitCode, 0);
            QVERIFY2(cli.out.startsWith(CsvHeader(report)), qPrintable(cliName));
            QVERIFY(help.contains(cliName.toLatin1()));
        }
        QCOMPARE(qsizetype(row), menuItems.indexOf(form.findChild<QAction*>("miReportMenuSeparator")));

        // The help names the reports in the registry's help order.
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
    QTemporaryDir settingsDir_;
    QTemporaryDir filesDir_;
    FakeDialogs dialogs_;
};

QTEST_MAIN(ShellRegistryTest)
#include "shell_registry_test.moc"
