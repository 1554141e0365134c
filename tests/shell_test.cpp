// The main window driven headless: command enabling, window names, the
// "Maximized" setting, report commands and check marks, custom reports, the
// Window menu, the default error display and the About box.
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>
#include <algorithm>
#include <functional>

#include "doc/common/dialogs.h"
#include "doc/document/mdi_child.h"
#include "doc/tree/tz_tree_view.h"
#include "sample_node.h"
#include "settings/registry_enhanced.h"
#include "settings/settings_folder.h"
#include "shell/application.h"
#include "shell/main_form.h"
#include "shell_test_support.h"

Q_DECLARE_METATYPE(oryx::settings::SettingValue)

using namespace shelltest;

namespace {

constexpr char kConfigureNode[] = R"(configure Shelf
configure Card/3
set cardType aal1Ces
return
return
)";

int VisibleRows(const QTreeView& tree) {
    int rows = 0;
    for (QModelIndex index = tree.model()->index(0, 0); index.isValid(); index = tree.indexBelow(index)) ++rows;
    return rows;
}

}  // namespace

class ShellTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void commandsFollowOpenWindows();
    void windowNamesKeepTheirNumbers();
    void maximizedHonouredOnOpen_data();
    void maximizedHonouredOnOpen();
    void maximizedStoredAtClose_data();
    void maximizedStoredAtClose();
    void reportCommandsDriveActiveWindow_data();
    void reportCommandsDriveActiveWindow();
    void reportGoesToActiveWindowOnly();
    void openingDocumentClearsCheckMarks();
    void customReportMenuFromConfigBesideProgram();
    void noCustomReportsWithoutConfig();
    void problemsCountedAtAGlanceAndListedWithTheirMark();
    void closeSaveExpandCollapseActOnActiveWindow();
    void findOpensTheBarOfTheActiveWindow();
    void windowMenuListsAndArrangesWindows();
    void tileFillsTheAreaWithoutOverlap_data();
    void tileFillsTheAreaWithoutOverlap();
    void hintsShowInStatusBar();
    void everyMenuItemRunsByItsAccessKey();
    void everyCommandsCaptionShortcutAndHint_data();
    void everyCommandsCaptionShortcutAndHint();
    void unreadableFileReachesDefaultErrorDisplay();
    void failingReportReachesDefaultErrorDisplay();
    void failingCommandsShowTheirErrorAndTheNextRuns();
    void aboutBox();

private:
    void Open(TMainForm& form, const QString& path);
    void StoreSetting(const char* name, const oryx::settings::SettingValue& value);

    TestFolders folders_;
    FakeDialogs dialogs_;
    QString node_;
    QString configureNode_;
};

void ShellTest::initTestCase() {
    node_ = folders_.Write("node17.txt", oryx::testing::kSampleNode);
    configureNode_ = folders_.Write("node18.cfg.txt", kConfigureNode);
}

void ShellTest::init() {
    dialogs_.Reset();
    folders_.ClearSettings();
    QFile::remove(TMainForm::ReportConfigFile());
}

