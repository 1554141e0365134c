// The document window driven headless: opening, the tree, the attribute
// list, copy, delete, expand and collapse, the tree text, closing.
#include <QAbstractItemModelTester>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrinter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>

#include <cerrno>
#include <functional>
#include <memory>
#include <string>

#include "doc/common/file_filter.h"
#include "doc/common/io_error.h"
#include "doc/common/text_codec.h"
#include "doc/common/text_measure.h"
#include "doc/compare/compare_window.h"
#include "doc/document/attribute_list.h"
#include "doc/document/attribute_list_model.h"
#include "doc/document/mdi_child.h"
#include "doc/document/tree_printer.h"
#include "doc/report/column_sizer.h"
#include "doc/report/report_panel.h"
#include "doc/tree/component_tree_model.h"
#include "doc/tree/tz_tree_view.h"
#include "doc_test_support.h"
#include "prov/component_store.h"
#include "prov/reader.h"
#include "reports/column_widths.h"

using namespace oryx;
using doctest::FakeDialogs;
using doctest::FakeHost;
using doctest::ShowActive;

namespace {

constexpr std::string_view kStartProv = R"(start prov
add Shelf
add Shelf Card/3
set Shelf Card/3 cardType aal1Ces, spareCard 0
add Lp/3
set Lp/3 mainCard Shelf Card/3
add AtmIf/31
set AtmIf/31 interfaceName atm31
add AtmIf/31 Vcc/0.100
add AtmIf/31 Vcc/0.100 Nrp
set AtmIf/31 Vcc/0.100 Nrp atmConnection Lp/3,
)";

// The tree text of kStartProv, as the saved file holds it.
constexpr std::string_view kStartProvTreeText =
    "\r\n"
    "AtmIf/31\r\n"
    " |\r\n"
    " |--interfaceName = atm31\r\n"
    " |\r\n"
    " |--Vcc/0.100\r\n"
    " |   |\r\n"
    " |   |--Nrp\r\n"
    " |   |   |\r\n"
    " |   |   |--atmConnection = Lp/3\r\n"
    " |   |   |-- = \r\n"
    "\r\n"
    "Lp/3\r\n"
    " |\r\n"
    " |--mainCard = Shelf Card/3\r\n"
    "\r\n"
    "Shelf\r\n"
    " |\r\n"
    " |--Card/3\r\n"
    " |   |\r\n"
    " |   |--cardType = aal1Ces\r\n"
    " |   |--spareCard = 0\r\n";

const QString kQuestion = QStringLiteral("Are you sure you want to delete this item?");

QStringList Captions(const QAbstractItemModel& model) {
    QStringList captions;
    for (int row = 0; row < model.rowCount(); ++row) captions << model.index(row, 0).data().toString();
    return captions;
}

QStringList AttributeRows(const doc::TMDIChild& window) {
    QStringList rows;
    const QAbstractItemModel& model = *window.Attributes()->model();
    for (int row = 0; row < model.rowCount(); ++row)
        rows << model.index(row, 0).data().toString() + QLatin1Char('|') + model.index(row, 1).data().toString();
    return rows;
}

const prov::ComponentNode* Component(const doc::TMDIChild& window, std::string_view path) {
    return prov::FindComponent(&window.Store().Root(), path);
}

}  // namespace

class DocTest final : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    FakeDialogs dialogs_;
    FakeHost host_;

    std::unique_ptr<doc::TMDIChild> Open(std::string_view bytes, const QString& name = QStringLiteral("node17.txt")) {
        return std::make_unique<doc::TMDIChild>(&host_, doctest::WriteFile(dir_, name, bytes));
    }

