// The compare window driven headless: the marked tree and its summary, the
// only-differences filter, stepping between differences, the attributes side
// by side, the options, the CSV export against oryx-cli's, unreadable files
// and a file nesting as deep as it is long.
#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

#include <memory>
#include <string>

#include "cli_runner.h"
#include "compare/diff_output.h"
#include "doc/compare/compare_marks.h"
#include "doc/compare/compare_tree_model.h"
#include "doc/compare/compare_tree_view.h"
#include "doc/compare/compare_window.h"
#include "doc/compare/side_by_side_model.h"
#include "doc_test_support.h"
#include "prov/component_store.h"
#include "prov/reader.h"

using namespace oryx;
using compare::Change;
using doctest::FakeDialogs;
using doctest::FakeHost;
using doctest::ShowActive;

namespace {

constexpr std::string_view kFirst = R"(start prov
add Shelf
add Shelf Card/0
set Shelf Card/0 cardType aal1Ces
add Shelf Card/1
set Shelf Card/1 cardType eth, vlan 10, vlan 20
add Lp/0
set Lp/0 mainCard Shelf Card/0
add AtmIf/1
set AtmIf/1 interfaceName atm1
add AtmIf/1 Vcc/0.100
add AtmIf/1 Vcc/0.100 Nrp
set AtmIf/1 Vcc/0.100 Nrp atmConnection Lp/0
add AtmIf/1 Vcc/0.200
add FrUni/2
add FrUni/2 Dlci/100
set FrUni/2 Dlci/100 state Locked
)";

// The same node dumped in another order and with other letter case in some
// names, then changed: Vcc/0.100 removed, Vr/1 added, three components changed.
constexpr std::string_view kSecond = R"(start prov
add Vr/1
add Vr/1 Pp/eth1
add FrUni/2
add FrUni/2 Dlci/100
set FrUni/2 Dlci/100 state locked
add AtmIf/1
set AtmIf/1 interfaceName atm1
add AtmIf/1 Vcc/0.200
add Lp/0
set Lp/0 mainCard Shelf Card/0, spareCard Shelf Card/1
add Shelf
add Shelf card/0
set Shelf card/0 cardType aal1Ces
add Shelf card/1
set Shelf card/1 vlan 10, cardType ethernet, vlan 30, vlan 40
)";

// Each visible row: indented by depth, the name, and the tooltip that says its change.
QStringList TreeRows(const doc::CompareTreeModel& model) {
    QStringList rows;
    for (int row = 0; row < model.rowCount(); ++row) {
        const QModelIndex index = model.index(row, 0);
        const QString tip = index.data(Qt::ToolTipRole).toString();
        rows << QString(2 * static_cast<int>(model.Depth(index)), QLatin1Char(' ')) + index.data().toString() +
                    (tip.isEmpty() ? QString() : QStringLiteral(" [") + tip + QLatin1Char(']'));
    }
    return rows;
}

QStringList SideBySideRows(const QAbstractItemModel& model) {
    QStringList rows;
    for (int row = 0; row < model.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < 3; ++column) cells << model.index(row, column).data().toString();
        const QString tip = model.index(row, 0).data(Qt::ToolTipRole).toString();
        rows << cells.join(QLatin1Char('|')) +
                    (tip.isEmpty() ? QString() : QStringLiteral(" [") + tip + QLatin1Char(']'));
    }
    return rows;
}

QImage IconImage(const QVariant& decoration) { return decoration.value<QIcon>().pixmap(16, 16).toImage(); }

}  // namespace