void ShellTest::cleanup() {
    QFile::remove(TMainForm::ReportConfigFile());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

void ShellTest::Open(TMainForm& form, const QString& path) { OpenWithDialog(form, dialogs_, path); }

void ShellTest::StoreSetting(const char* name, const oryx::settings::SettingValue& value) {
    SettingsStore().WriteValue(name, value);
}

void ShellTest::commandsFollowOpenWindows() {
    TMainForm form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const char* const needWindow[] = {"FileCloseItem",     "FileSaveItem",       "SaveBtn",           "btnExpand",
                                      "btnCollapse",       "btnPrint",           "WindowCascadeItem", "WindowTileItem",
                                      "WindowArrangeItem", "WindowMinimizeItem", "EditFindItem"};
    const auto expectEnabled = [&](bool enabled) {
        for (const char* name : needWindow) QVERIFY2(Item(form, name)->isEnabled() == enabled, name);
        QCOMPARE(form.findChild<QToolButton*>("btnReports")->isEnabled(), enabled);
        for (const char* name : {"FileOpenItem", "OpenBtn", "FileExitItem", "ExitBtn", "miOptions", "HelpAboutItem"})
            QVERIFY2(Item(form, name)->isEnabled(), name);
        QVERIFY(!Item(form, "FilePrintItem")->isEnabled());
    };

    expectEnabled(false);
    Item(form, "OpenBtn")->trigger();  // cancelled: nothing opens
    QCOMPARE(dialogs_.openTitles, QStringList{"Open"});
    QCOMPARE(form.DocumentCount(), 0);
    Open(form, node_);
    expectEnabled(true);
    Open(form, node_);
    expectEnabled(true);
    QCOMPARE(form.DocumentCount(), 2);

    Item(form, "FileCloseItem")->trigger();
    QTRY_COMPARE(form.DocumentCount(), 1);
    expectEnabled(true);
    Item(form, "FileCloseItem")->trigger();
    QTRY_COMPARE(form.DocumentCount(), 0);
    QTRY_VERIFY(!Item(form, "FileCloseItem")->isEnabled());
    expectEnabled(false);

    // A disabled command's shortcut does nothing.
    QTest::keyClick(&form, Qt::Key_S, Qt::ControlModifier);
    QVERIFY(dialogs_.saves.empty());
}

void ShellTest::windowNamesKeepTheirNumbers() {
    TMainForm form;
    form.show();
    for (int i = 0; i < 3; ++i) Open(form, node_);  // the same file three times: three windows
    QCOMPARE(WindowNames(form), QStringList({"MDIChild1", "MDIChild2", "MDIChild3"}));
    QCOMPARE(form.ActiveDocument()->objectName(), QString("MDIChild3"));
    QCOMPARE(form.ActiveDocumentWindow()->windowTitle(), node_);

    form.findChild<QMdiSubWindow*>("MDIChild2")->close();
    QTRY_COMPARE(WindowNames(form), QStringList({"MDIChild1", "MDIChild3"}));

    Open(form, configureNode_);
    QCOMPARE(WindowNames(form), QStringList({"MDIChild1", "MDIChild3", "MDIChild4"}));
    QCOMPARE(form.ActiveDocumentWindow()->windowTitle(), configureNode_);
}

void ShellTest::maximizedHonouredOnOpen_data() {
    QTest::addColumn<oryx::settings::SettingValue>("stored");
    QTest::addColumn<bool>("maximized");
    QTest::newRow("nothing stored") << oryx::settings::SettingValue() << false;
    QTest::newRow("0") << oryx::settings::SettingValue(0) << false;
    QTest::newRow("1") << oryx::settings::SettingValue(1) << true;
    QTest::newRow("2") << oryx::settings::SettingValue(2) << false;
    QTest::newRow("text 1") << oryx::settings::SettingValue("1") << false;
}

void ShellTest::maximizedHonouredOnOpen() {
    QFETCH(oryx::settings::SettingValue, stored);
    QFETCH(bool, maximized);
    StoreSetting("Maximized", stored);
    TMainForm form;
    form.show();
    Open(form, node_);
    QCOMPARE(form.ActiveDocumentWindow()->isMaximized(), maximized);
    // Read again on every open: a change made meanwhile counts for the next window.
    StoreSetting("Maximized", maximized ? 0 : 1);
    form.ActiveDocumentWindow()->showNormal();
    Open(form, node_);
    QCOMPARE(form.ActiveDocumentWindow()->isMaximized(), !maximized);
}

void ShellTest::maximizedStoredAtClose_data() {
    QTest::addColumn<int>("windows");
    QTest::addColumn<bool>("maximize");
    QTest::addColumn<int>("stored");
    QTest::newRow("maximised window") << 1 << true << 1;
    QTest::newRow("normal window") << 1 << false << 0;
    QTest::newRow("no window: unchanged") << 0 << false << 7;
}

void ShellTest::maximizedStoredAtClose() {
    QFETCH(int, windows);
    QFETCH(bool, maximize);
    QFETCH(int, stored);
    StoreSetting("Maximized", 7);
    {
        TMainForm form;
        form.show();
        for (int i = 0; i < windows; ++i) Open(form, node_);
        if (maximize) form.ActiveDocumentWindow()->showMaximized();
        QVERIFY(form.close());
    }
    QCOMPARE(SettingsStore().ReadValue("Maximized", oryx::settings::SettingValue()),
             oryx::settings::SettingValue(stored));
}

void ShellTest::reportCommandsDriveActiveWindow_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("code");
    QTest::newRow("Overview") << "miOverviewReport" << 1;
    QTest::newRow("AtmIf VCC") << "miVCCAtmIfReport" << 2;
    QTest::newRow("FrAtm DLCI") << "miFrAtmDlciReport" << 3;
    QTest::newRow("FrUni DLCI") << "miFrUniDlciReport" << 4;
    QTest::newRow("FrAtm") << "miFrAtmReport" << 5;
    QTest::newRow("AtmIf") << "miAtmIfReport" << 6;
    QTest::newRow("Node Summary") << "miCommonReport" << 7;
    QTest::newRow("Virtual Router") << "miVirtualRouterReport" << 8;
}

