// Following references in the document window, headless: the links of the
// attribute list, following them, Back and Forward, and "Referenced by".
#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCheckBox>
#include <QFont>
#include <QLabel>
#include <QStatusTipEvent>
#include <QTest>
#include <QTreeView>

#include <memory>
#include <string>

#include "doc/document/attribute_list.h"
#include "doc/document/attribute_list_model.h"
#include "doc/document/mdi_child.h"
#include "doc/refs/reference_colours.h"
#include "doc/refs/reference_navigator.h"
#include "doc/refs/referenced_by_model.h"
#include "doc/refs/referenced_by_panel.h"
#include "doc/tree/component_tree_model.h"
#include "doc/tree/tz_tree_view.h"
#include "doc_test_support.h"
#include "prov/component_store.h"
#include "search/component_path.h"

using namespace oryx;
using doctest::FakeDialogs;
using doctest::FakeHost;

namespace {

constexpr std::string_view kNode = R"(start prov
add Shelf
add Shelf Card/2
set Shelf Card/2 cardType eth
add Lp/2
set Lp/2 mainCard Shelf Card/2, note plain
add Lp/2 Sonet/0
add AtmIf/21
set AtmIf/21 interfaceName Lp/2 Sonet/0 Path/0, nextHop AtmIf/99 Vcc/0.1, primary Lp/2 Sonet/0, far lp/2
add AtmIf/22
set AtmIf/22 link Lp/2
)";

// Holds a document window and keeps what it says in the status bar.
class StatusHolder final : public QWidget {
public:
    QString said;

protected:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::StatusTip) {
            said = static_cast<QStatusTipEvent*>(event)->tip();
            return true;
        }
        return QWidget::event(event);
    }
};

QString PathOf(const prov::ComponentNode* node) {
    return node ? QString::fromStdString(prov::ComponentPath(*node)) : QStringLiteral("(none)");
}

QStringList Rows(const QAbstractItemModel& model) {
    QStringList rows;
    for (int row = 0; row < model.rowCount(); ++row)
        rows << model.index(row, 0).data().toString() + QLatin1Char('|') + model.index(row, 1).data().toString();
    return rows;
}

}  // namespace

class DocRefsTest final : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    FakeDialogs dialogs_;
    FakeHost host_;
    std::unique_ptr<StatusHolder> holder_;
    doc::TMDIChild* window_ = nullptr;

    void Open(std::string_view bytes) {
        holder_ = std::make_unique<StatusHolder>();
        window_ =
            new doc::TMDIChild(&host_, doctest::WriteFile(dir_, QStringLiteral("node.txt"), bytes), holder_.get());
        holder_->resize(900, 600);
        window_->resize(900, 600);
        doctest::ShowActive(*holder_);
        window_->Tree()->setFocus();
    }
    const prov::ComponentNode* At(const char* path) const {
        return search::FindComponentAtPath(window_->Store(), path, search::QueryText::Bytes);
    }
    void SelectByHand(const char* path) { window_->Tree()->Select(At(path)); }
    QString Selected() const { return PathOf(window_->Tree()->Selected()); }
    int RowNamed(const QString& name) const {
        const QAbstractItemModel& model = *window_->Attributes()->model();
        for (int row = 0; row < model.rowCount(); ++row)
            if (model.index(row, 0).data().toString() == name) return row;
        return -1;
    }