class DocCompareTest final : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    FakeDialogs dialogs_;
    FakeHost host_;
    QString first_;
    QString second_;

    std::unique_ptr<doc::CompareWindow> Open() { return std::make_unique<doc::CompareWindow>(&host_, first_, second_); }

    QString Selected(const doc::CompareWindow& window) { return window.PathLabel()->text(); }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        first_ = doctest::WriteFile(dir_, QStringLiteral("node 7 before.txt"), kFirst);
        second_ = doctest::WriteFile(dir_, QStringLiteral("node 7 after.txt"), kSecond);
    }

    void init() {
        dialogs_.Reset();
        host_ = FakeHost();
    }

    // Every difference's text reads well on the palette's base colour, dark
    // or light (a contrast ratio of 4.5 or more); light keeps the marks' own colours.
    void differenceTextReadsOnThePalette_data() {
        QTest::addColumn<QColor>("base");
        QTest::addColumn<QColor>("text");
        QTest::newRow("light") << QColor(Qt::white) << QColor(Qt::black);
        QTest::newRow("dark") << QColor(0x1e, 0x1e, 0x1e) << QColor(0xe0, 0xe0, 0xe0);
        QTest::newRow("dark blue") << QColor(0x10, 0x18, 0x30) << QColor(Qt::white);
    }

    void differenceTextReadsOnThePalette() {
        QFETCH(QColor, base);
        QFETCH(QColor, text);
        const QPalette before = QApplication::palette();
        QPalette palette = before;
        palette.setColor(QPalette::Base, base);
        palette.setColor(QPalette::Text, text);
        QApplication::setPalette(palette);
        auto window = Open();
        window->Tree()->expandAll();
        int coloured = 0;
        for (const QAbstractItemModel* model : {window->Tree()->model(), window->Attributes()->model()}) {
            QList<QModelIndex> pending;
            for (int row = 0; row < model->rowCount(); ++row) pending << model->index(row, 0);
            while (!pending.isEmpty()) {
                const QModelIndex index = pending.takeFirst();
                for (int row = 0; row < model->rowCount(index); ++row) pending << model->index(row, 0, index);
                const QVariant brush = index.data(Qt::ForegroundRole);
                if (!brush.isValid()) continue;
                ++coloured;
                const QColor colour = brush.value<QBrush>().color();
                QVERIFY2(doc::ChangeMarks::Contrast(colour, base) >= 4.5, qPrintable(index.data().toString()));
                if (base == QColor(Qt::white)) QVERIFY(colour.rgb() != QColor(Qt::black).rgb());
            }
        }
        QApplication::setPalette(before);
        QVERIFY(coloured > 0);
    }

    void marksEachDifferenceAndCountsAsTheCli() {
        auto window = Open();
        QCOMPARE(window->windowTitle(), first_ + QStringLiteral(" vs ") + second_);
        QCOMPARE(window->Summary()->text(), QStringLiteral("1 added, 1 removed, 3 changed"));
        QVERIFY(window->OnlyDifferencesBox()->isChecked());
        const doc::CompareTreeModel& model = *window->Tree()->TreeModel();
        QCOMPARE(TreeRows(model), QStringList({
                                      "AtmIf/1 [Differences below]",
                                      "  Vcc/0.100 [Removed (1 component beneath)]",
                                      "FrUni/2 [Differences below]",
                                      "  Dlci/100 [Changed]",
                                      "Lp/0 [Changed]",
                                      "Shelf [Differences below]",
                                      "  Card/1 [Changed]",
                                      "Vr/1 [Added (1 component beneath)]",
                                  }));

        // Each kind has a colour and an icon of its own; unchanged items have neither.
        const struct {
            int row;
            Change change;
        } marked[] = {{0, Change::Same}, {1, Change::Removed}, {3, Change::Changed}, {7, Change::Added}};
        QImage icons[4];
        for (const auto& [row, change] : marked) {
            const QModelIndex index = model.index(row, 0);
            icons[static_cast<int>(change)] = IconImage(index.data(Qt::DecorationRole));
            if (change == Change::Same) {
                QVERIFY(!index.data(Qt::ForegroundRole).isValid());
            } else {
                QCOMPARE(index.data(Qt::ForegroundRole).value<QBrush>().color(), doc::ChangeMarks::Colour(change));
            }
        }
        for (int a = 0; a < 4; ++a)
            for (int b = a + 1; b < 4; ++b)
                QVERIFY2(icons[a] != icons[b], qPrintable(QStringLiteral("%1 %2").arg(a).arg(b)));
        QVERIFY(icons[static_cast<int>(Change::Same)].size() == icons[static_cast<int>(Change::Added)].size());

        // The first difference is selected from the start.
        QCOMPARE(Selected(*window), QStringLiteral("AtmIf/1 Vcc/0.100"));
    }

    void equalFilesShowNothingUnderTheFilter() {
        auto window = std::make_unique<doc::CompareWindow>(&host_, first_, first_);
        QCOMPARE(window->Summary()->text(), QStringLiteral("0 added, 0 removed, 0 changed"));
        QCOMPARE(window->Tree()->model()->rowCount(), 0);
        QCOMPARE(window->Tree()->CurrentEntry(), doc::CompareTreeModel::kNone);
        window->OnlyDifferencesBox()->setChecked(false);
        QCOMPARE(TreeRows(*window->Tree()->TreeModel()), QStringList({"AtmIf/1", "FrUni/2", "Lp/0", "Shelf"}));
    }

    void filterOffShowsEveryComponentAndKeepsTheSelection() {
        auto window = Open();
        doc::CompareTreeView& tree = *window->Tree();
        QVERIFY(tree.SelectEntry(window->Comparison().NextDifference(compare::Comparison::kRoot)));
        window->NextDifference();
        window->NextDifference();
        window->NextDifference();
        QCOMPARE(Selected(*window), QStringLiteral("Shelf Card/1"));

        window->OnlyDifferencesBox()->click();
        QCOMPARE(TreeRows(*tree.TreeModel()), QStringList({
                                                  "AtmIf/1 [Differences below]",
                                                  "  Vcc/0.100 [Removed (1 component beneath)]",
                                                  "  Vcc/0.200",
                                                  "FrUni/2 [Differences below]",
                                                  "  Dlci/100 [Changed]",
                                                  "Lp/0 [Changed]",
                                                  "Shelf [Differences below]",
                                                  "  Card/0",
                                                  "  Card/1 [Changed]",
                                                  "Vr/1 [Added (1 component beneath)]",
                                              }));
        QCOMPARE(tree.currentIndex().data().toString(), QStringLiteral("Card/1"));
        QCOMPARE(Selected(*window), QStringLiteral("Shelf Card/1"));

        // An unchanged component, selected, goes with the filter back on.
        tree.setCurrentIndex(tree.model()->index(7, 0));
        QCOMPARE(Selected(*window), QStringLiteral("Shelf Card/0"));
        QCOMPARE(window->Attributes()->model()->rowCount(), 1);
        window->OnlyDifferencesBox()->click();
        QCOMPARE(tree.model()->rowCount(), 8);
        QCOMPARE(tree.CurrentEntry(), doc::CompareTreeModel::kNone);
        QCOMPARE(Selected(*window), QString());
        QCOMPARE(window->Attributes()->model()->rowCount(), 0);

        // Inside an added subtree every component is marked.
        tree.TreeModel()->Expand(tree.model()->index(7, 0));
        QCOMPARE(TreeRows(*tree.TreeModel()).mid(7),
                 QStringList({"Vr/1 [Added (1 component beneath)]", "  Pp/eth1 [Added]"}));
    }

    void nextAndPreviousStepThroughTheDifferences() {
        auto window = Open();
        ShowActive(*window);
        window->Tree()->setFocus();
        const QStringList order = {"AtmIf/1 Vcc/0.100", "FrUni/2 Dlci/100", "Lp/0", "Shelf Card/1", "Vr/1"};
        QCOMPARE(Selected(*window), order[0]);
        for (int i = 1; i < order.size(); ++i) {
            QTest::keyClick(window->Tree(), Qt::Key_F8);
            QCOMPARE(Selected(*window), order[i]);
        }
        // At the last one F8 stays there.
        QTest::keyClick(window->Tree(), Qt::Key_F8);
        QCOMPARE(Selected(*window), order.last());
        for (qsizetype i = order.size() - 2; i >= 0; --i) {
            QTest::keyClick(window->Tree(), Qt::Key_F8, Qt::ShiftModifier);
            QCOMPARE(Selected(*window), order[i]);
        }
        QTest::keyClick(window->Tree(), Qt::Key_F8, Qt::ShiftModifier);
        QCOMPARE(Selected(*window), order[0]);

        // The buttons do the same.
        const auto button = [&](const char* actionName) {
            for (QToolButton* b : window->findChildren<QToolButton*>())
                if (b->defaultAction() && b->defaultAction()->objectName() == QLatin1String(actionName)) return b;
            qFatal("no button for %s", actionName);
        };
        QTest::mouseClick(button("NextDifferenceAction"), Qt::LeftButton);
        QCOMPARE(Selected(*window), order[1]);
        QTest::mouseClick(button("PreviousDifferenceAction"), Qt::LeftButton);
        QCOMPARE(Selected(*window), order[0]);
        QCOMPARE(button("NextDifferenceAction")->toolTip(), QStringLiteral("Next Difference (F8)"));

        // With nothing selected, F8 goes to the first and Shift+F8 to the last.
        window->Tree()->setCurrentIndex({});
        window->PreviousDifference();
        QCOMPARE(Selected(*window), order.last());
        window->Tree()->setCurrentIndex({});
        window->NextDifference();
        QCOMPARE(Selected(*window), order.first());
    }

    void steppingScrollsTheDifferenceIntoView() {
        std::string first = "start prov\n", second = "start prov\n";
        for (int i = 0; i < 3000; ++i) {
            const std::string line = "add Lp/" + std::to_string(1000 + i) + "\n";
            first += line;
            second += line;
        }
        second += "set Lp/3999 mainCard x\n";
        const QString a = doctest::WriteFile(dir_, QStringLiteral("wide a.txt"), first);
        const QString b = doctest::WriteFile(dir_, QStringLiteral("wide b.txt"), second);
        doc::CompareWindow window(&host_, a, b);
        window.OnlyDifferencesBox()->setChecked(false);
        ShowActive(window);
        doc::CompareTreeView& tree = *window.Tree();
        tree.scrollToTop();
        tree.setCurrentIndex(tree.model()->index(0, 0));
        QVERIFY(tree.verticalScrollBar()->value() == 0);
        window.NextDifference();
        QCOMPARE(Selected(window), QStringLiteral("Lp/3999"));
        QVERIFY(tree.viewport()->rect().contains(tree.visualRect(tree.currentIndex())));
    }

    void attributesSideBySideWithDifferingRowsMarked() {
        auto window = Open();
        doc::CompareTreeView& tree = *window->Tree();
        QCOMPARE(window->Attributes()->model()->headerData(1, Qt::Horizontal).toString(),
                 QStringLiteral("node 7 before.txt"));
        QCOMPARE(window->Attributes()->model()->headerData(2, Qt::Horizontal).toString(),
                 QStringLiteral("node 7 after.txt"));
        const struct {
            const char* path;
            QStringList rows;
        } cases[] = {
            {"Shelf Card/1",
             {"cardType|eth|ethernet [Changed]", "vlan|10|10", "vlan|20|30 [Changed]",
              "vlan||40 [Added: only in the second file]"}},
            {"Lp/0",
             {"mainCard|Shelf Card/0|Shelf Card/0", "spareCard||Shelf Card/1 [Added: only in the second file]"}},
            {"FrUni/2 Dlci/100", {"state|Locked|locked [Changed]"}},
            {"AtmIf/1 Vcc/0.100", {}},
            {"Vr/1", {}},
        };
        for (const auto& [path, rows] : cases) {
            const compare::Comparison& comparison = window->Comparison();
            compare::Comparison::Index entry = compare::Comparison::kNone;
            for (auto i = comparison.NextDifference(compare::Comparison::kRoot); i != compare::Comparison::kNone;
                 i = comparison.NextDifference(i))
                if (comparison.Path(i) == path) entry = i;
            QVERIFY2(entry != compare::Comparison::kNone, path);
            QVERIFY(tree.SelectEntry(entry));
            QCOMPARE(Selected(*window), QString::fromLatin1(path));
            QCOMPARE(SideBySideRows(*window->Attributes()->model()), rows);
        }
        // A removed component's attributes are all removed.
        QVERIFY(tree.SelectEntry(tree.TreeModel()->EntryAt(tree.model()->index(1, 0))));
        tree.TreeModel()->Expand(tree.currentIndex());
        tree.setCurrentIndex(tree.model()->index(2, 0));
        QCOMPARE(Selected(*window), QStringLiteral("AtmIf/1 Vcc/0.100 Nrp"));
        QCOMPARE(SideBySideRows(*window->Attributes()->model()),
                 QStringList({"atmConnection|Lp/0| [Removed: only in the first file]"}));
        const QModelIndex removed = window->Attributes()->model()->index(0, 0);
        QCOMPARE(removed.data(Qt::ForegroundRole).value<QBrush>().color(), doc::ChangeMarks::Colour(Change::Removed));
        QVERIFY(!IconImage(removed.data(Qt::DecorationRole)).isNull());
    }

    void optionsCompareAgainAndKeepTheSelection() {
        auto window = Open();
        doc::CompareTreeView& tree = *window->Tree();
        window->NextDifference();
        window->NextDifference();
        window->NextDifference();
        QCOMPARE(Selected(*window), QStringLiteral("Shelf Card/1"));

        window->IgnoredAttributesField()->setText(QStringLiteral(" VLAN ,, "));
        emit window->IgnoredAttributesField()->editingFinished();
        QCOMPARE(window->Comparison().Options().ignoredNames, std::vector<std::string>{"VLAN"});
        QCOMPARE(window->Summary()->text(), QStringLiteral("1 added, 1 removed, 3 changed"));
        QCOMPARE(Selected(*window), QStringLiteral("Shelf Card/1"));
        QCOMPARE(SideBySideRows(*window->Attributes()->model()),
                 QStringList({"cardType|eth|ethernet [Changed]", "vlan|10|10 [Ignored]", "vlan|20|30 [Ignored]",
                              "vlan||40 [Ignored]"}));
        QCOMPARE(window->Attributes()->model()->index(1, 1).data(Qt::ForegroundRole).value<QBrush>(),
                 QGuiApplication::palette().brush(QPalette::Disabled, QPalette::Text));

        // Card/1 no longer differs: the filter hides it and the selection goes.
        window->IgnoredAttributesField()->setText(QStringLiteral("vlan, cardtype"));
        emit window->IgnoredAttributesField()->editingFinished();
        QCOMPARE(window->Summary()->text(), QStringLiteral("1 added, 1 removed, 2 changed"));
        QCOMPARE(tree.CurrentEntry(), doc::CompareTreeModel::kNone);
        QCOMPARE(Selected(*window), QString());
        QVERIFY(!TreeRows(*tree.TreeModel()).join(QLatin1Char('\n')).contains(QStringLiteral("Shelf")));

        window->IgnoreCaseBox()->click();
        QCOMPARE(window->Summary()->text(), QStringLiteral("1 added, 1 removed, 1 changed"));
        QCOMPARE(TreeRows(*tree.TreeModel()),
                 QStringList({"AtmIf/1 [Differences below]", "  Vcc/0.100 [Removed (1 component beneath)]",
                              "Lp/0 [Changed]", "Vr/1 [Added (1 component beneath)]"}));
        window->IgnoreCaseBox()->click();
        window->IgnoredAttributesField()->clear();
        emit window->IgnoredAttributesField()->editingFinished();
        QCOMPARE(window->Summary()->text(), QStringLiteral("1 added, 1 removed, 3 changed"));
    }

    void exportEqualsTheCliCsv_data() {
        QTest::addColumn<QString>("ignored");
        QTest::addColumn<bool>("ignoreCase");
        QTest::addColumn<QStringList>("cliOptions");
        QTest::newRow("plain") << QString() << false << QStringList();
        QTest::newRow("ignore") << QStringLiteral("vlan, mainCard") << false
                                << QStringList({"--ignore", "vlan", "--ignore", "mainCard"});
        QTest::newRow("ignore case") << QString() << true << QStringList({"--ignore-case"});
    }

    void exportEqualsTheCliCsv() {
        QFETCH(QString, ignored);
        QFETCH(bool, ignoreCase);
        QFETCH(QStringList, cliOptions);
        auto window = Open();
        // Typed but not finished: the export button takes no focus from the field.
        window->IgnoredAttributesField()->setText(ignored);
        window->IgnoreCaseBox()->setChecked(ignoreCase);

        const QString target = dir_.filePath(QStringLiteral("differences.csv"));
        QFile::remove(target);
        dialogs_.saveAnswers.push_back(target);
        window->findChild<QAction*>(QStringLiteral("ExportDifferencesAction"))->trigger();
        QCOMPARE(dialogs_.saves.size(), std::size_t(1));
        QCOMPARE(dialogs_.saves[0].proposedName, QStringLiteral("node 7 before vs node 7 after.csv"));
        QVERIFY(dialogs_.saves[0].confirmOverwrite);
        QVERIFY(dialogs_.messages.empty());

        std::vector<std::string> args = {"diff", first_.toStdString(), second_.toStdString(), "--format", "csv"};
        for (const QString& option : cliOptions) args.push_back(option.toStdString());
        const testing::CliResult cli = testing::RunCli(args);
        QCOMPARE(cli.exitCode, 3);
        QVERIFY(cli.out.starts_with("\"change\",\"path\",\"attribute\",\"old\",\"new\"\r\n"));
        const QByteArray written = doctest::ReadFile(target);
        QCOMPARE(written, QByteArray::fromStdString(cli.out));
    }

    void exportCancelledOrFailingWritesNothing() {
        auto window = Open();
        window->ExportDifferencesCsv();  // cancelled
        QCOMPARE(dialogs_.saves.size(), std::size_t(1));
        QVERIFY(dialogs_.messages.empty());

        const QString existing = doctest::WriteFile(dir_, QStringLiteral("kept.csv"), "earlier");
        const QString missingFolder = dir_.filePath(QStringLiteral("no folder/differences.csv"));
        dialogs_.saveAnswers = {missingFolder};
        window->ExportDifferencesCsv();
        QCOMPARE(dialogs_.messages.size(), std::size_t(1));
        QCOMPARE(dialogs_.messages[0].kind, doc::MessageKind::Error);
        QCOMPARE(dialogs_.messages[0].text, QStringLiteral("Invalid filename"));
        QVERIFY(!QFile::exists(missingFolder));
        QCOMPARE(doctest::ReadFile(existing), QByteArray("earlier"));
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    void unreadableFileLeavesNoWindow_data() {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("named");
        const QString missing = dir_.filePath(QStringLiteral("gone.txt"));
        QTest::newRow("second missing") << first_ << missing << QStringLiteral("gone.txt");
        QTest::newRow("first missing") << missing << second_ << QStringLiteral("gone.txt");
        QTest::newRow("second a folder") << first_ << dir_.path() << dir_.path();
    }

    void unreadableFileLeavesNoWindow() {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, named);
        try {
            doc::CompareWindow window(&host_, first, second);
            QFAIL("the window opened");
        } catch (const prov::FileError& error) {
            QVERIFY2(QString::fromLocal8Bit(error.what()).contains(named), error.what());
        }
        QVERIFY(host_.closed.isEmpty());
    }

    void closingTellsTheHostAndReleasesTheFiles() {
        auto window = Open().release();
        window->setObjectName(QStringLiteral("MDIChild4"));
        QPointer<doc::CompareWindow> alive(window);
        window->show();
        window->close();
        QCOMPARE(host_.closed, QStringList{"MDIChild4"});
        QCOMPARE(window->Tree()->model()->rowCount(), 0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(alive.isNull());
    }

    void modelsPassTheModelTester() {
        auto window = Open();
        doc::CompareTreeModel& model = *window->Tree()->TreeModel();
        QAbstractItemModelTester treeTester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QAbstractItemModelTester rowsTester(window->Attributes()->model(),
                                            QAbstractItemModelTester::FailureReportingMode::QtTest);
        window->OnlyDifferencesBox()->setChecked(false);
        for (int row = model.rowCount(); row-- > 0;) model.Expand(model.index(row, 0));
        window->NextDifference();
        window->OnlyDifferencesBox()->setChecked(true);
        for (int row = model.rowCount(); row-- > 0;) model.Collapse(model.index(row, 0));
        window->NextDifference();
        window->IgnoreCaseBox()->setChecked(true);
        window->PreviousDifference();
        model.Show(nullptr);
        QCOMPARE(model.rowCount(), 0);
    }

    void deepFileStepsWithoutRecursion() {
        // A configure file enters one component per line: the deepest
        // component, changed, lies 200,000 levels down.
        constexpr int kDepth = 200000;
        std::string deep;
        for (int i = 0; i < kDepth; ++i) deep += "configure N" + std::to_string(i) + "\n";
        const QString a = doctest::WriteFile(dir_, QStringLiteral("deep a.txt"), deep + "set depth 1\n");
        const QString b = doctest::WriteFile(dir_, QStringLiteral("deep b.txt"), deep + "set depth 2\n");
        doc::CompareWindow window(&host_, a, b);
        QCOMPARE(window.Summary()->text(), QStringLiteral("0 added, 0 removed, 1 changed"));
        doc::CompareTreeView& tree = *window.Tree();
        QCOMPARE(tree.model()->rowCount(), kDepth);
        QCOMPARE(tree.TreeModel()->Depth(tree.currentIndex()), std::size_t(kDepth - 1));
        QVERIFY(Selected(window).endsWith(QStringLiteral(" N199999")));
        QCOMPARE(SideBySideRows(*window.Attributes()->model()), QStringList({"depth|1|2 [Changed]"}));
        window.OnlyDifferencesBox()->setChecked(false);
        window.resize(800, 500);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(!window.grab().isNull());
        tree.TreeModel()->Collapse(tree.model()->index(0, 0));
        QCOMPARE(tree.model()->rowCount(), 1);
        tree.setCurrentIndex(tree.model()->index(0, 0));
        window.NextDifference();
        QCOMPARE(tree.model()->rowCount(), kDepth);
    }
};

QTEST_MAIN(DocCompareTest)

#include "doc_compare_test.moc"