private slots:
    void init() {
        dialogs_.saveAnswers.clear();
        dialogs_.questionAnswers.clear();
        dialogs_.saves.clear();
        dialogs_.messages.clear();
        host_ = FakeHost();
    }

    void opensWithTopLevelItemsInStoreOrder() {
        auto window = Open(kStartProv);
        QCOMPARE(window->windowTitle(), dir_.filePath(QStringLiteral("node17.txt")));
        QCOMPARE(Captions(*window->Tree()->model()), QStringList({"AtmIf/31", "Lp/3", "Shelf"}));
        QVERIFY(!window->Tree()->currentIndex().isValid());
        QCOMPARE(window->PathLabel()->text(), QString());
        QCOMPARE(window->Attributes()->model()->rowCount(), 0);
        QCOMPARE(window->CurrentReportNumber(), 0);
    }

    void siblingsSortIgnoringCaseDigitsAsCharacters() {
        auto window = Open("start prov\nadd Shelf\nadd Shelf Card/2\nadd Shelf card/10\nadd Shelf Card/1\n");
        window->Tree()->ExpandAllItems();
        QCOMPARE(Captions(*window->Tree()->model()), QStringList({"Shelf", "Card/1", "card/10", "Card/2"}));
    }

    void missingFileRaisesAndLeavesNoWindow() {
        QVERIFY_THROWS_EXCEPTION(prov::FileError, doc::TMDIChild(&host_, dir_.filePath(QStringLiteral("absent.txt"))));
    }

    void emptyFileOpensEmptyTreeAndSaveAsksNothing() {
        auto window = Open("", QStringLiteral("empty.txt"));
        QCOMPARE(window->Tree()->model()->rowCount(), 0);
        window->SaveTreeStructure();
        window->PrintTreeStructure();
        QVERIFY(dialogs_.saves.empty());
        QCOMPARE(dialogs_.prints, 0);
    }

    void configureFirstLineGivesSecondIcon_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("ownIcon");
        QTest::newRow("configure") << QByteArray("configure Shelf\nset shelfType x\n") << true;
        QTest::newRow("configuration is not configure")
            << QByteArray("saved configuration\nconfigure Shelf\n") << false;
        QTest::newRow("no configure") << QByteArray("saved\nconfigure Shelf\n") << false;
        QTest::newRow("start prov") << QByteArray(kStartProv.data(), kStartProv.size()) << false;
    }

    void configureFirstLineGivesSecondIcon() {
        QFETCH(QByteArray, file);
        QFETCH(bool, ownIcon);
        auto window = Open(std::string_view(file.constData(), static_cast<std::size_t>(file.size())));
        QCOMPARE(window->testAttribute(Qt::WA_SetWindowIcon), ownIcon);
    }

    void selectingShowsOwnValuesPathAndBold() {
        auto window = Open(
            "start prov\nadd Shelf\nadd Shelf Card/3\n"
            "set Shelf Card/3 cardType aal1Ces, spareCard 0, cardType second\n"
            "add Lp/3\nset Lp/3 mainCard Shelf Card/3\n");
        doc::TZTreeView& tree = *window->Tree();
        const auto* lp = Component(*window, "add Lp/3");
        const auto* card = Component(*window, "add Shelf Card/3");

        tree.Select(lp);
        QCOMPARE(window->PathLabel()->text(), QStringLiteral("Index Of: Lp/3"));
        QCOMPARE(AttributeRows(*window), QStringList({"mainCard|Shelf Card/3"}));

        QSignalSpy changes(&tree, &doc::TZTreeView::Change);
        tree.Select(card);
        // The previous item, then the new one as bolded, then as selected.
        QCOMPARE(changes.size(), 3);
        QCOMPARE(changes[0][0].value<const prov::ComponentNode*>(), lp);
        QCOMPARE(changes[1][0].value<const prov::ComponentNode*>(), card);
        QCOMPARE(changes[2][0].value<const prov::ComponentNode*>(), card);

        QCOMPARE(window->PathLabel()->text(), QStringLiteral("Index Of: Shelf Card/3"));
        QCOMPARE(AttributeRows(*window), QStringList({"cardType|aal1Ces", "spareCard|0", "cardType|second"}));
        QVERIFY(tree.TreeModel()->IsBold(card));
        QVERIFY(!tree.TreeModel()->IsBold(lp));
        QVERIFY(tree.currentIndex().data(Qt::FontRole).value<QFont>().bold());
    }

    void bookkeepingOnlyAndEmptyLines() {
        auto window = Open(kStartProv);
        window->Tree()->Select(Component(*window, "add Shelf"));
        QCOMPARE(window->PathLabel()->text(), QStringLiteral("Index Of: Shelf"));
        QCOMPARE(window->Attributes()->model()->rowCount(), 0);
        window->Tree()->Select(Component(*window, "add AtmIf/31 Vcc/0.100 Nrp"));
        QCOMPARE(window->PathLabel()->text(), QStringLiteral("Index Of: AtmIf/31 Vcc/0.100 Nrp"));
        QCOMPARE(AttributeRows(*window), QStringList({"atmConnection|Lp/3", "|"}));
    }

    void latin1AndUtf8NamesDisplay() {
        auto window = Open("start prov\nadd Caf\xe9\nset Caf\xe9 name Jos\xe9\nadd Na\xc3\xafve\n");
        QCOMPARE(Captions(*window->Tree()->model()),
                 QStringList({QStringLiteral("Caf\u00e9"), QStringLiteral("Na\u00efve")}));
        window->Tree()->Select(Component(*window, "add Caf\xe9"));
        QCOMPARE(AttributeRows(*window), QStringList({QStringLiteral("name|Jos\u00e9")}));
    }

    void displayText_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::newRow("ascii") << QByteArray("Card/3") << QStringLiteral("Card/3");
        QTest::newRow("utf-8") << QByteArray("caf\xc3\xa9") << QStringLiteral("caf\u00e9");
        QTest::newRow("latin-1") << QByteArray("caf\xe9") << QStringLiteral("caf\u00e9");
        QTest::newRow("broken utf-8 sequence") << QByteArray("a\xc3(b") << QStringLiteral("a\u00c3(b");
        QTest::newRow("empty") << QByteArray() << QString();
    }

    void displayText() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        QCOMPARE(doc::DisplayText(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))), shown);
    }

    void columnSizerMatchesTheFontMetrics_data() {
        QTest::addColumn<int>("pointSize");
        QTest::addColumn<bool>("kerning");
        QTest::newRow("default") << 0 << true;
        QTest::newRow("9 point") << 9 << true;
        QTest::newRow("13 point without kerning") << 13 << false;
        QTest::newRow("31 point") << 31 << true;
    }

    // The widest cell of every column, measured or passed over by its
    // bound, is the width the font metrics give it.
    void columnSizerMatchesTheFontMetrics() {
        QFETCH(int, pointSize);
        QFETCH(bool, kerning);
        QFont font = QApplication::font();
        if (pointSize > 0) font.setPointSize(pointSize);
        font.setKerning(kerning);
        const QFontMetrics metrics(font);
        const reports::ReportRows rows = {
            {"AtmIf/31", {"0.32", "AVATAR To", "", "caf\xc3\xa9"}},
            {"AtmIf/4", {"0.100", "-J-J-J", "x", "Tw"}},
            {"AV", {"0.32", "AVATAR Tw", "", "WWW"}},
            {"AtmIf/31", {"11,100,9", "alpha, beta)", "yy", ""}},
        };
        std::vector<int> expected(5, 0);
        for (const reports::ReportRow& row : rows) {
            expected[0] = std::max(expected[0], metrics.horizontalAdvance(doc::DisplayText(row.First())));
            for (std::size_t c = 0; c < row.CellCount(); ++c)
                expected[c + 1] = std::max(expected[c + 1], metrics.horizontalAdvance(doc::DisplayText(row.Cell(c))));
        }
        for (int& width : expected) width = width == 0 ? 35 : width + 5;
        doc::ColumnSizer sizer(font, rows, 5);
        QCOMPARE(reports::AutoSizeColumns(rows, 5, std::ref(sizer)), expected);
        doc::TextMeasure measure(font);
        QCOMPARE(measure.Width("AVATAR"), metrics.horizontalAdvance(QStringLiteral("AVATAR")));
        QCOMPARE(measure.Width(""), 0);
    }

    void copyFromTreeAndList() {
        auto window = Open(kStartProv);
        ShowActive(*window);
        window->Tree()->Select(Component(*window, "add Shelf Card/3"));
        QApplication::clipboard()->setText(QStringLiteral("before"));

        window->Tree()->setFocus();
        QTest::keyClick(window->Tree(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Shelf Card/3"));

        // The list has the focus but no selected row: nothing is copied.
        QApplication::clipboard()->setText(QStringLiteral("before"));
        window->Attributes()->setFocus();
        window->CopySelection();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("before"));

        window->Attributes()->setCurrentIndex(window->Attributes()->model()->index(1, 0));
        QTest::keyClick(window->Attributes(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Shelf Card/3 spareCard = 0"));
    }

    void deleteAsksFirstAndRemovesBranchFromTreeOnly_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("Delete") << int(Qt::Key_Delete) << int(Qt::NoModifier);
        QTest::newRow("Clear") << int(Qt::Key_Clear) << int(Qt::NoModifier);
        QTest::newRow("keypad decimal") << int(Qt::Key_Period) << int(Qt::KeypadModifier);
    }

    void deleteAsksFirstAndRemovesBranchFromTreeOnly() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        auto window = Open(kStartProv);
        doc::TZTreeView& tree = *window->Tree();
        const auto* atmIf = Component(*window, "add AtmIf/31");
        tree.Select(Component(*window, "add AtmIf/31 Vcc/0.100"));
        tree.Select(atmIf);
        QCOMPARE(tree.model()->rowCount(), 4);

        dialogs_.questionAnswers = {false};
        QTest::keyClick(&tree, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(dialogs_.messages.size(), std::size_t{1});
        QCOMPARE(dialogs_.messages[0].caption, QStringLiteral("Confirm"));
        QCOMPARE(dialogs_.messages[0].text, kQuestion);
        QCOMPARE(tree.model()->rowCount(), 4);

        dialogs_.questionAnswers = {true};
        QTest::keyClick(&tree, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(Captions(*tree.model()), QStringList({"Lp/3", "Shelf"}));
        QVERIFY(tree.Selected() != atmIf);
        QVERIFY(!tree.TreeModel()->IsBold(atmIf));

        // The store keeps the component: the tree text still has it.
        const QString saved = dir_.filePath(QStringLiteral("after-delete.txt"));
        dialogs_.saveAnswers = {saved};
        window->SaveTreeStructure();
        QCOMPARE(doctest::ReadFile(saved), QByteArray(kStartProvTreeText.data(), kStartProvTreeText.size()));
    }

    void otherKeysAndNoSelectionDeleteNothing() {
        auto window = Open(kStartProv);
        QTest::keyClick(window->Tree(), Qt::Key_Delete);
        window->Tree()->Select(Component(*window, "add Lp/3"));
        QTest::keyClick(window->Tree(), Qt::Key_Period);
        QVERIFY(dialogs_.messages.empty());
        QCOMPARE(window->Tree()->model()->rowCount(), 3);
    }

    void deletingLastItemEmptiesListAndLabel() {
        auto window = Open("start prov\nadd Lp/3\nset Lp/3 mainCard x\n");
        window->Tree()->Select(Component(*window, "add Lp/3"));
        dialogs_.questionAnswers = {true};
        QTest::keyClick(window->Tree(), Qt::Key_Delete);
        QCOMPARE(window->Tree()->model()->rowCount(), 0);
        QCOMPARE(window->PathLabel()->text(), QString());
        QCOMPARE(window->Attributes()->model()->rowCount(), 0);
        window->SaveTreeStructure();
        QVERIFY(dialogs_.saves.empty());
    }

    void expandAllAndCollapseAll() {
        auto window = Open(kStartProv);
        window->ExpandAll();
        QCOMPARE(Captions(*window->Tree()->model()),
                 QStringList({"AtmIf/31", "Vcc/0.100", "Nrp", "Lp/3", "Shelf", "Card/3"}));
        window->Tree()->Select(Component(*window, "add AtmIf/31 Vcc/0.100 Nrp"));
        window->CollapseAll();
        QCOMPARE(Captions(*window->Tree()->model()), QStringList({"AtmIf/31", "Lp/3", "Shelf"}));
        // The selection moves to the item that stays visible.
        QCOMPARE(window->Tree()->Selected(), Component(*window, "add AtmIf/31"));
        QCOMPARE(window->PathLabel()->text(), QStringLiteral("Index Of: AtmIf/31"));
    }

    void keyboardExpandsAndCollapses() {
        auto window = Open(kStartProv);
        doc::TZTreeView& tree = *window->Tree();
        tree.Select(Component(*window, "add Shelf"));
        QTest::keyClick(&tree, Qt::Key_Right);
        QCOMPARE(Captions(*tree.model()), QStringList({"AtmIf/31", "Lp/3", "Shelf", "Card/3"}));
        QTest::keyClick(&tree, Qt::Key_Right);
        QCOMPARE(tree.Selected(), Component(*window, "add Shelf Card/3"));
        QTest::keyClick(&tree, Qt::Key_Left);
        QCOMPARE(tree.Selected(), Component(*window, "add Shelf"));
        QTest::keyClick(&tree, Qt::Key_Left);
        QCOMPARE(tree.model()->rowCount(), 3);
    }

    void deepNestingExpandsCollapsesAndPaints() {
        // A configure file may nest as deep as it has lines.
        constexpr int kDepth = 100000;
        std::string file = "configure N0\n";
        for (int i = 1; i < kDepth; ++i) file += "configure N" + std::to_string(i) + "\n";
        file += "set depth deepest\n";
        auto window = Open(file, QStringLiteral("deep.txt"));
        window->resize(800, 500);
        window->show();
        window->ExpandAll();
        QCOMPARE(window->Tree()->model()->rowCount(), kDepth);
        const auto* deepest = window->Tree()->TreeModel()->NodeAt(window->Tree()->model()->index(kDepth - 1, 0));
        window->Tree()->Select(deepest);
        QCOMPARE(AttributeRows(*window), QStringList({"depth|deepest"}));
        QVERIFY(window->PathLabel()->text().endsWith(QStringLiteral(" N99998 N99999")));
        QVERIFY(window->IndexOfText().startsWith(QStringLiteral("Index Of: N0 N1 N2 ")));
        QVERIFY(window->IndexOfText().endsWith(QStringLiteral(" N99998 N99999")));
        QVERIFY(window->width() < 2000);
        // Scrolled sideways as far as the column goes (a header section ends
        // at about a million pixels).
        const QScrollBar& sideways = *window->Tree()->horizontalScrollBar();
        QTRY_VERIFY(sideways.value() > 1000000 && sideways.value() == sideways.maximum());
        QVERIFY(!window->grab().isNull());
        window->CollapseAll();
        QCOMPARE(window->Tree()->model()->rowCount(), 1);
        QCOMPARE(window->Tree()->Selected(), Component(*window, "add N0"));
        QVERIFY(!window->grab().isNull());
    }

    void inPlaceEditChangesTreeOnly() {
        auto window = Open(kStartProv);
        QAbstractItemModel& model = *window->Tree()->model();
        QVERIFY(model.setData(model.index(1, 0), QStringLiteral("My LP")));
        QCOMPARE(Captions(model), QStringList({"AtmIf/31", "My LP", "Shelf"}));
        window->Tree()->setCurrentIndex(model.index(1, 0));
        QCOMPARE(window->PathLabel()->text(), QStringLiteral("Index Of: Lp/3"));
        const QString saved = dir_.filePath(QStringLiteral("edited.txt"));
        dialogs_.saveAnswers = {saved};
        window->SaveTreeStructure();
        QCOMPARE(doctest::ReadFile(saved), QByteArray(kStartProvTreeText.data(), kStartProvTreeText.size()));
    }

    // The column fits its widest item through every kind of change, as a
    // view that has measured nothing yet fits it.
    void treeColumnFitsItsItemsAfterEachChange() {
        auto window = Open(kStartProv);
        window->resize(600, 400);
        window->show();
        doc::TZTreeView& tree = *window->Tree();
        QAbstractItemModel& model = *tree.model();
        const auto* atmIf = Component(*window, "add AtmIf/31");
        const auto* lp = Component(*window, "add Lp/3");
        struct Step {
            const char* what;
            std::function<void()> change;
        } steps[] = {
            {"opened", [] {}},
            {"widest item bold", [&] { tree.Select(atmIf); }},
            {"expanded", [&] { window->ExpandAll(); }},
            {"renamed longer", [&] { model.setData(model.index(1, 0), QStringLiteral("A much longer caption here")); }},
            {"renamed shorter", [&] { model.setData(model.index(1, 0), QStringLiteral("x")); }},
            {"bold moved", [&] { tree.Select(lp); }},
            {"larger font",
             [&] {
                 QFont larger = tree.font();
                 larger.setPointSizeF(larger.pointSizeF() * 2);
                 tree.setFont(larger);
             }},
            {"collapsed", [&] { window->CollapseAll(); }},
        };
        QSet<int> widths;
        for (const Step& step : steps) {
            step.change();
            QApplication::processEvents();
            doc::TZTreeView fresh;
            fresh.SetTreeModel(tree.TreeModel());
            fresh.setFont(tree.font());
            fresh.resize(tree.size());
            fresh.show();
            QApplication::processEvents();
            QVERIFY2(tree.header()->sectionSize(0) == fresh.header()->sectionSize(0), step.what);
            widths << tree.header()->sectionSize(0);
        }
        QVERIFY(widths.size() >= 4);
    }

    void saveTreeStructureAsksBeforeOverwritingAndReports() {
        auto window = Open(kStartProv);
        const QString saved = doctest::WriteFile(dir_, QStringLiteral("tree.txt"), "earlier");
        dialogs_.saveAnswers = {saved};
        window->SaveTreeStructure();
        QCOMPARE(dialogs_.saves.size(), std::size_t{1});
        QCOMPARE(dialogs_.saves[0].title, QStringLiteral("Save Tree Structure..."));
        QCOMPARE(dialogs_.saves[0].defaultSuffix, QStringLiteral("txt"));
        QCOMPARE(dialogs_.saves[0].filter, QStringLiteral("Text Files (*.txt);;All Files (*)"));
        QVERIFY(dialogs_.saves[0].confirmOverwrite);
        QCOMPARE(doctest::ReadFile(saved), QByteArray(kStartProvTreeText.data(), kStartProvTreeText.size()));
        QCOMPARE(dialogs_.messages.size(), std::size_t{1});
        QCOMPARE(dialogs_.messages[0].kind, doc::MessageKind::Information);
        QCOMPARE(dialogs_.messages[0].text, saved + QStringLiteral(" was saved."));

        dialogs_.messages.clear();
        window->SaveTreeStructure();  // cancelled
        QVERIFY(dialogs_.messages.empty());
    }

    // Every save of the program refuses a file open in a document or compare
    // window, however it is spelled, and asks again; another file is written.
    void savesRefuseAnOpenFile_data() {
        QTest::addColumn<QString>("save");
        QTest::addColumn<QString>("openIn");
        QTest::addColumn<QString>("spelling");
        for (const char* save : {"tree text", "report csv", "differences csv"})
            for (const char* openIn : {"document", "compare"})
                for (const char* spelling : {"same path", "link", "other path"})
                    QTest::addRow("%s, %s, %s", save, openIn, spelling) << save << openIn << spelling;
    }

    void savesRefuseAnOpenFile() {
        QFETCH(QString, save);
        QFETCH(QString, openIn);
        QFETCH(QString, spelling);
        QTemporaryDir dir;
        const QString first = doctest::WriteFile(dir, QStringLiteral("node17.txt"), kStartProv);
        const QString second = doctest::WriteFile(dir, QStringLiteral("node18.txt"), "start prov\nadd Lp/4\n");
        const QString third = doctest::WriteFile(dir, QStringLiteral("node19.txt"), "start prov\nadd Lp/5\n");
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("sub"))));
        std::unique_ptr<QWidget> holder;
        if (openIn == QStringLiteral("document"))
            holder = std::make_unique<doc::TMDIChild>(&host_, first);
        else
            holder = std::make_unique<doc::CompareWindow>(&host_, first, second);

        QString chosen = first;
        if (spelling == QStringLiteral("link")) {
            chosen = dir.filePath(QStringLiteral("sub/link.txt"));
            QVERIFY(QFile::link(first, chosen));
        } else if (spelling == QStringLiteral("other path")) {
            chosen = dir.filePath(QStringLiteral("sub/../node17.txt"));
        }
        const QString elsewhere = dir.filePath(QStringLiteral("sub/saved.txt"));
        dialogs_.saveAnswers = {chosen, elsewhere};
        if (save == QStringLiteral("differences csv")) {
            doc::CompareWindow(&host_, second, third).ExportDifferencesCsv();
        } else {
            doc::TMDIChild saver(&host_, third);
            if (save == QStringLiteral("tree text")) {
                saver.SaveTreeStructure();
            } else {
                saver.ShowOverviewReport();
                saver.Reports()->ExportReportCsv();
            }
        }

        QCOMPARE(dialogs_.saves.size(), std::size_t{2});
        QCOMPARE(dialogs_.saves[1].proposedName, dialogs_.saves[0].proposedName);
        QVERIFY(!dialogs_.messages.empty());
        QCOMPARE(dialogs_.messages[0].kind, doc::MessageKind::Error);
        QCOMPARE(dialogs_.messages[0].caption, QStringLiteral("Error"));
        QCOMPARE(dialogs_.messages[0].text,
                 QStringLiteral("The file is open in ORYX and cannot be overwritten:\r") + chosen);
        QCOMPARE(doctest::ReadFile(first), QByteArray(kStartProv.data(), kStartProv.size()));
        QVERIFY(!doctest::ReadFile(elsewhere).isEmpty());
        if (save == QStringLiteral("tree text"))
            QCOMPARE(dialogs_.saves[0].proposedName, dir.filePath(QStringLiteral("node19 - Tree.txt")));
    }

    void failedSaveShowsErrorAndKeepsWhatWasThere() {
        auto window = Open(kStartProv);
        const QString folder = dir_.filePath(QStringLiteral("a-folder"));
        QVERIFY(QDir().mkpath(folder));
        doctest::WriteFile(dir_, QStringLiteral("a-folder/inside.txt"), "kept");
        dialogs_.saveAnswers = {dir_.filePath(QStringLiteral("no-such-folder/tree.txt")), folder};
        window->SaveTreeStructure();
        window->SaveTreeStructure();
        QCOMPARE(dialogs_.messages.size(), std::size_t{2});
        for (const oryx::testing::ShownMessage& shown : dialogs_.messages) {
            QCOMPARE(shown.kind, doc::MessageKind::Error);
            QCOMPARE(shown.text, QStringLiteral("Invalid filename"));
        }
        QVERIFY(!QFile::exists(dir_.filePath(QStringLiteral("no-such-folder"))));
        QCOMPARE(doctest::ReadFile(folder + QStringLiteral("/inside.txt")), QByteArray("kept"));
    }

    void ioErrorTexts_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("folderExists");
        QTest::addColumn<QString>("text");
        QTest::newRow("missing file") << ENOENT << true << QStringLiteral("File not found");
        QTest::newRow("missing folder") << ENOENT << false << QStringLiteral("Invalid filename");
        QTest::newRow("name too long") << ENAMETOOLONG << true << QStringLiteral("Invalid filename");
        QTest::newRow("too many files") << EMFILE << true << QStringLiteral("Too many open files");
        QTest::newRow("denied") << EACCES << true << QStringLiteral("File access denied");
        QTest::newRow("read-only") << EROFS << true << QStringLiteral("File access denied");
        QTest::newRow("disk full") << ENOSPC << true << QStringLiteral("Disk full");
        QTest::newRow("other") << EIO << true << QStringLiteral("I/O error %1").arg(EIO);
    }

    void ioErrorTexts() {
        QFETCH(int, code);
        QFETCH(bool, folderExists);
        QFETCH(QString, text);
        QCOMPARE(doc::IoErrorText(code, folderExists), text);
    }

    void fileFilters_data() {
        QTest::addColumn<QString>("pipe");
        QTest::addColumn<QString>("qt");
        QTest::newRow("text") << QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*")
                              << QStringLiteral("Text Files (*.txt);;All Files (*)");
        QTest::newRow("csv") << QStringLiteral("Comma Separated Files (*.csv)|*.csv|All Files (*.*)|*.*")
                             << QStringLiteral("Comma Separated Files (*.csv);;All Files (*)");
        QTest::newRow("two patterns") << QStringLiteral("Logs|*.log;*.txt") << QStringLiteral("Logs (*.log *.txt)");
    }

    void fileFilters() {
        QFETCH(QString, pipe);
        QFETCH(QString, qt);
        QCOMPARE(doc::QtFileFilter(pipe.toStdString()), qt);
    }

    void printingCancelledShowsNothingAndPrinterGetsPages() {
        auto window = Open(kStartProv);
        window->PrintTreeStructure();
        QCOMPARE(dialogs_.prints, 1);
        QVERIFY(dialogs_.messages.empty());

        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        const QString pdf = dir_.filePath(QStringLiteral("tree.pdf"));
        printer.setOutputFileName(pdf);
        QCOMPARE(doc::PrintTreeText(printer, window->Store()), QString());
        QVERIFY(doctest::ReadFile(pdf).startsWith("%PDF"));
    }

    void closingNamesTheWindowOnce() {
        auto* window = new doc::TMDIChild(&host_, doctest::WriteFile(dir_, QStringLiteral("c.txt"), kStartProv));
        QPointer<doc::TMDIChild> alive(window);
        window->setObjectName(QStringLiteral("MDIChild3"));
        window->show();
        window->close();
        QCOMPARE(host_.closed, QStringList({"MDIChild3"}));
        QTRY_VERIFY(alive.isNull());

        QMdiArea area;
        auto* child = new doc::TMDIChild(&host_, doctest::WriteFile(dir_, QStringLiteral("d.txt"), kStartProv));
        QMdiSubWindow* frame = area.addSubWindow(child);
        frame->setAttribute(Qt::WA_DeleteOnClose);
        frame->setObjectName(QStringLiteral("MDIChild4"));
        child->setObjectName(QStringLiteral("MDIChild4"));
        area.show();
        frame->show();
        QPointer<QMdiSubWindow> frameAlive(frame);
        frame->close();
        QCOMPARE(host_.closed, QStringList({"MDIChild3", "MDIChild4"}));
        QTRY_VERIFY(frameAlive.isNull());
    }

    void treeModelPassesTheModelTester() {
        auto window = Open(kStartProv);
        doc::ComponentTreeModel& model = *window->Tree()->TreeModel();
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.Expand(model.index(0, 0));
        model.Expand(model.index(1, 0));
        model.Collapse(model.index(0, 0));
        model.ExpandAll();
        window->Tree()->setCurrentIndex(model.index(2, 0));
        model.RemoveItem(model.index(1, 0));
        model.setData(model.index(0, 0), QStringLiteral("renamed"));
        model.CollapseAll();
        QCOMPARE(Captions(model), QStringList({"renamed", "Lp/3", "Shelf"}));
        model.Reveal(Component(*window, "add Shelf Card/3"));
        QCOMPARE(Captions(model), QStringList({"renamed", "Lp/3", "Shelf", "Card/3"}));
    }

    void ampersandComponentsAreNotItems() {
        auto window = Open("start prov\nadd Shelf\nadd Shelf &hidden\nadd Shelf Card/1\nadd &top\n");
        window->ExpandAll();
        QCOMPARE(Captions(*window->Tree()->model()), QStringList({"Shelf", "Card/1"}));
    }
};

QTEST_MAIN(DocTest)
#include "doc_test.moc"