void ShellTest::reportCommandsDriveActiveWindow() {
    QFETCH(QString, item);
    QFETCH(int, code);
    TMainForm form;
    form.show();
    Open(form, node_);
    oryx::doc::TMDIChild* child = form.ActiveDocument();
    QAction* report = Item(form, qPrintable(item));

    report->trigger();
    QCOMPARE(child->CurrentReportNumber(), code);
    QVERIFY(child->IsReportListVisible(*oryx::reports::ReportByCode(code)));
    QCOMPARE(CheckedReportItems(form), QStringList{item});

    // The same command again closes the report and clears its mark.
    report->trigger();
    QCOMPARE(child->CurrentReportNumber(), 0);
    QVERIFY(!child->IsReportListVisible(*oryx::reports::ReportByCode(code)));
    QCOMPARE(CheckedReportItems(form), QStringList());

    // Another report replaces the first.
    QAction* other = Item(form, code == 6 ? "miCommonReport" : "miAtmIfReport");
    report->trigger();
    other->trigger();
    QCOMPARE(CheckedReportItems(form), QStringList{other->objectName()});
    QVERIFY(!child->IsReportListVisible(*oryx::reports::ReportByCode(code)));
}

void ShellTest::reportGoesToActiveWindowOnly() {
    TMainForm form;
    form.show();
    Open(form, node_);
    oryx::doc::TMDIChild* first = form.ActiveDocument();
    Open(form, node_);
    oryx::doc::TMDIChild* second = form.ActiveDocument();
    QVERIFY(first != second);

    Item(form, "miAtmIfReport")->trigger();
    QCOMPARE(second->CurrentReportNumber(), 6);
    QCOMPARE(first->CurrentReportNumber(), 0);

    form.findChild<QMdiArea*>()->setActiveSubWindow(form.findChild<QMdiSubWindow*>("MDIChild1"));
    QCOMPARE(form.ActiveDocument(), first);
    Item(form, "miVCCAtmIfReport")->trigger();
    QCOMPARE(first->CurrentReportNumber(), 2);
    QCOMPARE(second->CurrentReportNumber(), 6);
    QCOMPARE(CheckedReportItems(form), QStringList{"miVCCAtmIfReport"});
}

void ShellTest::openingDocumentClearsCheckMarks() {
    TMainForm form;
    form.show();
    Open(form, node_);
    Item(form, "miCommonReport")->trigger();
    QCOMPARE(CheckedReportItems(form), QStringList{"miCommonReport"});
    Open(form, node_);
    QCOMPARE(CheckedReportItems(form), QStringList());
}

