// The find bar of the document window driven headless: the pause before the
// search, going to the matches, the count, wrapping, no match, Esc, the
// filtered tree, removed items, the exact-path jump, and a search cancelled
// by the next query.
#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <memory>
#include <string>

#include "doc/common/elided_label.h"
#include "doc/document/attribute_list.h"
#include "doc/document/mdi_child.h"
#include "doc/find/find_bar.h"
#include "doc/find/find_session.h"
#include "doc/tree/component_tree_model.h"
#include "doc/tree/tz_tree_view.h"
#include "doc_test_support.h"
#include "prov/component_store.h"

using namespace oryx;
using doctest::FakeDialogs;
using doctest::FakeHost;

namespace {

// In tree order: AtmIf/31, its Vcc/0.100 and Nrp, Lp/3, Shelf, Card/3, Card/4.
constexpr std::string_view kNode = R"(start prov
add Shelf
add Shelf Card/3
set Shelf Card/3 cardType aal1Ces, spareCard 0
add Shelf Card/4
set Shelf Card/4 cardType eth
add Lp/3
set Lp/3 mainCard Shelf Card/3
add AtmIf/31
set AtmIf/31 interfaceName atm31
add AtmIf/31 Vcc/0.100
add AtmIf/31 Vcc/0.100 Nrp
set AtmIf/31 Vcc/0.100 Nrp atmConnection Lp/3
)";

// "lp/2" is found in values before and after the component of that path.
constexpr std::string_view kPathNode = R"(start prov
add AtmIf/1
set AtmIf/1 interfaceName Lp/2 E1/0
add Lp/2
set Lp/2 mainCard Shelf Card/2
add Lp/2 Eth/0
set Lp/2 Eth/0 note Lp/2
add Vr/1
set Vr/1 linkToMedia Lp/2 Eth/0
)";

enum Scope { Names, Paths, AttributeNames, Values, All };

QStringList Captions(const QAbstractItemModel& model) {
    QStringList captions;
    for (int row = 0; row < model.rowCount(); ++row) captions << model.index(row, 0).data().toString();
    return captions;
}

const prov::ComponentNode* Component(const doc::TMDIChild& window, std::string_view path) {
    return prov::FindComponent(window.Store().AddNode(), path);
}

}  // namespace

class DocFindTest final : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    FakeDialogs dialogs_;
    FakeHost host_;
    std::unique_ptr<doc::TMDIChild> window_;

    doc::TMDIChild& Open(std::string_view bytes) {
        window_ = std::make_unique<doc::TMDIChild>(&host_, doctest::WriteFile(dir_, QStringLiteral("find.txt"), bytes));
        return *window_;
    }

    doc::FindBar& Bar() { return *window_->findChild<doc::FindBar*>(); }
    template <typename T>
    T& Control(const char* name) {
        T* control = Bar().findChild<T*>(QLatin1String(name));
        if (!control) qFatal("no control %s", name);
        return *control;
    }
    QLineEdit& Text() { return Control<QLineEdit>("FindText"); }
    QString Count() { return Control<QLabel>("FindCount").text(); }
    QString Note() { return Control<QLabel>("FindNote").text(); }

    void ShowActive() {
        window_->show();
        QApplication::setActiveWindow(window_.get());
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    }

    // Types the query into the bar and waits for the whole search.
    void Find(const QString& query, Scope scope = All) {
        window_->ShowFindBar();
        Control<QComboBox>("FindScope").setCurrentIndex(scope);
        Text().clear();
        QTest::keyClicks(&Text(), query);
        QTRY_VERIFY(Bar().Session().HasQuery() && !Bar().Session().Searching());
    }

    void Enter(Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(&Text(), Qt::Key_Return, modifiers);
    }

    // Where the window is: the component's path, with "|" and the attribute
    // of the selected row of the attribute list when one is selected.
    QString At() {
        QString at = window_->IndexOfText().mid(QStringLiteral("Index Of: ").size());
        const QModelIndex row = window_->Attributes()->currentIndex();
        if (row.isValid()) at += QLatin1Char('|') + row.siblingAtColumn(0).data().toString();
        return at;
    }

