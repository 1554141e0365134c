// What a desktop viewer's document window does beyond the original one,
// driven headless: reading the file again, copying report rows for a
// spreadsheet, whole texts in tooltips, and printing with progress and Cancel.
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QPrinter>
#include <QProgressDialog>
#include <QStandardItemModel>
#include <QTest>
#include <QToolTip>
#include <QTreeView>

#include <memory>
#include <string>

#include "doc/document/attribute_list.h"
#include "doc/document/mdi_child.h"
#include "doc/report/report_panel.h"
#include "doc/report/report_rows_text.h"
#include "doc/report/report_table_model.h"
#include "doc/document/tree_printer.h"
#include "doc/tree/tz_tree_view.h"
#include "doc/common/whole_text_tips.h"
#include "doc_test_support.h"
#include "prov/component_store.h"
#include "prov/file_error.h"

using namespace oryx;
using doctest::FakeDialogs;
using doctest::FakeHost;
using doctest::ShowActive;

namespace {

constexpr std::string_view kNode = R"(start prov
add Shelf
add Shelf Card/0
set Shelf Card/0 cardType typeA
add Shelf Card/1
set Shelf Card/1 cardType typeB
add Lp/1
add FrUni/3
add FrUni/3 Dlci/16
add FrUni/3 Dlci/16 Dc
set FrUni/3 Dlci/16 Dc remoteDlci 44, type permanent
add FrUni/3 Dlci/100
)";

// kNode as it is after an edit: Card/1 changed, Card/0 gone, a DLCI added.
constexpr std::string_view kEditedNode = R"(start prov
add Shelf
add Shelf Card/1
set Shelf Card/1 cardType typeC
add Lp/1
add FrUni/3
add FrUni/3 Dlci/16
add FrUni/3 Dlci/17
add FrUni/3 Dlci/100
)";

constexpr int kFrUniDlci = 4;
constexpr int kNodeSummary = 7;

const prov::ComponentNode* Component(const doc::TMDIChild& window, std::string_view path) {
    return prov::FindComponent(&window.Store().Root(), path);
}

QString SelectedPath(const doc::TMDIChild& window) {
    const prov::ComponentNode* selected = window.Tree()->Selected();
    return selected ? QString::fromStdString(prov::GetFullPath(selected)) : QString();
}

QStringList Cells(const QAbstractItemModel& model, int column) {
    QStringList cells;
    for (int row = 0; row < model.rowCount(); ++row) cells << model.index(row, column).data().toString();
    return cells;
}

// The tooltip a view shows for the point, as the user would get it by
// resting the pointer there; empty for none. A tooltip goes only a moment
// after it is hidden, so a marker tip stands in for "none" meanwhile.
QString ToolTipAt(QWidget* viewport, const QPoint& pos) {
    const QString none = QStringLiteral("(no tooltip)");
    QToolTip::showText(viewport->mapToGlobal(pos), none, viewport);
    QHelpEvent help(QEvent::ToolTip, pos, viewport->mapToGlobal(pos));
    QCoreApplication::sendEvent(viewport, &help);
    const QString text = QToolTip::isVisible() && QToolTip::text() != none ? QToolTip::text() : QString();
    QToolTip::hideText();
    return text;
}

}  // namespace

class DocViewerTest final : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    FakeDialogs dialogs_;
    FakeHost host_;

    std::unique_ptr<doc::TMDIChild> Open(std::string_view bytes, const QString& name = QStringLiteral("node.txt")) {
        auto window = std::make_unique<doc::TMDIChild>(&host_, doctest::WriteFile(dir_, name, bytes));
        window->resize(783, 514);
        window->show();
        return window;
    }