void ShellTest::customReportMenuFromConfigBesideProgram() {
    QFile config(TMainForm::ReportConfigFile());
    QVERIFY(config.open(QIODevice::WriteOnly));
    config.write(
        "[Shelf Cards]\r\nCard 0=Shelf Card/0 &cardtype\r\nCard 1=Shelf Card/1 &cardtype\r\n\r\n"
        "[atm interfaces]\r\nFirst AtmIf=AtmIf/1 &interfacename\r\n"
        "[R&D]\r\nNode=Lp/0 &maincard\r\n");
    config.close();

    TMainForm form;
    form.show();
    auto* menu = form.findChild<QMenu*>("popReportMenu");
    QVERIFY(Item(form, "miReportMenuSeparator")->isVisible());
    QStringList custom;
    const QList<QAction*> items = menu->actions();
    // The custom reports stand between the fixed ones and "&Problems".
    const qsizetype end = items.indexOf(Item(form, "miProblems")) - 1;
    for (qsizetype i = items.indexOf(Item(form, "miReportMenuSeparator")) + 1; i < end; ++i) custom << items[i]->text();
    QAction* lastCustom = items[end - 1];
    // Sorted ignoring letter case; an "&" in a name is shown, not taken as an access key.
    QCOMPARE(custom, QStringList({"atm interfaces", "R&&D", "Shelf Cards"}));

    Open(form, node_);
    oryx::doc::TMDIChild* child = form.ActiveDocument();
    lastCustom->trigger();
    QCOMPARE(child->CurrentReportNumber(), 10);
    QVERIFY(child->IsReportListVisible(oryx::doc::PanelReport::Custom()));
    QCOMPARE(CheckedReportItems(form), QStringList());
    // No toggle: a second request shows the report again.
    lastCustom->trigger();
    QCOMPARE(child->CurrentReportNumber(), 10);
    QVERIFY(child->IsReportListVisible(oryx::doc::PanelReport::Custom()));
}

void ShellTest::problemsCountedAtAGlanceAndListedWithTheirMark() {
    const QString path = folders_.Write("node9.txt", "start prov\nadd Lp/3\nset Lp/3 a 1\nset Lp/4 mainCard x\n");
    TMainForm form;
    form.show();
    Open(form, path);
    oryx::doc::TMDIChild* child = form.ActiveDocument();
    QTRY_COMPARE(form.ProblemsStatus()->text(), QStringLiteral("0 errors, 1 warning"));
    QStringList tips;
    for (const QPushButton* button : form.findChild<QWidget*>("Taskbar")->findChildren<QPushButton*>())
        tips << button->toolTip();
    // The path, then the counts.
    QCOMPARE(tips, QStringList({path + QStringLiteral("\n0 errors, 1 warning")}));
    // A menu hint takes the hint panel only.
    form.DisplayHint(QStringLiteral("a hint"));
    QCOMPARE(form.ProblemsStatus()->text(), QStringLiteral("0 errors, 1 warning"));

    Item(form, "miProblems")->trigger();
    QCOMPARE(child->CurrentReportNumber(), 11);
    QCOMPARE(CheckedReportItems(form), QStringList({"miProblems"}));
    Item(form, "miAtmIfReport")->trigger();
    QCOMPARE(CheckedReportItems(form), QStringList({"miAtmIfReport"}));
}

void ShellTest::noCustomReportsWithoutConfig() {
    TMainForm form;
    auto* menu = form.findChild<QMenu*>("popReportMenu");
    QVERIFY(!Item(form, "miReportMenuSeparator")->isVisible());
    QCOMPARE(menu->actions().size(), 11);
    QCOMPARE(menu->actions()[8], Item(form, "miReportMenuSeparator"));
    QCOMPARE(menu->actions().last(), Item(form, "miProblems"));
}

void ShellTest::closeSaveExpandCollapseActOnActiveWindow() {
    TMainForm form;
    form.show();
    Open(form, node_);
    Open(form, configureNode_);

    dialogs_.saveAnswers = {folders_.files.filePath("tree.txt")};
    Item(form, "SaveBtn")->trigger();
    QCOMPARE(dialogs_.saves.size(), std::size_t{1});
    QCOMPARE(dialogs_.saves[0].title, QString("Save Tree Structure..."));
    QFile saved(folders_.files.filePath("tree.txt"));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray text = saved.readAll();
    QVERIFY2(text.contains("Card/3") && !text.contains("AtmIf/1"), text.constData());  // the active window's file

    QTreeView* tree = form.ActiveDocument()->Tree();
    QCOMPARE(VisibleRows(*tree), 1);  // Shelf
    Item(form, "btnExpand")->trigger();
    QCOMPARE(VisibleRows(*tree), 2);  // Shelf, Card/3
    Item(form, "btnCollapse")->trigger();
    QCOMPARE(VisibleRows(*tree), 1);

    Item(form, "FileCloseItem")->trigger();
    QTRY_COMPARE(WindowNames(form), QStringList{"MDIChild1"});
}