private slots:
    void init() { Open(kNode); }
    void cleanup() { holder_.reset(); }

    void valuesThatPointSomewhereLookIt_data() {
        QTest::addColumn<QString>("component");
        QTest::addColumn<QString>("attribute");
        QTest::addColumn<QString>("look");  // link, dangling or plain
        QTest::addColumn<QString>("tooltip");
        QTest::newRow("exact") << "AtmIf/21"
                               << "primary"
                               << "link"
                               << "";
        QTest::newRow("exact, other case") << "AtmIf/21"
                                           << "far"
                                           << "link"
                                           << "";
        QTest::newRow("partial") << "AtmIf/21"
                                 << "interfaceName"
                                 << "link"
                                 << "Path/0 is not in this file; goes to Lp/2 Sonet/0";
        QTest::newRow("dangling") << "AtmIf/21"
                                  << "nextHop"
                                  << "dangling"
                                  << "No component AtmIf/99 in this file";
        QTest::newRow("no reference") << "Lp/2"
                                      << "note"
                                      << "plain"
                                      << "";
    }
    void valuesThatPointSomewhereLookIt() {
        QFETCH(QString, component);
        QFETCH(QString, attribute);
        QFETCH(QString, look);
        QFETCH(QString, tooltip);
        doc::AttributeList& list = *window_->Attributes();
        QAbstractItemModelTester tester(list.model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        SelectByHand(component.toUtf8().constData());
        const QModelIndex value = list.model()->index(RowNamed(attribute), 1);
        QVERIFY(value.isValid());
        const QVariant colour = value.data(Qt::ForegroundRole);
        const QPalette palette = list.palette();
        if (look == "link") QCOMPARE(colour.value<QColor>(), palette.color(QPalette::Link));
        if (look == "dangling") QCOMPARE(colour.value<QColor>(), doc::DanglingColour(palette.color(QPalette::Base)));
        if (look == "plain") QVERIFY(!colour.isValid());
        QCOMPARE(value.data(Qt::FontRole).value<QFont>().underline(), look == "link");
        QCOMPARE(value.data(Qt::ToolTipRole).toString(), tooltip);
        // The cell texts stay the file's.
        QCOMPARE(list.model()->index(RowNamed(attribute), 0).data().toString(), attribute);
    }

    void danglingRedReadsOnLightAndDarkPalettes_data() {
        QTest::addColumn<QColor>("base");
        QTest::newRow("light") << QColor(Qt::white);
        QTest::newRow("dark") << QColor(0x23, 0x26, 0x29);
        QTest::newRow("grey") << QColor(0x80, 0x80, 0x80);
    }
    void danglingRedReadsOnLightAndDarkPalettes() {
        QFETCH(QColor, base);
        doc::AttributeList& list = *window_->Attributes();
        QPalette palette = list.palette();
        palette.setColor(QPalette::Base, base);
        list.setPalette(palette);
        SelectByHand("AtmIf/21");
        const QColor red = list.model()->index(RowNamed("nextHop"), 1).data(Qt::ForegroundRole).value<QColor>();
        QVERIFY2(doc::ContrastRatio(red, base) >= 4.5, qPrintable(QString::number(doc::ContrastRatio(red, base))));
        QVERIFY(red.red() > red.green() && red.red() > red.blue());
    }

    void followingSelectsTheTarget_data() {
        QTest::addColumn<QString>("attribute");
        QTest::addColumn<QString>("how");  // double-click, enter or ctrl-click
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("said");
        QTest::newRow("exact by double-click") << "primary"
                                               << "double-click"
                                               << "Lp/2 Sonet/0"
                                               << "";
        QTest::newRow("exact by Enter") << "far"
                                        << "enter"
                                        << "Lp/2"
                                        << "";
        QTest::newRow("partial by Ctrl+click") << "interfaceName"
                                               << "ctrl-click"
                                               << "Lp/2 Sonet/0"
                                               << "";
        QTest::newRow("dangling") << "nextHop"
                                  << "enter"
                                  << "AtmIf/21"
                                  << "No component AtmIf/99 in this file";
    }
    void followingSelectsTheTarget() {
        QFETCH(QString, attribute);
        QFETCH(QString, how);
        QFETCH(QString, selected);
        QFETCH(QString, said);
        SelectByHand("AtmIf/21");
        doc::AttributeList& list = *window_->Attributes();
        const QModelIndex value = list.model()->index(RowNamed(attribute), 1);
        const QPoint at = list.visualRect(value).center();
        if (how == "double-click") {
            QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
        } else if (how == "ctrl-click") {
            QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::ControlModifier, at);
        } else {
            list.setCurrentIndex(value);
            QTest::keyClick(&list, Qt::Key_Return);
        }
        QCOMPARE(Selected(), selected);
        QCOMPARE(holder_->said, said);
        // Selected as the user's own selection would be: bold, attributes, path strip.
        QVERIFY(window_->Tree()->TreeModel()->IsBold(window_->Tree()->Selected()));
        QCOMPARE(window_->IndexOfText(), QStringLiteral("Index Of: ") + selected);
        QCOMPARE(window_->Navigator()->CanGoBack(), said.isEmpty());
    }

    void backAndForwardWithABranch() {
        doc::ReferenceNavigator& nav = *window_->Navigator();
        SelectByHand("AtmIf/21");
        nav.FollowRow(RowNamed("far"));       // AtmIf/21 -> Lp/2
        nav.FollowRow(RowNamed("mainCard"));  // Lp/2 -> Shelf Card/2
        QCOMPARE(Selected(), QStringLiteral("Shelf Card/2"));
        SelectByHand("AtmIf/22");  // by hand: no history entry
        QVERIFY(!nav.ForwardAction()->isEnabled());
        QTest::keyClick(window_->Tree(), Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(Selected(), QStringLiteral("Lp/2"));
        QTest::mouseClick(window_->Attributes()->viewport(), Qt::BackButton);
        QCOMPARE(Selected(), QStringLiteral("AtmIf/21"));
        QVERIFY(!nav.BackAction()->isEnabled());
        window_->Back();  // nowhere to go
        QCOMPARE(Selected(), QStringLiteral("AtmIf/21"));
        QTest::keyClick(window_->Tree(), Qt::Key_Right, Qt::AltModifier);
        QCOMPARE(Selected(), QStringLiteral("Lp/2"));
        window_->Forward();
        QCOMPARE(Selected(), QStringLiteral("AtmIf/22"));  // the component left by going back
        window_->Back();
        window_->Back();
        QCOMPARE(Selected(), QStringLiteral("AtmIf/21"));
        // A new jump drops the forward entries.
        nav.FollowRow(RowNamed("primary"));
        QCOMPARE(Selected(), QStringLiteral("Lp/2 Sonet/0"));
        QVERIFY(!nav.CanGoForward());
        window_->Back();
        QCOMPARE(Selected(), QStringLiteral("AtmIf/21"));
    }

    void referencedBy_data() {
        QTest::addColumn<QString>("component");
        QTest::addColumn<bool>("below");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("exact only") << "Lp/2" << false << QStringList{"AtmIf/21|far=lp/2", "AtmIf/22|link=Lp/2"};
        QTest::newRow("with what is below")
            << "Lp/2" << true
            << QStringList{"AtmIf/21|interfaceName=Lp/2 Sonet/0 Path/0", "AtmIf/21|primary=Lp/2 Sonet/0",
                           "AtmIf/21|far=lp/2", "AtmIf/22|link=Lp/2"};
        QTest::newRow("a card") << "Shelf Card/2" << false << QStringList{"Lp/2|mainCard=Shelf Card/2"};
        QTest::newRow("none") << "AtmIf/22" << true << QStringList{};
    }
    void referencedBy() {
        QFETCH(QString, component);
        QFETCH(bool, below);
        QFETCH(QStringList, rows);
        doc::ReferencedByPanel& panel = *window_->ReferencedBy();
        QAbstractItemModelTester tester(panel.Model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        SelectByHand(component.toUtf8().constData());
        QVERIFY(panel.List()->isHidden() || window_->Navigator()->IndexReady());
        window_->Navigator()->Index();  // the list fills once the background build is done
        panel.IncludeBelow()->setChecked(below);
        QCOMPARE(Rows(*panel.Model()), rows);
        QCOMPARE(panel.Header()->text(), QStringLiteral("Referenced by (%1)").arg(rows.size()));
        QCOMPARE(panel.List()->isVisible(), !rows.isEmpty());
        if (rows.isEmpty()) return;
        // A row opens its source with the referring line selected.
        const QString last = rows.last();
        panel.List()->setCurrentIndex(panel.Model()->index(static_cast<int>(rows.size()) - 1, 0));
        QTest::keyClick(panel.List(), Qt::Key_Return);
        QCOMPARE(Selected(), last.section('|', 0, 0));
        const QModelIndex line = window_->Attributes()->currentIndex();
        QCOMPARE(line.siblingAtColumn(0).data().toString() + "=" + line.siblingAtColumn(1).data().toString(),
                 last.section('|', 1));
        window_->Back();
        QCOMPARE(Selected(), component);
    }

    void aRemovedTargetIsSaid() {
        SelectByHand("Lp/2");
        dialogs_.questionAnswers = {true};
        QTest::keyClick(window_->Tree(), Qt::Key_Delete);
        QVERIFY(window_->Tree()->TreeModel()->IsRemoved(At("Lp/2")));
        SelectByHand("AtmIf/22");
        window_->Navigator()->FollowRow(RowNamed("link"));
        QCOMPARE(Selected(), QStringLiteral("AtmIf/22"));
        QCOMPARE(holder_->said, QStringLiteral("Lp/2 was removed from the tree"));
        QVERIFY(!window_->Navigator()->CanGoBack());
    }

    void reloadKeepsTheHistoryByPath() {
        doc::ReferenceNavigator& nav = *window_->Navigator();
        SelectByHand("AtmIf/22");
        nav.FollowRow(RowNamed("link"));      // AtmIf/22 -> Lp/2
        nav.FollowRow(RowNamed("mainCard"));  // Lp/2 -> Shelf Card/2
        // AtmIf/22 is gone from the file read again; Lp/2 is still there.
        std::string fewer(kNode);
        fewer.erase(fewer.find("add AtmIf/22"));
        doctest::WriteFile(dir_, QStringLiteral("node.txt"), fewer);
        window_->Reload();
        QCOMPARE(Selected(), QStringLiteral("Shelf Card/2"));
        window_->Back();
        QCOMPARE(Selected(), QStringLiteral("Lp/2"));
        window_->Back();  // the entry of the component that is gone is skipped
        QCOMPARE(Selected(), QStringLiteral("Lp/2"));
        QVERIFY(!nav.CanGoBack());
        window_->Forward();
        QCOMPARE(Selected(), QStringLiteral("Shelf Card/2"));
        // Links resolve against the file read again.
        SelectByHand("AtmIf/21");
        QCOMPARE(
            window_->Attributes()->model()->index(RowNamed("far"), 1).data(Qt::FontRole).value<QFont>().underline(),
            true);
    }
};

QTEST_MAIN(DocRefsTest)
#include "doc_refs_test.moc"