private slots:
    void init() {
        dialogs_.Reset();
        host_ = FakeHost();
    }

    // ---- Reload ----

    void reloadReadsTheFileAgainAndKeepsTheSelection() {
        auto window = Open(kNode);
        window->ShowNodeSummaryReport();  // rows built and kept
        window->ShowReport(reports::ReportId::FrUniDlci);
        window->Tree()->Select(Component(*window, "add Shelf Card/1"));
        QCOMPARE(window->Reports()->ListModel(kFrUniDlci)->rowCount(), 2);

        doctest::WriteFile(dir_, QStringLiteral("node.txt"), kEditedNode);
        window->Reload();

        QCOMPARE(SelectedPath(*window), QStringLiteral("add Shelf Card/1"));
        QCOMPARE(window->IndexOfText(), QStringLiteral("Index Of: Shelf Card/1"));
        const QAbstractItemModel& attributes = *window->Attributes()->model();
        QCOMPARE(attributes.index(0, 1).data().toString(), QStringLiteral("typeC"));
        QVERIFY(Component(*window, "add Shelf Card/0") == nullptr);
        QCOMPARE(window->windowTitle(), dir_.filePath(QStringLiteral("node.txt")));
        // The report on show is built again and stays on show, checked.
        QCOMPARE(window->CurrentReportNumber(), kFrUniDlci);
        QVERIFY(window->IsReportListVisible(kFrUniDlci));
        QCOMPARE(Cells(*window->Reports()->ListModel(kFrUniDlci), 1), QStringList({"100", "16", "17"}));
        QCOMPARE(window->Reports()->RecordCountLabel()->text(), QStringLiteral("Number of Records : 3"));
        QCOMPARE(host_.Checked(), std::vector<int>{kFrUniDlci});
        // The rows kept of another report are not shown again stale.
        window->ShowNodeSummaryReport();
        QVERIFY(!Cells(*window->Reports()->ListModel(kNodeSummary), 1).contains(QStringLiteral("typeA")));
    }

    void reloadWithoutTheSelectedComponentSelectsNothing() {
        auto window = Open(kNode);
        window->Tree()->Select(Component(*window, "add Shelf Card/0"));
        doctest::WriteFile(dir_, QStringLiteral("node.txt"), kEditedNode);
        window->Reload();
        QCOMPARE(SelectedPath(*window), QString());
        QCOMPARE(window->IndexOfText(), QString());
        QCOMPARE(window->Attributes()->model()->rowCount(), 0);
        QCOMPARE(window->CurrentReportNumber(), 0);
        QVERIFY(!window->Reports()->isVisible());
    }

    void failedReloadKeepsTheWindowAsItWas() {
        auto window = Open(kNode, QStringLiteral("gone.txt"));
        window->ShowReport(reports::ReportId::FrUniDlci);
        window->Tree()->Select(Component(*window, "add Shelf Card/1"));
        QVERIFY(QFile::remove(dir_.filePath(QStringLiteral("gone.txt"))));

        QVERIFY_THROWS_EXCEPTION(prov::FileError, window->Reload());
        QCOMPARE(SelectedPath(*window), QStringLiteral("add Shelf Card/1"));
        QCOMPARE(window->Attributes()->model()->index(0, 1).data().toString(), QStringLiteral("typeB"));
        QVERIFY(Component(*window, "add Shelf Card/0") != nullptr);
        QCOMPARE(Cells(*window->Reports()->ListModel(kFrUniDlci), 1), QStringList({"100", "16"}));
        QVERIFY(window->IsReportListVisible(kFrUniDlci));
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    void reloadBuildsTheCustomReportOnShowAgain() {
        const QString config =
            doctest::WriteFile(dir_, QStringLiteral("reports.cfg"), "[Cards]\nOne=Shelf Card/1 &cardtype\n");
        auto window = Open(kNode);
        window->ShowCustomReport(QStringLiteral("Cards"), config);
        QCOMPARE(Cells(*window->Reports()->ListModel(10), 1), QStringList({"typeB"}));
        doctest::WriteFile(dir_, QStringLiteral("node.txt"), kEditedNode);
        window->Reload();
        QCOMPARE(window->CurrentReportNumber(), 10);
        QCOMPARE(window->Reports()->ReportNameLabel()->text(), QStringLiteral("Cards"));
        QCOMPARE(Cells(*window->Reports()->ListModel(10), 1), QStringList({"typeC"}));
    }

    // ---- Copying report rows ----

    void rowsText_data() {
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<QString>("expected");
        QTest::newRow("none") << QList<int>{} << QString();
        QTest::newRow("one") << QList<int>{1} << QStringLiteral("Name\tValue\r\nb\t2\r\n");
        QTest::newRow("list order, empty cell") << QList<int>{2, 0} << QStringLiteral("Name\tValue\r\na\t1\r\nc\t\r\n");
        QTest::newRow("quoted where a cell would split")
            << QList<int>{3, 4, 5}
            << QStringLiteral("Name\tValue\r\n\"t\tab\"\tx\"y\r\n\"\"\"q\"\"\"\tend\"\r\n\"two\nlines\"\t\"cr\r\"\r\n");
    }

    void rowsText() {
        QFETCH(QList<int>, selected);
        QFETCH(QString, expected);
        QStandardItemModel model(0, 2);
        model.setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Value")});
        const QStringList cells[] = {{"a", "1"},        {"b", "2"},         {"c", ""},
                                     {"t\tab", "x\"y"}, {"\"q\"", "end\""}, {"two\nlines", "cr\r"}};
        for (const QStringList& row : cells) model.appendRow({new QStandardItem(row[0]), new QStandardItem(row[1])});
        QTreeView view;
        view.setModel(&model);
        view.setSelectionMode(QAbstractItemView::ExtendedSelection);
        for (int row : selected)
            view.selectionModel()->select(model.index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QCOMPARE(doc::SelectedRowsText(view), expected);
    }

    void copyInAReportListCopiesHeaderAndSelectedRows() {
        auto window = Open(kNode);
        ShowActive(*window);
        window->ShowReport(reports::ReportId::FrUniDlci);
        QTreeView* list = window->Reports()->ListView(kFrUniDlci);
        list->setFocus();
        QApplication::clipboard()->setText(QStringLiteral("before"));
        QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);  // nothing selected: nothing copied
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("before"));

        list->selectionModel()->select(list->model()->index(1, 0),
                                       QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("FrUni\tDlci\trdna\trdlci\ttype\ttp\tdp\tre\tcir\r\n"
                                                                   "3\t16\t\t44\tpermanent\t\t\t\t\r\n"));

        QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("FrUni\tDlci\trdna\trdlci\ttype\ttp\tdp\tre\tcir\r\n"
                                                                   "3\t100\t\t\t\t\t\t\t\r\n"
                                                                   "3\t16\t\t44\tpermanent\t\t\t\t\r\n"));

        // The tree copies its path as before, whatever the report list holds.
        window->Tree()->Select(Component(*window, "add Shelf Card/0"));
        window->Tree()->setFocus();
        QTest::keyClick(window->Tree(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Shelf Card/0"));
    }

    void selectAllInTheSingleSelectionList() {
        std::string node(kNode);
        for (const char* vr : {"Vr/1", "Vr/2"})
            node += std::string("add ") + vr + "\nadd " + vr + " Pp/a\nadd " + vr + " Pp/a IpPort\nadd " + vr +
                    " Pp/a IpPort LogicalIf/10.0.0.1\n";
        auto window = Open(node);
        ShowActive(*window);
        window->ShowVirtualRouterReport();
        QTreeView* list = window->Reports()->ListView(8);
        QCOMPARE(list->selectionMode(), QAbstractItemView::SingleSelection);
        QCOMPARE(list->model()->rowCount(), 2);
        list->setFocus();
        QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(list->selectionModel()->selectedRows().size(), 2);
        window->CopySelection();
        QCOMPARE(QApplication::clipboard()->text().count(QStringLiteral("\r\n")), 3);
    }

    // ---- Whole texts ----

    void wholeTip_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("tip");
        QTest::newRow("plain") << QStringLiteral("a < b") << QStringLiteral("a < b");
        QTest::newRow("looks like markup")
            << QStringLiteral("<b>x</b>") << QStringLiteral("<p style='white-space:pre-wrap'>&lt;b&gt;x&lt;/b&gt;</p>");
        const QString huge = QString(3000, QLatin1Char('a')) + QString(3000, QLatin1Char('z'));
        QTest::newRow("huge") << huge
                              << QString(2000, QLatin1Char('a')) + QChar(0x2026) + QString(2000, QLatin1Char('z'));
    }

    void wholeTip() {
        QFETCH(QString, text);
        QFETCH(QString, tip);
        QCOMPARE(doc::WholeTextTip(text), tip);
    }

    void attributeValuesFillTheWidthAndShowWholeWhenCut() {
        const std::string longValue(400, 'v');
        auto window = Open("start prov\nadd Lp/1\nset Lp/1 short 1, long " + longValue + "\n");
        window->Tree()->Select(Component(*window, "add Lp/1"));
        doc::AttributeList& list = *window->Attributes();
        QHeaderView& header = *list.header();
        QCOMPARE(header.sectionPosition(1) + header.sectionSize(1), list.viewport()->width());

        const auto cellCentre = [&](int row, int column) {
            return list.visualRect(list.model()->index(row, column)).center();
        };
        QCOMPARE(list.model()->index(1, 0).data().toString(), QStringLiteral("long"));
        QCOMPARE(ToolTipAt(list.viewport(), cellCentre(1, 1)), QString::fromStdString(longValue));
        QCOMPARE(ToolTipAt(list.viewport(), cellCentre(0, 1)), QString());  // "1" fits
        QCOMPARE(ToolTipAt(list.viewport(), cellCentre(1, 0)), QString());
        header.resizeSection(0, 6);
        QCOMPARE(ToolTipAt(list.viewport(), cellCentre(1, 0)), QStringLiteral("long"));
    }

    void reportHeadersAndCellsShowWholeWhenCut() {
        auto window = Open(kNode);
        window->ShowReport(reports::ReportId::FrUniDlci);
        QTreeView& list = *window->Reports()->ListView(kFrUniDlci);
        QHeaderView& header = *list.header();
        const auto headerCentre = [&](int section) {
            return QPoint(header.sectionViewportPosition(section) + header.sectionSize(section) / 2,
                          header.height() / 2);
        };
        // Sized to the widest cell (here "permanent"), wider than the caption.
        const int typeColumn = 4;
        QCOMPARE(header.sectionSize(typeColumn), list.fontMetrics().horizontalAdvance(QStringLiteral("permanent")) + 5);
        QCOMPARE(ToolTipAt(header.viewport(), headerCentre(typeColumn)), QString());  // "type" fits
        QCOMPARE(ToolTipAt(list.viewport(), list.visualRect(list.model()->index(1, typeColumn)).center()), QString());
        // "rdlci" over the column of "44" shows whole, and in a tooltip once the column is narrowed.
        const int rdlciColumn = 3;
        QCOMPARE(ToolTipAt(header.viewport(), headerCentre(rdlciColumn)), QString());
        header.resizeSection(rdlciColumn, 12);
        QCOMPARE(ToolTipAt(header.viewport(), headerCentre(rdlciColumn)), QStringLiteral("rdlci"));
        header.resizeSection(typeColumn, 12);
        QCOMPARE(ToolTipAt(list.viewport(), list.visualRect(list.model()->index(1, typeColumn)).center()),
                 QStringLiteral("permanent"));
    }

    void longPathShowsWholeInTheStripTooltip() {
        auto window = Open("start prov\nadd Lp/1\nadd Lp/1 Eth/0\nadd Shelf\n");
        window->Tree()->Select(Component(*window, "add Lp/1 Eth/0"));
        QLabel* label = window->PathLabel();
        QCOMPARE(ToolTipAt(label, QPoint(5, 5)), QString());  // short enough
        window->Tree()->Select(Component(*window, "add Shelf"));
        label->setFixedWidth(20);
        QCOMPARE(ToolTipAt(label, QPoint(5, 5)), QStringLiteral("Index Of: Shelf"));
    }

    // ---- Printing ----

    void printingReportsProgressAndCancelStopsCleanly_data() {
        QTest::addColumn<int>("cancelAt");
        QTest::newRow("to the end") << -1;
        QTest::newRow("cancelled on the first line") << 1;
        QTest::newRow("cancelled midway") << 2000;
    }

    void printingReportsProgressAndCancelStopsCleanly() {
        QFETCH(int, cancelAt);
        std::string node = "start prov\n";
        for (int i = 0; i < 1000; ++i)
            node += "add Lp/" + std::to_string(i) + "\nset Lp/" + std::to_string(i) + " a 1, b 2\n";
        auto window = Open(node);
        const QString pdf = dir_.filePath(QStringLiteral("tree-%1.pdf").arg(cancelAt));
        dialogs_.printAnswer = pdf;
        dialogs_.cancelProgressAt = cancelAt;
        window->PrintTreeStructure();

        QCOMPARE(dialogs_.progressCaptions, QStringList{QStringLiteral("Print")});
        // Each component: a blank line, its name, " |" and two attribute lines.
        QCOMPARE(dialogs_.progressTotal, 5000);
        if (cancelAt < 0) {
            QCOMPARE(dialogs_.progressDone, 5000);
            QCOMPARE(dialogs_.messages.size(), std::size_t(1));
            QCOMPARE(dialogs_.messages[0].text, QStringLiteral("Structure was sent to printer."));
            QVERIFY(doctest::ReadFile(pdf).startsWith("%PDF"));
        } else {
            QCOMPARE(dialogs_.progressDone, cancelAt);  // nothing more was printed
            QVERIFY(dialogs_.messages.empty());
            QVERIFY(!QFile::exists(pdf));
        }
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    void progressWindowCancels() {
        QWidget parent;
        parent.show();
        doc::SetDialogs(nullptr);  // the real progress window
        std::unique_ptr<doc::Progress> progress =
            doc::CurrentDialogs().ShowProgress(&parent, QStringLiteral("Print"), QStringLiteral("Printing..."));
        doc::SetDialogs(&dialogs_);
        auto* window = parent.findChild<QProgressDialog*>();
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QStringLiteral("Print"));
        QCOMPARE(window->labelText(), QStringLiteral("Printing..."));
        QCOMPARE(window->windowModality(), Qt::WindowModal);
        QVERIFY(progress->Advance(5, 10));
        QCOMPARE(window->value(), 500);
        window->cancel();
        QVERIFY(!progress->Advance(6, 10));
        progress.reset();
        QVERIFY(!parent.findChild<QProgressDialog*>());
    }

    void printingWithoutProgressIsAsBefore() {
        auto window = Open(kNode);
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        const QString pdf = dir_.filePath(QStringLiteral("plain.pdf"));
        printer.setOutputFileName(pdf);
        QCOMPARE(doc::PrintTreeText(printer, window->Store()), QString());
        QVERIFY(doctest::ReadFile(pdf).startsWith("%PDF"));
    }
};

QTEST_MAIN(DocViewerTest)
#include "doc_viewer_test.moc"