void ShellTest::findOpensTheBarOfTheActiveWindow() {
    TMainForm form;
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QAction* find = Item(form, "EditFindItem");
    QCOMPARE(find->text(), QString("&Find..."));
    QCOMPARE(find->statusTip(), QString("Find in the component tree"));
    QCOMPARE(find->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F));
    QStringList edit;
    for (QAction* item : form.findChild<QMenu*>("Edit1")->actions()) edit << (item->isSeparator() ? "-" : item->text());
    QCOMPARE(edit, QStringList({"&Find...", "-", "&Options"}));

    Open(form, node_);
    Open(form, configureNode_);
    oryx::doc::TMDIChild* active = form.ActiveDocument();
    QWidget* activeBar = active->findChild<QWidget*>("FindBar");
    QVERIFY(activeBar && !activeBar->isVisible());
    QTest::keyClick(&form, Qt::Key_F, Qt::ControlModifier);
    QVERIFY(activeBar->isVisible());
    QVERIFY(activeBar->isAncestorOf(QApplication::focusWidget()));
    for (QMdiSubWindow* window : form.findChild<QMdiArea*>()->subWindowList())
        if (window->widget() != active) QVERIFY(!window->widget()->findChild<QWidget*>("FindBar")->isVisible());
}

void ShellTest::windowMenuListsAndArrangesWindows() {
    TMainForm form;
    form.resize(900, 700);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    Open(form, node_);
    Open(form, configureNode_);

    auto* windowMenu = form.findChild<QMenu*>("Window1");
    emit windowMenu->aboutToShow();
    QStringList texts;
    for (QAction* item : windowMenu->actions())
        texts << (item->isSeparator() ? "-" : item->text() + (item->isChecked() ? " *" : ""));
    QCOMPARE(texts, QStringList({"&Cascade", "&Tile", "&Arrange Icons", "&Minimize All", "-", "&1 " + node_,
                                 "&2 " + configureNode_ + " *"}));
    windowMenu->actions().at(5)->trigger();
    QCOMPARE(form.ActiveDocumentWindow()->objectName(), QString("MDIChild1"));

    auto* first = form.findChild<QMdiSubWindow*>("MDIChild1");
    auto* second = form.findChild<QMdiSubWindow*>("MDIChild2");
    Item(form, "WindowCascadeItem")->trigger();
    QVERIFY(first->geometry().intersects(second->geometry()));
    QVERIFY(first->pos() != second->pos());

    Item(form, "WindowMinimizeItem")->trigger();
    QVERIFY(first->isMinimized() && second->isMinimized());
    first->move(300, 20);
    Item(form, "WindowArrangeItem")->trigger();
    const int bottom = form.findChild<QMdiArea*>()->viewport()->height();
    QCOMPARE(first->geometry().bottom() + 1, bottom);
    QCOMPARE(second->geometry().bottom() + 1, bottom);
    QVERIFY(!first->geometry().intersects(second->geometry()));
    QCOMPARE(std::min(first->x(), second->x()), 0);
}

void ShellTest::tileFillsTheAreaWithoutOverlap_data() {
    QTest::addColumn<int>("windows");
    QTest::addColumn<int>("columns");
    QTest::newRow("one") << 1 << 1;
    QTest::newRow("two, one above the other") << 2 << 1;
    QTest::newRow("three") << 3 << 1;
    QTest::newRow("four") << 4 << 2;
    QTest::newRow("five") << 5 << 2;
    QTest::newRow("ten") << 10 << 3;
}