private slots:
    void init() {
        dialogs_.Reset();
        host_ = FakeHost();
    }

    void cleanup() { window_.reset(); }

    void searchesAfterThePauseAndGoesToTheFirstMatch() {
        Open(kNode);
        window_->ShowFindBar();
        QVERIFY(Bar().isVisibleTo(window_.get()));
        QTest::keyClicks(&Text(), QStringLiteral("vcc"));
        // Nothing is searched while the user may still be typing.
        QVERIFY(!Bar().Session().HasQuery());
        QCOMPARE(window_->Tree()->Selected(), nullptr);
        QTRY_COMPARE(Count(), QStringLiteral("1 of 1"));
        QCOMPARE(At(), QStringLiteral("AtmIf/31 Vcc/0.100"));
        QCOMPARE(Note(), QString());
    }

    // Every match in order, by Enter from the first, then around the end.
    void countAndOrderOfMatches_data() {
        QTest::addColumn<QString>("query");
        QTest::addColumn<int>("scope");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("matches");
        QTest::newRow("all scopes, case ignored")
            << "card" << int(All) << QStringList()
            << QStringList({"Lp/3|mainCard", "Shelf Card/3", "Shelf Card/3|cardType", "Shelf Card/3|spareCard",
                            "Shelf Card/4", "Shelf Card/4|cardType"});
        QTest::newRow("names") << "card" << int(Names) << QStringList()
                               << QStringList({"Shelf Card/3", "Shelf Card/4"});
        QTest::newRow("paths end in the name")
            << "31 vcc" << int(Paths) << QStringList() << QStringList({"AtmIf/31 Vcc/0.100"});
        QTest::newRow("attribute names, match case") << "Card" << int(AttributeNames) << QStringList({"FindMatchCase"})
                                                     << QStringList({"Lp/3|mainCard", "Shelf Card/3|spareCard"});
        QTest::newRow("values, whole word") << "Lp" << int(Values) << QStringList({"FindWholeWord"})
                                            << QStringList({"AtmIf/31 Vcc/0.100 Nrp|atmConnection"});
        QTest::newRow("regular expression") << "^card/\\d$" << int(Names) << QStringList({"FindRegex"})
                                            << QStringList({"Shelf Card/3", "Shelf Card/4"});
    }

    void countAndOrderOfMatches() {
        QFETCH(QString, query);
        QFETCH(int, scope);
        QFETCH(QStringList, options);
        QFETCH(QStringList, matches);
        Open(kNode);
        window_->ShowFindBar();
        for (const QString& option : options) Control<QCheckBox>(option.toLatin1().constData()).setChecked(true);
        Find(query, Scope(scope));
        const auto total = QString::number(matches.size());
        QStringList visited;
        for (qsizetype i = 0; i < matches.size(); ++i) {
            QCOMPARE(Count(), QStringLiteral("%1 of %2").arg(i + 1).arg(total));
            QCOMPARE(Note(), QString());
            visited << At();
            Enter();
        }
        QCOMPARE(visited, matches);
        QCOMPARE(Count(), QStringLiteral("1 of %1").arg(total));
        QCOMPARE(Note(), QStringLiteral("Wrapped around to the first match"));
        QCOMPARE(At(), matches.first());
    }

    void previousWrapsToTheLastAndF3Steps() {
        Open(kNode);
        ShowActive();
        Find(QStringLiteral("card"), Names);
        QCOMPARE(At(), QStringLiteral("Shelf Card/3"));
        Enter(Qt::ShiftModifier);
        QCOMPARE(At(), QStringLiteral("Shelf Card/4"));
        QCOMPARE(Count(), QStringLiteral("2 of 2"));
        QCOMPARE(Note(), QStringLiteral("Wrapped around to the last match"));
        Enter(Qt::ShiftModifier);
        QCOMPARE(At(), QStringLiteral("Shelf Card/3"));
        QCOMPARE(Note(), QString());

        // F3 and Shift+F3 work from the tree as well.
        window_->Tree()->setFocus();
        QTest::keyClick(window_->Tree(), Qt::Key_F3);
        QCOMPARE(At(), QStringLiteral("Shelf Card/4"));
        QTest::keyClick(window_->Tree(), Qt::Key_F3, Qt::ShiftModifier);
        QCOMPARE(At(), QStringLiteral("Shelf Card/3"));
        QTest::keyClick(&Control<QLineEdit>("FindText"), Qt::Key_F3);
        QCOMPARE(At(), QStringLiteral("Shelf Card/4"));
    }

    void enterBeforeThePauseSearchesAtOnce() {
        Open(kNode);
        window_->ShowFindBar();
        QTest::keyClicks(&Text(), QStringLiteral("atm31"));
        Enter();
        QTRY_COMPARE(Count(), QStringLiteral("1 of 1"));
        QCOMPARE(At(), QStringLiteral("AtmIf/31|interfaceName"));
    }

    void noMatchMarksTheFieldAndMovesNothing() {
        Open(kNode);
        window_->Tree()->Select(Component(*window_, "Lp/3"));
        const QColor normal = Text().palette().color(QPalette::Base);
        Find(QStringLiteral("nowhere"));
        QCOMPARE(Count(), QStringLiteral("No match"));
        QVERIFY(Text().palette().color(QPalette::Base) != normal);
        Enter();
        Enter(Qt::ShiftModifier);
        QCOMPARE(At(), QStringLiteral("Lp/3"));
        QVERIFY(dialogs_.messages.empty());

        // A match takes the mark away again.
        Find(QStringLiteral("eth"));
        QCOMPARE(Count(), QStringLiteral("1 of 1"));
        QCOMPARE(Text().palette().color(QPalette::Base), normal);
    }

    void invalidPatternSaysWhyAndMovesNothing() {
        Open(kNode);
        window_->Tree()->Select(Component(*window_, "Lp/3"));
        window_->ShowFindBar();
        const QColor normal = Text().palette().color(QPalette::Base);
        Control<QCheckBox>("FindRegex").setChecked(true);
        QTest::keyClicks(&Text(), QStringLiteral("card("));
        QTRY_VERIFY(Note().startsWith(QStringLiteral("Invalid regular expression: ")));
        QCOMPARE(Count(), QString());
        QVERIFY(Text().palette().color(QPalette::Base) != normal);
        Enter();
        QCOMPARE(At(), QStringLiteral("Lp/3"));
        QVERIFY(dialogs_.messages.empty());
    }

    void escapeClosesAndGivesTheTreeTheFocus() {
        Open(kNode);
        ShowActive();
        window_->ShowFindBar();
        QVERIFY(Bar().isVisible());
        QVERIFY(Text().hasFocus());
        Find(QStringLiteral("card"), Names);
        QTest::keyClick(&Text(), Qt::Key_Escape);
        QVERIFY(!Bar().isVisible());
        QVERIFY(window_->Tree()->hasFocus());
        QVERIFY(!Bar().Session().HasQuery());
        QCOMPARE(At(), QStringLiteral("Shelf Card/3"));

        // Opened again, the last query is there, selected, to type over.
        window_->ShowFindBar();
        QVERIFY(Text().hasFocus());
        QCOMPARE(Text().selectedText(), QStringLiteral("card"));
    }

    void matchingIsOnTheDisplayText_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("at");
        QTest::newRow("latin-1 name") << QByteArray("start prov\nadd Caf\xe9\nadd Cafe\n")
                                      << QStringLiteral("caf\u00e9") << QStringLiteral("Caf\u00e9");
        QTest::newRow("utf-8 value") << QByteArray("start prov\nadd A\nadd B\nset B name Na\xc3\xafve\n")
                                     << QStringLiteral("\u00efve") << QStringLiteral("B|name");
        QTest::newRow("latin-1 value, letter case ignored")
            << QByteArray("start prov\nadd A\nset A v x\nadd B\nset B name JOS\xc9\n") << QStringLiteral("os\u00c9")
            << QStringLiteral("B|name");
    }

    void matchingIsOnTheDisplayText() {
        QFETCH(QByteArray, file);
        QFETCH(QString, query);
        QFETCH(QString, at);
        Open(std::string_view(file.constData(), static_cast<std::size_t>(file.size())));
        window_->ShowFindBar();
        Text().setText(query);
        Bar().SearchNow();
        QTRY_VERIFY(!Bar().Session().Searching());
        QCOMPARE(Count(), QStringLiteral("1 of 1"));
        QCOMPARE(At(), at);
    }

    void filterShowsOnlyMatchesAndRestoresTheTree() {
        Open(kNode);
        doc::TZTreeView& tree = *window_->Tree();
        QAbstractItemModelTester tester(tree.model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        // The user's tree: AtmIf/31 open, Lp/3 selected.
        tree.Select(Component(*window_, "AtmIf/31 Vcc/0.100"));
        tree.Select(Component(*window_, "Lp/3"));
        Find(QStringLiteral("card"), Names);
        tree.Select(Component(*window_, "Lp/3"));  // away from the match again
        const QStringList before = Captions(*tree.model());
        QCOMPARE(before, QStringList({"AtmIf/31", "Vcc/0.100", "Lp/3", "Shelf", "Card/3", "Card/4"}));

        Control<QCheckBox>("FindShowOnlyMatches").setChecked(true);
        QCOMPARE(Captions(*tree.model()), QStringList({"Shelf", "Card/3", "Card/4"}));
        QCOMPARE(Control<QLabel>("FindFilterNote").text(),
                 QStringLiteral("Tree filtered: 2 matching components shown"));
        QCOMPARE(At(), QStringLiteral("Shelf Card/3"));  // the match, as Lp/3 is filtered out
        Enter();
        QCOMPARE(At(), QStringLiteral("Shelf Card/4"));

        // Another query filters anew.
        QTest::keyClicks(&Text(), QStringLiteral("/3"));
        QTRY_COMPARE(Captions(*tree.model()), QStringList({"Shelf", "Card/3"}));
        QCOMPARE(Control<QLabel>("FindFilterNote").text(), QStringLiteral("Tree filtered: 1 matching component shown"));

        // Off: the tree as it was, the selection kept.
        Control<QCheckBox>("FindShowOnlyMatches").setChecked(false);
        QCOMPARE(Captions(*tree.model()), before);
        QCOMPARE(At(), QStringLiteral("Shelf Card/3"));
        QCOMPARE(Control<QLabel>("FindFilterNote").text(), QString());

        // A selection the filter hid comes back, and so does the tree, when the bar closes.
        tree.Select(Component(*window_, "Lp/3"));
        Control<QCheckBox>("FindShowOnlyMatches").setChecked(true);
        QCOMPARE(Captions(*tree.model()), QStringList({"Shelf", "Card/3"}));
        window_->findChild<doc::FindBar*>()->Close();
        QCOMPARE(Captions(*tree.model()), before);
        QCOMPARE(At(), QStringLiteral("Lp/3"));
        QVERIFY(!Control<QCheckBox>("FindShowOnlyMatches").isChecked());
    }

    // The bar's options and notes never overlap nor are cut: they go on to
    // another line, and a note wider than the bar is elided with its whole
    // text as the tooltip. An invalid pattern shows the whole tree, uncounted.
    void notesAndOptionsShowWholeOrElided_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("fontScale");
        QTest::newRow("wide") << 1200 << 1;
        QTest::newRow("narrow") << 330 << 1;
        QTest::newRow("large text") << 783 << 2;
    }

    void notesAndOptionsShowWholeOrElided() {
        QFETCH(int, width);
        QFETCH(int, fontScale);
        Open(kNode);
        if (fontScale != 1) {
            QFont font = window_->font();
            font.setPointSizeF(font.pointSizeF() * fontScale);
            window_->setFont(font);
        }
        window_->resize(width, 500);
        ShowActive();
        const auto laidOutWhole = [&](const char* state) {
            QApplication::processEvents();
            // As tall as its lines, no taller.
            QCOMPARE(Bar().height(), Bar().heightForWidth(Bar().width()));
            const QRect room = Bar().contentsRect();
            QList<QWidget*> shown;
            for (QWidget* child : Bar().findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                if (child->isVisible() && !child->isWindow()) shown << child;
            for (QWidget* child : shown) {
                const QString what = QStringLiteral("%1: %2").arg(QLatin1String(state), child->objectName());
                QVERIFY2(room.contains(child->geometry()), qPrintable(what));
                if (auto* note = qobject_cast<doc::ElidedLabel*>(child)) {
                    // Elided only when wider than the bar.
                    if (note->IsElided()) QVERIFY2(note->width() >= room.width() - 10, qPrintable(what));
                } else if (!qobject_cast<QLineEdit*>(child)) {
                    QVERIFY2(child->width() >= child->sizeHint().width(), qPrintable(what));
                }
                for (QWidget* other : shown)
                    QVERIFY2(other == child || !other->geometry().intersects(child->geometry()), qPrintable(what));
            }
        };

        // The wrap note and the filter note at once.
        Find(QStringLiteral("card"), Names);
        Control<QCheckBox>("FindShowOnlyMatches").setChecked(true);
        Enter(Qt::ShiftModifier);
        QVERIFY(!Note().isEmpty());
        QVERIFY(!Control<QLabel>("FindFilterNote").text().isEmpty());
        laidOutWhole("wrapped and filtered");

        Control<QCheckBox>("FindRegex").setChecked(true);
        QTest::keyClicks(&Text(), QStringLiteral("(missing a closing bracket and rather long besides"));
        QTRY_VERIFY(Note().startsWith(QStringLiteral("Invalid regular expression: ")));
        QVERIFY(!window_->Tree()->TreeModel()->IsFiltered());
        QCOMPARE(Count(), QString());
        QCOMPARE(Control<QLabel>("FindFilterNote").text(), QString());
        QVERIFY(Control<QCheckBox>("FindShowOnlyMatches").isChecked());
        laidOutWhole("invalid pattern");

        // A valid pattern filters again.
        Text().clear();
        QTest::keyClicks(&Text(), QStringLiteral("card/4"));
        QTRY_VERIFY(window_->Tree()->TreeModel()->IsFiltered());
        QCOMPARE(Count(), QStringLiteral("1 of 1"));
    }

    // A file read anew is searched anew: the count and the filter follow it,
    // and the tree stays where it was.
    void reloadSearchesTheNewFile() {
        Open(kNode);
        ShowActive();
        Find(QStringLiteral("card"), Names);
        Control<QCheckBox>("FindShowOnlyMatches").setChecked(true);
        Enter();
        QCOMPARE(At(), QStringLiteral("Shelf Card/4"));
        doctest::WriteFile(dir_, QStringLiteral("find.txt"), std::string(kNode) + "add Shelf Card/5\n");
        window_->Reload();
        QTRY_VERIFY(Bar().Session().HasQuery() && !Bar().Session().Searching());
        QCOMPARE(Captions(*window_->Tree()->model()), QStringList({"Shelf", "Card/3", "Card/4", "Card/5"}));
        QCOMPARE(Control<QLabel>("FindFilterNote").text(),
                 QStringLiteral("Tree filtered: 3 matching components shown"));
        QCOMPARE(At(), QStringLiteral("Shelf Card/4"));
        Enter();
        QCOMPARE(Count(), QStringLiteral("1 of 3"));
        Control<QCheckBox>("FindShowOnlyMatches").setChecked(false);
        QCOMPARE(Captions(*window_->Tree()->model()),
                 QStringList({"AtmIf/31", "Lp/3", "Shelf", "Card/3", "Card/4", "Card/5"}));
    }

    void wholeTreeCommandsWorkWhileFiltered() {
        Open(kNode);
        doc::TZTreeView& tree = *window_->Tree();
        Find(QStringLiteral("Nrp"), Names);
        Control<QCheckBox>("FindShowOnlyMatches").setChecked(true);
        QCOMPARE(Captions(*tree.model()), QStringList({"AtmIf/31", "Vcc/0.100", "Nrp"}));

        // Save writes the whole store.
        const QString saved = dir_.filePath(QStringLiteral("filtered.txt"));
        dialogs_.saveAnswers = {saved};
        window_->SaveTreeStructure();
        QVERIFY(doctest::ReadFile(saved).contains("Shelf"));
        QVERIFY(doctest::ReadFile(saved).contains("mainCard = Shelf Card/3"));

        // Collapse All acts on the filtered tree and on the whole one.
        window_->CollapseAll();
        QCOMPARE(Captions(*tree.model()), QStringList({"AtmIf/31"}));
        window_->ExpandAll();
        QCOMPARE(Captions(*tree.model()), QStringList({"AtmIf/31", "Vcc/0.100", "Nrp"}));
        Control<QCheckBox>("FindShowOnlyMatches").setChecked(false);
        QCOMPARE(Captions(*tree.model()),
                 QStringList({"AtmIf/31", "Vcc/0.100", "Nrp", "Lp/3", "Shelf", "Card/3", "Card/4"}));

        // No match: an empty tree, but Save still writes the whole store.
        Control<QCheckBox>("FindShowOnlyMatches").setChecked(true);
        Find(QStringLiteral("nowhere"));
        QCOMPARE(tree.model()->rowCount(), 0);
        dialogs_.saveAnswers = {saved};
        window_->SaveTreeStructure();
        QCOMPARE(dialogs_.saves.size(), std::size_t{2});
        QVERIFY(doctest::ReadFile(saved).contains("Shelf"));
    }

    void removedItemsAreSkippedAndNotCounted() {
        Open(kNode);
        doc::TZTreeView& tree = *window_->Tree();
        doc::ComponentTreeModel& model = *tree.TreeModel();
        model.RemoveItem(model.IndexOf(Component(*window_, "Lp/3")));
        Find(QStringLiteral("card"));
        QCOMPARE(Count(), QStringLiteral("1 of 5"));
        QCOMPARE(At(), QStringLiteral("Shelf Card/3"));

        // Removed with the Delete key while its matches are counted.
        Enter();
        Enter();
        QCOMPARE(At(), QStringLiteral("Shelf Card/3|spareCard"));
        tree.Select(Component(*window_, "Shelf Card/4"));
        dialogs_.questionAnswers = {true};
        QTest::keyClick(&tree, Qt::Key_Delete);
        QCOMPARE(Count(), QStringLiteral("3 of 3"));
        Enter();
        QCOMPARE(At(), QStringLiteral("Shelf Card/3"));
        QCOMPARE(Note(), QStringLiteral("Wrapped around to the first match"));

        // A removed branch's components are skipped too.
        model.RemoveItem(model.IndexOf(Component(*window_, "Shelf")));
        QCOMPARE(Count(), QStringLiteral("No match"));
        Find(QStringLiteral("card"));
        QCOMPARE(Count(), QStringLiteral("No match"));
    }

    void exactPathGoesStraightThere_data() {
        QTest::addColumn<int>("scope");
        QTest::addColumn<QString>("countThere");
        QTest::addColumn<QString>("next");
        // No name holds the path; the component is there all the same.
        QTest::newRow("names") << int(Names) << "No match"
                               << "Shelf Card/3";
        // A match of its own elsewhere: the count says the component is none.
        QTest::newRow("values") << int(Values) << "1 match"
                                << "Lp/3|mainCard";
        QTest::newRow("all") << int(All) << "2 of 2"
                             << "Lp/3|mainCard";
    }

    void exactPathGoesStraightThere() {
        QFETCH(int, scope);
        QFETCH(QString, countThere);
        QFETCH(QString, next);
        Open(kNode);
        Find(QStringLiteral("shelf CARD/3"), Scope(scope));
        Enter();
        QCOMPARE(At(), QStringLiteral("Shelf Card/3"));
        QCOMPARE(Count(), countThere);
        // There already: Enter goes on to the next match.
        Enter();
        QCOMPARE(At(), next);
    }

    // Every step goes to the next match and wraps, also when the query is a
    // component's path: only the first Enter after the query changed goes to
    // that component, and steps on from the match it is.
    void stepsReachEveryMatchWhenTheQueryIsAPath_data() {
        QTest::addColumn<QString>("step");
        for (const char* step : {"Enter", "F3", "Next button"}) QTest::newRow(step) << QString::fromLatin1(step);
    }

    void stepsReachEveryMatchWhenTheQueryIsAPath() {
        QFETCH(QString, step);
        Open(kPathNode);
        ShowActive();
        Find(QStringLiteral("lp/2"));
        QVERIFY(Count().startsWith(QStringLiteral("1 of ")));
        const int total = Count().mid(QStringLiteral("1 of ").size()).toInt();
        QVERIFY(total >= 3);
        const auto stepOnce = [&] {
            if (step == QStringLiteral("Enter"))
                Enter();
            else if (step == QStringLiteral("F3"))
                QTest::keyClick(&Text(), Qt::Key_F3);
            else
                Control<QToolButton>("FindNext").click();
        };
        stepOnce();
        int at = Count().section(QLatin1Char(' '), 0, 0).toInt();
        if (step == QStringLiteral("Enter")) {
            QCOMPARE(At(), QStringLiteral("Lp/2"));
            QVERIFY(at > 1);
        } else {
            QCOMPARE(at, 2);
        }
        for (int i = 0; i < 2 * total; ++i) {
            stepOnce();
            const int expected = at % total + 1;
            QCOMPARE(Count(), QStringLiteral("%1 of %2").arg(expected).arg(total));
            at = expected;
        }
        // A changed query jumps once more.
        if (step == QStringLiteral("Enter")) {
            Find(QStringLiteral("Lp/2"));
            Enter();
            QCOMPARE(At(), QStringLiteral("Lp/2"));
        }
    }

    void exactPathLeavesAFilterThatHidesIt() {
        Open(kNode);
        Find(QStringLiteral("Shelf Card/4"), Values);
        Control<QCheckBox>("FindShowOnlyMatches").setChecked(true);
        QCOMPARE(Count(), QStringLiteral("No match"));
        QCOMPARE(window_->Tree()->model()->rowCount(), 0);
        Enter();
        QCOMPARE(At(), QStringLiteral("Shelf Card/4"));
        QVERIFY(!Control<QCheckBox>("FindShowOnlyMatches").isChecked());
        QVERIFY(!window_->Tree()->TreeModel()->IsFiltered());
    }

    void newQueryCancelsTheRunningSearch() {
        // A store large enough that a search is still running when the
        // next query comes.
        std::string file = "start prov\n";
        for (int i = 0; i < 60000; ++i) {
            const std::string name = "N" + std::to_string(i);
            file += "add " + name + "\nset " + name + " kind " + (i % 3 == 0 ? "alpha" : "beta") + "\n";
        }
        Open(file);
        doc::FindBar& bar = Bar();
        window_->ShowFindBar();
        Text().setText(QStringLiteral("beta"));
        bar.SearchNow();
        Text().setText(QStringLiteral("alpha"));
        bar.SearchNow();
        QTRY_VERIFY_WITH_TIMEOUT(!bar.Session().Searching(), 30000);
        QCOMPARE(bar.Session().Count(), std::size_t{20000});
        QCOMPARE(At(), QStringLiteral("N0|kind"));

        // Closing the window while a search runs stops it first.
        Text().setText(QStringLiteral("a"));
        bar.SearchNow();
        window_.reset();
    }

    void deepNestingFindsFiltersAndSkipsRemoved() {
        // A configure file may nest as deep as it has lines; nothing may
        // recurse on the depth or walk it once per match.
        constexpr int kDepth = 100000;
        std::string file = "configure N0\n";
        for (int i = 1; i < kDepth; ++i) file += "configure N" + std::to_string(i) + "\n";
        file += "set depth deepest\n";
        Open(file);
        window_->resize(800, 500);
        window_->show();
        doc::TZTreeView& tree = *window_->Tree();
        Find(QStringLiteral("deepest"), Values);
        QCOMPARE(Count(), QStringLiteral("1 of 1"));
        QVERIFY(At().endsWith(QStringLiteral(" N99998 N99999|depth")));
        QCOMPARE(tree.model()->rowCount(), kDepth);

        tree.CollapseAllItems();
        Control<QCheckBox>("FindShowOnlyMatches").setChecked(true);
        QCOMPARE(tree.model()->rowCount(), kDepth);
        Control<QCheckBox>("FindShowOnlyMatches").setChecked(false);
        QCOMPARE(tree.model()->rowCount(), 1);

        // Every component matches "N"; removing one in the middle drops
        // the half below it.
        Find(QStringLiteral("N"), Names);
        QCOMPARE(Bar().Session().Count(), std::size_t{kDepth});
        doc::ComponentTreeModel& model = *tree.TreeModel();
        tree.Select(Component(*window_, "N0 N1"));
        model.RemoveItem(model.IndexOf(Component(*window_, "N0 N1")));
        QCOMPARE(Bar().Session().Count(), std::size_t{1});
    }

    void filteredTreeModelPassesTheTester() {
        Open(kNode);
        doc::ComponentTreeModel& model = *window_->Tree()->TreeModel();
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.Reveal(Component(*window_, "Shelf Card/4"));
        const QStringList before = Captions(model);
        model.ShowOnly({Component(*window_, "AtmIf/31 Vcc/0.100 Nrp"), Component(*window_, "Shelf Card/3")});
        QCOMPARE(Captions(model), QStringList({"AtmIf/31", "Vcc/0.100", "Nrp", "Shelf", "Card/3"}));
        QVERIFY(!model.HasLaterSibling(Component(*window_, "Shelf Card/3")));
        QVERIFY(model.HasLaterSibling(Component(*window_, "AtmIf/31")));
        QVERIFY(!model.HasVisibleChildren(Component(*window_, "Shelf Card/3")));
        model.Collapse(model.index(1, 0));
        QCOMPARE(Captions(model), QStringList({"AtmIf/31", "Vcc/0.100", "Shelf", "Card/3"}));
        model.RemoveItem(model.index(3, 0));
        QCOMPARE(Captions(model), QStringList({"AtmIf/31", "Vcc/0.100", "Shelf"}));
        QVERIFY(!model.HasVisibleChildren(Component(*window_, "Shelf")));
        QVERIFY(model.HasItems());
        model.ShowOnly({});
        QCOMPARE(model.rowCount(), 0);
        QVERIFY(model.HasItems());
        model.ClearFilter();
        QStringList expected = before;
        expected.removeOne(QStringLiteral("Card/3"));
        QCOMPARE(Captions(model), expected);
    }
};

QTEST_MAIN(DocFindTest)
#include "doc_find_test.moc"