void ShellTest::tileFillsTheAreaWithoutOverlap() {
    QFETCH(int, windows);
    QFETCH(int, columns);
    TMainForm form;
    form.resize(1000, 800);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    for (int i = 0; i < windows; ++i) Open(form, configureNode_);
    form.ActiveDocumentWindow()->showMaximized();
    Item(form, "WindowTileItem")->trigger();

    const QSize area = form.findChild<QMdiArea*>()->viewport()->size();
    const QList<QMdiSubWindow*> tiled = form.findChild<QMdiArea*>()->subWindowList();
    QSet<int> lefts;
    int covered = 0;
    for (QMdiSubWindow* window : tiled) {
        QVERIFY(!window->isMaximized());
        for (QMdiSubWindow* other : tiled)
            QVERIFY(window == other || !window->geometry().intersects(other->geometry()));
        lefts << window->x();
        covered += window->width() * window->height();
    }
    QCOMPARE(lefts.size(), columns);
    QCOMPARE(covered, area.width() * area.height());
}

void ShellTest::everyMenuItemRunsByItsAccessKey() {
    // In each menu of the menu bar, every enabled item with an access key is
    // chosen by that key and runs: a key two items shared would only move
    // between them. A document is open, so the document commands are enabled
    // (Close and Exit are undone after they ran); dialogs are cancelled.
    TMainForm form;
    form.show();
    QTimer dialogCloser;
    connect(&dialogCloser, &QTimer::timeout, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->reject();
    });
    dialogCloser.start(20);
    int ran = 0;
    for (const QAction* title : form.menuBar()->actions()) {
        QMenu* menu = title->menu();
        // The Window menu makes its list of windows afresh each time it opens,
        // so the items are looked up again by their place.
        for (qsizetype place = 0;; ++place) {
            if (form.DocumentCount() == 0) Open(form, node_);
            form.show();
            menu->popup(form.mapToGlobal(QPoint(10, 10)));
            QVERIFY(menu->isVisible());
            if (place >= menu->actions().size()) {
                menu->hide();
                break;
            }
            QAction* item = menu->actions()[place];
            const QKeySequence key = QKeySequence::mnemonic(item->text());
            if (item->isSeparator() || !item->isVisible() || !item->isEnabled() || key.isEmpty()) {
                menu->hide();
                continue;
            }
            QSignalSpy triggered(item, &QAction::triggered);
            QTest::keyClick(menu, key[0].key());
            QVERIFY2(triggered.count() == 1, qPrintable(item->text()));
            ++ran;
        }
    }
    QVERIFY(ran >= 15);
    QVERIFY(dialogs_.messages.empty());
}

void ShellTest::everyCommandsCaptionShortcutAndHint_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QKeySequence>("shortcut");
    QTest::addColumn<QString>("hint");
    const struct {
        const char* name;
        const char* caption;
        QKeySequence shortcut;
        const char* hint;
    } commands[] = {
        {"FileOpenItem", "&Open", QKeySequence(Qt::CTRL | Qt::Key_O), "Open an existing file"},
        {"FileCompareItem", "Compare &With...", {}, "Compare the active file with another file"},
        {"FileCloseItem", "&Close", {}, "Close current file"},
        {"FileReloadItem", "&Reload", QKeySequence(Qt::Key_F5), "Reload current file"},
        {"FileSaveItem", "&Save", QKeySequence(Qt::CTRL | Qt::Key_S), "Save current file"},
        {"FilePrintItem", "&Print", QKeySequence(Qt::CTRL | Qt::Key_P), "Print current file"},
        {"FileExitItem", "E&xit", {}, "Exit the application"},
        {"EditFindItem", "&Find...", QKeySequence(Qt::CTRL | Qt::Key_F), "Find in the component tree"},
        {"miOptions", "&Options", {}, "Edit ORYX Options"},
        {"ViewExpandAllItem", "&Expand All", {}, "Expand All"},
        {"ViewCollapseAllItem", "&Collapse All", {}, "Collapse All"},
        {"ViewBackItem", "&Back", {}, "Back to the component before the last jump"},
        {"ViewForwardItem", "&Forward", {}, "Forward to the component left by going back"},
        {"WindowCascadeItem", "&Cascade", {}, "Arrange windows to overlap"},
        {"WindowTileItem", "&Tile", {}, "Arrange windows without overlap"},
        {"WindowArrangeItem", "&Arrange Icons", {}, "Arrange window icons at bottom of main window"},
        {"WindowMinimizeItem", "&Minimize All", {}, "Minimize all windows"},
        {"HelpAboutItem", "&About...", {}, ""},
        {"OpenBtn", "Open", {}, "Open File..."},
        {"SaveBtn", "Save", {}, "Save Tree Structure"},
        {"btnPrint", "Print", {}, "Print Tree Structure"},
        {"btnExpand", "Expand All", {}, "Expand All"},
        {"btnCollapse", "Collapse All", {}, "Collapse All"},
        {"btnBack", "Back", {}, "Back"},
        {"btnForward", "Forward", {}, "Forward"},
        {"ExitBtn", "Exit", {}, "Exit ORYX"},
        {"miAtmIfReport", "AtmIf Report", {}, ""},
        {"miVCCAtmIfReport", "AtmIf Vcc Report", {}, ""},
        {"miFrAtmReport", "FrAtm Report", {}, ""},
        {"miFrAtmDlciReport", "FrAtm Dlci Report", {}, ""},
        {"miFrUniDlciReport", "FrUni Dlci Report", {}, ""},
        {"miCommonReport", "Node Summary", {}, ""},
        {"miOverviewReport", "Halyard Overview Report", {}, ""},
        {"miVirtualRouterReport", "Virtual Router", {}, ""},
    };
    for (const auto& command : commands)
        QTest::newRow(command.name) << QString(command.caption) << command.shortcut << QString(command.hint);
}

void ShellTest::everyCommandsCaptionShortcutAndHint() {
    TMainForm form;
    const QAction* command = Item(form, QTest::currentDataTag());
    QTEST(command->text(), "caption");
    QTEST(command->shortcut(), "shortcut");
    QTEST(command->statusTip(), "hint");
}

void ShellTest::hintsShowInStatusBar() {
    TMainForm form;
    form.show();
    auto* save = form.findChild<QToolButton*>("SaveBtn");
    QVERIFY(save);
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), save->mapToGlobal(QPointF(2, 2)));
    QApplication::sendEvent(save, &enter);
    QCOMPARE(form.statusBar()->currentMessage(), QString("Save Tree Structure"));

    // A menu reports the hint of the item under the pointer through the menu bar.
    Item(form, "FileOpenItem")->showStatusText(form.menuBar());
    QCOMPARE(form.statusBar()->currentMessage(), QString("Open an existing file"));
}

void ShellTest::unreadableFileReachesDefaultErrorDisplay() {
    TMainForm form;
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    const QString missing = folders_.files.filePath("no such node.txt");
    dialogs_.openAnswers << missing;
    // Through the shortcut, so the error travels the way a user's would.
    QTest::keyClick(&form, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(dialogs_.messages.size(), std::size_t(1));
    QCOMPARE(dialogs_.messages[0].kind, MessageKind::Error);
    QCOMPARE(dialogs_.messages[0].caption, QString("Error"));
    QVERIFY2(dialogs_.messages[0].text.contains("no such node.txt"), qPrintable(dialogs_.messages[0].text));
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QCOMPARE(form.DocumentCount(), 0);
    QVERIFY(!Item(form, "FileCloseItem")->isEnabled());

    // The program goes on, and the failed file used no window number.
    dialogs_.openAnswers << node_;
    QTest::keyClick(&form, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(WindowNames(form), QStringList{"MDIChild1"});
    QCOMPARE(dialogs_.messages.size(), std::size_t(1));
}

void ShellTest::failingReportReachesDefaultErrorDisplay() {
    const QString badCard =
        folders_.Write("bad card.txt", "start prov\nadd Shelf\nadd Shelf Card/0\nadd Shelf Card/x1\n");
    TMainForm form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    Open(form, badCard);
    auto* menu = form.findChild<QMenu*>("popReportMenu");
    bool clicked = false;
    // The report menu runs its own event loop; the choice is made inside it.
    QTimer::singleShot(0, menu, [&] {
        QAction* overview = Item(form, "miOverviewReport");
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(overview).center());
        clicked = true;
    });
    QTest::mouseClick(form.findChild<QToolButton*>("btnReports"), Qt::LeftButton);
    QTRY_VERIFY(clicked);
    QTRY_COMPARE(dialogs_.messages.size(), std::size_t(1));
    QCOMPARE(dialogs_.messages[0].caption, QString("Error"));
    QCOMPARE(dialogs_.messages[0].text, QString("'x1' is not a valid integer value"));
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    // What was built before the failure is on show.
    QCOMPARE(form.ActiveDocument()->CurrentReportNumber(), 1);
    QCOMPARE(CheckedReportItems(form), QStringList{"miOverviewReport"});
}

void ShellTest::failingCommandsShowTheirErrorAndTheNextRuns() {
    // Each command fails inside its own boundary: the error box shows the
    // error, and the next command (opening a file) runs as usual.
    const struct {
        const char* name;
        std::function<void(TMainForm&, const QString& file)> fail;
        QString error;
    } commands[] = {
        {"Reload of a file that has gone",
         [](TMainForm& form, const QString& file) {
             QFile::remove(file);
             Item(form, "FileReloadItem")->trigger();
         },
         "gone.txt"},
        {"Compare With a file that is not there",
         [this](TMainForm& form, const QString&) {
             dialogs_.openAnswers << folders_.files.filePath("absent.txt");
             Item(form, "FileCompareItem")->trigger();
         },
         "absent.txt"},
        {"a report that cannot be built",
         [this](TMainForm& form, const QString&) {
             Open(form, folders_.Write("bad card.txt", "start prov\nadd Shelf\nadd Shelf Card/x1\n"));
             Item(form, "miOverviewReport")->trigger();
         },
         "'x1' is not a valid integer value"},
    };
    for (const auto& command : commands) {
        dialogs_.Reset();
        TMainForm form;
        form.show();
        const QString file = folders_.Write("gone.txt", oryx::testing::kSampleNode);
        Open(form, file);
        command.fail(form, file);
        QVERIFY2(dialogs_.messages.size() == 1, command.name);
        QCOMPARE(dialogs_.messages[0].kind, MessageKind::Error);
        QCOMPARE(dialogs_.messages[0].caption, QString("Error"));
        QVERIFY2(dialogs_.messages[0].text.contains(command.error), qPrintable(dialogs_.messages[0].text));
        QCOMPARE(QApplication::overrideCursor(), nullptr);

        const int windows = form.DocumentCount();
        Open(form, node_);
        QCOMPARE(form.DocumentCount(), windows + 1);
        QCOMPARE(dialogs_.messages.size(), std::size_t(1));
    }
    QCOMPARE(oryx::shell::OryxApplication::UncaughtErrorCount(), 0);
}

void ShellTest::aboutBox() {
    TMainForm form;
    form.show();
    QString title;
    QStringList texts;
    bool okIsDefault = false, versionBold = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!box) return;
        title = box->windowTitle();
        for (QLabel* label : box->findChildren<QLabel*>()) {
            texts << label->text();
            if (label->text() == "Verson 1.4 (BETA)") versionBold = label->font().bold();
        }
        for (QPushButton* button : box->findChildren<QPushButton*>())
            if (button->text() == "OK") {
                okIsDefault = button->isDefault();
                button->click();
            }
    });
    Item(form, "HelpAboutItem")->trigger();  // returns once OK has closed the box
    QCOMPARE(title, QString("About..."));
    // The product name is the first line of its label.
    QVERIFY2(std::any_of(texts.begin(), texts.end(), [](const QString& t) { return t.split('\n').first() == "ORYX"; }),
             qPrintable(texts.join('|')));
    QVERIFY(versionBold);
    QVERIFY(okIsDefault);
}

ORYX_SHELL_TEST_MAIN(ShellTest)

#include "shell_test.moc"
