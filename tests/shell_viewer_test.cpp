// What users expect of a desktop viewer, on the main window driven headless:
// files opened from the command line and by dropping them, the View and
// Reports menus, Reload (F5), and the window's place kept between runs.
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

#include "doc/document/mdi_child.h"
#include "doc/refs/reference_navigator.h"
#include "doc/report/report_panel.h"
#include "doc/tree/tz_tree_view.h"
#include "prov/component_store.h"
#include "sample_node.h"
#include "settings/settings_folder.h"
#include "shell/application.h"
#include "shell/file_opener.h"
#include "shell/window_geometry.h"
#include "shell_test_support.h"

using namespace oryx;
using namespace shelltest;

namespace {

QStringList MenuTexts(const QList<QAction*>& actions) {
    QStringList texts;
    for (const QAction* action : actions) texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

QStringList TaskbarButtons(TMainForm& form) {
    QStringList captions;
    for (int n = 1; n <= 9; ++n)
        if (auto* button = form.findChild<QPushButton*>(QStringLiteral("MyButton%1").arg(n)))
            captions << button->text();
    return captions;
}

QString SelectedPath(const doc::TMDIChild& document) {
    const prov::ComponentNode* selected = document.Tree()->Selected();
    return selected ? QString::fromStdString(prov::GetFullPath(selected)) : QString();
}

qint32 StoredInteger(const char* name) {
    const settings::SettingValue value = SettingsStore().ReadValue(name, "");
    return value.IsInteger() ? value.AsInteger() : -12345;
}

}  // namespace

class ShellViewerTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        a_ = folders_.Write("a.txt", oryx::testing::kSampleNode);
        b_ = folders_.Write("b.txt", oryx::testing::kSampleNode);
    }

    void init() {
        dialogs_.Reset();
        folders_.ClearSettings();
        QFile::remove(TMainForm::ReportConfigFile());
    }

    void cleanup() {
        QFile::remove(TMainForm::ReportConfigFile());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    // ---- Open from anywhere ----

    void commandLineFiles_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("files");
        QTest::newRow("none") << QStringList{"oryx"} << QStringList{};
        QTest::newRow("relative and absolute") << QStringList{"oryx", "node.txt", "sub/../other.txt", "/data/x.txt"}
                                               << QStringList{"/home/u/node.txt", "/home/u/other.txt", "/data/x.txt"};
        QTest::newRow("after --") << QStringList{"oryx", "--", "-odd name.txt", "--"}
                                  << QStringList{"/home/u/-odd name.txt", "/home/u/--"};
        QTest::newRow("file URL and empty argument")
            << QStringList{"oryx", "file:///data/with%20space.txt", ""} << QStringList{"/data/with space.txt"};
    }

    void commandLineFiles() {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, files);
        QCOMPARE(shell::FileOpener::CommandLineFiles(arguments, QStringLiteral("/home/u")), files);
    }

    void filesOpenEachAsTheOpenCommandDoes() {
        TMainForm form;
        form.show();
        const QString missing = folders_.files.filePath("missing.txt");
        form.OpenFiles({a_, missing, b_});
        // The unreadable one shows the usual box; the others open, the last in front.
        QCOMPARE(dialogs_.messages.size(), std::size_t(1));
        QCOMPARE(dialogs_.messages[0].kind, MessageKind::Error);
        QCOMPARE(dialogs_.messages[0].caption, QStringLiteral("Error"));
        QVERIFY2(dialogs_.messages[0].text.contains("missing.txt"), qPrintable(dialogs_.messages[0].text));
        QCOMPARE(WindowNames(form), QStringList({"MDIChild1", "MDIChild2"}));
        QCOMPARE(form.ActiveDocumentWindow()->windowTitle(), b_);
        QCOMPARE(TaskbarButtons(form), QStringList({"a.txt", "b.txt"}));
        // Into the recent files as the Open dialog puts them (the last one first).
        emit Control<QMenu>(form, "File1")->aboutToShow();
        QCOMPARE(Item(form, "miMRU1")->data().toString(), b_);
        QCOMPARE(Item(form, "miMRU2")->data().toString(), missing);
        QCOMPARE(Item(form, "miMRU3")->data().toString(), a_);
        QCOMPARE(Item(form, "FileCloseItem")->isEnabled(), true);
    }

    void openDialogStillOpensOneFile() {
        TMainForm form;
        form.show();
        dialogs_.openAnswers << a_;
        Item(form, "FileOpenItem")->trigger();
        QCOMPARE(WindowNames(form), QStringList({"MDIChild1"}));
        dialogs_.openAnswers << folders_.files.filePath("missing.txt");
        Item(form, "OpenBtn")->trigger();
        QCOMPARE(dialogs_.messages.size(), std::size_t(1));
        QCOMPARE(TaskbarButtons(form), QStringList({"a.txt"}));
    }

    void droppedFilesOpen_data() {
        QTest::addColumn<QList<QUrl>>("urls");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("possible");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<QStringList>("windows");
        const QList<QUrl> files{QUrl::fromLocalFile(a_), QUrl::fromLocalFile(b_)};
        QTest::newRow("two files") << files << QString() << int(Qt::CopyAction | Qt::MoveAction) << true
                                   << QStringList({"MDIChild1", "MDIChild2"});
        QTest::newRow("link only") << files.mid(0, 1) << QString() << int(Qt::LinkAction) << true
                                   << QStringList({"MDIChild1"});
        // A move would let the file manager delete the file.
        QTest::newRow("move only") << files << QString() << int(Qt::MoveAction) << false << QStringList();
        QTest::newRow("text") << QList<QUrl>() << QStringLiteral("add Shelf") << int(Qt::CopyAction) << false
                              << QStringList();
        QTest::newRow("web address") << QList<QUrl>{QUrl("https://example.org/a.txt")} << QString()
                                     << int(Qt::CopyAction) << false << QStringList();
    }

    void droppedFilesOpen() {
        QFETCH(QList<QUrl>, urls);
        QFETCH(QString, text);
        QFETCH(int, possible);
        QFETCH(bool, taken);
        QFETCH(QStringList, windows);
        TMainForm form;
        form.show();
        QMimeData data;
        if (!urls.isEmpty()) data.setUrls(urls);
        if (!text.isEmpty()) data.setText(text);
        const QPoint centre = form.rect().center();
        const auto actions = Qt::DropActions(possible);

        QDragEnterEvent enter(centre, actions, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&form, &enter);
        QCOMPARE(enter.isAccepted(), taken);
        QDropEvent drop(QPointF(centre), actions, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&form, &drop);
        QCOMPARE(drop.isAccepted(), taken);
        if (taken) QVERIFY(drop.dropAction() == Qt::CopyAction || drop.dropAction() == Qt::LinkAction);
        QTRY_COMPARE(WindowNames(form), windows);
        if (!windows.isEmpty())
            QCOMPARE(form.ActiveDocumentWindow()->windowTitle(), urls[windows.size() - 1].toLocalFile());
        QVERIFY(dialogs_.messages.empty());
    }

    void dropsOnAnyPartReachTheMainWindow() {
        // A drop goes to the widget under the pointer or the nearest one
        // above it that takes drops: none of the parts may stand in between.
        TMainForm form;
        form.show();
        form.OpenFiles({a_});
        form.ActiveDocument()->ShowNodeSummaryReport();
        QStringList takingDrops;
        for (const QWidget* widget : form.findChildren<QWidget*>())
            if (widget->acceptDrops() && widget->window() == &form) takingDrops << widget->objectName();
        QVERIFY2(takingDrops.isEmpty(), qPrintable(takingDrops.join(", ")));
        QVERIFY(form.acceptDrops());
    }

    // ---- Keyboard access ----

    void menuBarHasViewAndReports() {
        TMainForm form;
        QCOMPARE(MenuTexts(form.menuBar()->actions()),
                 QStringList({"&File", "&Edit", "&View", "&Reports", "&Window", "&Help"}));
        QCOMPARE(MenuTexts(Control<QMenu>(form, "File1")->actions()).mid(0, 7),
                 QStringList({"&Open", "Compare &With...", "&Close", "&Reload", "&Save", "&Print", "-"}));
        QCOMPARE(Item(form, "FileReloadItem")->shortcut(), QKeySequence(Qt::Key_F5));
        QCOMPARE(MenuTexts(Control<QMenu>(form, "View1")->actions()),
                 QStringList({"&Expand All", "&Collapse All", "-", "&Back", "&Forward"}));
        // The toolbar keeps its own texts and hints.
        QCOMPARE(Item(form, "btnExpand")->text(), QStringLiteral("Expand All"));
        QCOMPARE(Item(form, "btnCollapse")->toolTip(), QStringLiteral("Collapse All"));
        // The Reports menu holds the very items of the toolbar's drop-down.
        QCOMPARE(Control<QMenu>(form, "Reports1")->actions(), Control<QMenu>(form, "popReportMenu")->actions());
        QCOMPARE(
            MenuTexts(Control<QMenu>(form, "Reports1")->actions()),
            QStringList({"AtmIf Report", "AtmIf Vcc Report", "FrAtm Report", "FrAtm Dlci Report", "FrUni Dlci Report",
                         "Node Summary", "Halyard Overview Report", "Virtual Router", "-", "-", "&Problems"}));
        QVERIFY(!Item(form, "miReportMenuSeparator")->isVisible());
    }

    void reportsMenuHasTheCustomReportsToo() {
        QFile config(TMainForm::ReportConfigFile());
        QVERIFY(config.open(QIODevice::WriteOnly));
        // In menu order (by name), a "&" shown as itself.
        config.write("[Cards]\nOne=Shelf Card/1 &cardtype\n[A & B]\nTwo=Lp/0 &mainCard\n");
        config.close();
        TMainForm form;
        const QList<QAction*> items = Control<QMenu>(form, "Reports1")->actions();
        QCOMPARE(items, Control<QMenu>(form, "popReportMenu")->actions());
        QCOMPARE(MenuTexts(items).mid(8), QStringList({"-", "A && B", "Cards", "-", "&Problems"}));
        QVERIFY(Item(form, "miReportMenuSeparator")->isVisible());
    }

    void newCommandsNeedAWindow() {
        TMainForm form;
        form.show();
        const auto expectEnabled = [&](bool enabled) {
            for (const char* name : {"FileReloadItem", "ViewExpandAllItem", "ViewCollapseAllItem"})
                QVERIFY2(Item(form, name)->isEnabled() == enabled, name);
            QCOMPARE(Control<QMenu>(form, "Reports1")->menuAction()->isEnabled(), enabled);
            QVERIFY(!Item(form, "FilePrintItem")->isEnabled());
        };
        expectEnabled(false);
        form.OpenFiles({a_});
        expectEnabled(true);
        Item(form, "FileCloseItem")->trigger();
        QTRY_COMPARE(form.DocumentCount(), 0);
        QTRY_VERIFY(!Item(form, "FileReloadItem")->isEnabled());
        expectEnabled(false);
    }

    void backAndForwardFollowTheActiveWindowsHistory() {
        TMainForm form;
        form.show();
        form.OpenFiles({a_});
        doc::TMDIChild& document = *form.ActiveDocument();
        const auto selected = [&document] {
            const auto* node = document.Tree()->Selected();
            return node ? QString::fromStdString(prov::ComponentPath(*node)) : QString();
        };
        const auto expectEnabled = [&](bool back, bool forward) {
            for (const char* name : {"ViewBackItem", "btnBack"}) QVERIFY2(Item(form, name)->isEnabled() == back, name);
            for (const char* name : {"ViewForwardItem", "btnForward"})
                QVERIFY2(Item(form, name)->isEnabled() == forward, name);
        };
        expectEnabled(false, false);
        document.Tree()->Select(prov::FindComponent(document.Store().AddNode(), "Lp/0"));
        document.Navigator()->FollowRow(0);  // mainCard=Shelf Card/0
        QCOMPARE(selected(), QStringLiteral("Shelf Card/0"));
        expectEnabled(true, false);
        Item(form, "btnBack")->trigger();
        QCOMPARE(selected(), QStringLiteral("Lp/0"));
        expectEnabled(false, true);
        Item(form, "ViewForwardItem")->trigger();
        QCOMPARE(selected(), QStringLiteral("Shelf Card/0"));
        expectEnabled(true, false);
    }

    void viewAndReportsMenusActOnTheActiveWindow() {
        TMainForm form;
        form.show();
        form.OpenFiles({a_, b_});
        doc::TMDIChild* active = form.ActiveDocument();
        const auto rows = [](const doc::TMDIChild& document) { return document.Tree()->model()->rowCount(); };
        const int collapsed = rows(*active);
        Item(form, "ViewExpandAllItem")->trigger();
        QVERIFY(rows(*active) > collapsed);
        Item(form, "ViewCollapseAllItem")->trigger();
        QCOMPARE(rows(*active), collapsed);

        QAction* nodeSummary = Control<QMenu>(form, "Reports1")->actions().at(5);
        nodeSummary->trigger();
        QCOMPARE(active->CurrentReportNumber(), 7);
        QCOMPARE(CheckedReportItems(form), QStringList{"miCommonReport"});
        QCOMPARE(form.findChild<QMdiSubWindow*>("MDIChild1")->widget()->findChild<doc::ReportPanel*>()->isVisible(),
                 false);
    }

    // ---- Reload ----

    void reloadReadsTheActiveFileAgain() {
        const QString path = folders_.Write("reload.txt", oryx::testing::kSampleNode);
        TMainForm form;
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.OpenFiles({path});
        doc::TMDIChild* document = form.ActiveDocument();
        document->Tree()->Select(prov::FindComponent(&document->Store().Root(), "add Shelf Card/1"));
        folders_.Write("reload.txt", QByteArray(oryx::testing::kSampleNode) + "add Shelf Card/2\n");

        QTest::keyClick(&form, Qt::Key_F5);
        QCOMPARE(form.ActiveDocument(), document);  // the same window
        QCOMPARE(form.DocumentCount(), 1);
        QVERIFY(prov::FindComponent(&document->Store().Root(), "add Shelf Card/2"));
        QCOMPARE(SelectedPath(*document), QStringLiteral("add Shelf Card/1"));
        QVERIFY(dialogs_.messages.empty());

        // A file that has gone: the usual error box, the window as it was.
        QVERIFY(QFile::remove(path));
        QTest::keyClick(&form, Qt::Key_F5);
        QCOMPARE(dialogs_.messages.size(), std::size_t(1));
        QCOMPARE(dialogs_.messages[0].kind, MessageKind::Error);
        QCOMPARE(dialogs_.messages[0].caption, QStringLiteral("Error"));
        QVERIFY(prov::FindComponent(&document->Store().Root(), "add Shelf Card/2"));
        QCOMPARE(SelectedPath(*document), QStringLiteral("add Shelf Card/1"));
        QCOMPARE(form.ActiveDocumentWindow()->windowTitle(), path);
    }

    // ---- The window's place ----

    void firstRunIsMostOfTheScreenCentred() {
        TMainForm form;
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(form.geometry(), shell::FirstRunGeometry(available));
        QCOMPARE(shell::FirstRunGeometry(QRect(0, 0, 1000, 800)), QRect(100, 80, 800, 640));
        QCOMPARE(shell::FirstRunGeometry(QRect(1920, 30, 1280, 1000)), QRect(2048, 130, 1024, 800));
    }

    void placeKeptBetweenRuns() {
        const QRect place(40, 30, 500, 400);
        {
            TMainForm form;
            form.setGeometry(place);
            form.show();
            QVERIFY(QTest::qWaitForWindowExposed(&form));
            form.close();
        }
        QCOMPARE(StoredInteger("Window Left"), 40);
        QCOMPARE(StoredInteger("Window Top"), 30);
        QCOMPARE(StoredInteger("Window Width"), 500);
        QCOMPARE(StoredInteger("Window Height"), 400);
        QCOMPARE(StoredInteger("Window Maximized"), 0);
        TMainForm again;
        QCOMPARE(again.geometry(), place);
        again.show();
        QVERIFY(!again.isMaximized());
    }

    void maximizedKeptWithItsNormalPlace() {
        const QRect place(50, 40, 420, 300);
        {
            TMainForm form;
            form.setGeometry(place);
            form.show();
            QVERIFY(QTest::qWaitForWindowExposed(&form));
            form.showMaximized();
            QTRY_VERIFY(form.isMaximized());
            form.close();
        }
        QCOMPARE(StoredInteger("Window Maximized"), 1);
        QCOMPARE(StoredInteger("Window Width"), 420);
        TMainForm again;
        again.show();
        QTRY_VERIFY(again.isMaximized());
        QCOMPARE(again.normalGeometry(), place);
        // The document windows' own "Maximized" is not touched without a document.
        QVERIFY(SettingsStore().ReadValue("Maximized", "").IsString());
    }

    // A menu's hint leaves the status bar when the menu closes.
    void menuHintGoesWhenTheMenuCloses_data() {
        QTest::addColumn<QString>("menu");
        QTest::newRow("File") << "File1";
        QTest::newRow("Help") << "Help1";
    }

    void menuHintGoesWhenTheMenuCloses() {
        QFETCH(QString, menu);
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto* popup = form.findChild<QMenu*>(menu);
        QVERIFY(popup);
        popup->popup(form.mapToGlobal(QPoint(10, 10)));
        QVERIFY(QTest::qWaitForWindowExposed(popup));
        popup->menuAction()->showStatusText(&form);
        QVERIFY(!form.statusBar()->currentMessage().isEmpty());
        popup->hide();
        QCOMPARE(form.statusBar()->currentMessage(), QString());
    }

    void placeOnScreens_data() {
        QTest::addColumn<QRect>("stored");
        QTest::addColumn<QRect>("placed");
        QTest::newRow("on the first screen") << QRect(10, 10, 300, 200) << QRect(10, 10, 300, 200);
        QTest::newRow("on the second screen") << QRect(1300, 50, 300, 200) << QRect(1300, 50, 300, 200);
        QTest::newRow("larger than its screen") << QRect(1300, 50, 3000, 2000) << QRect(1280, 0, 1024, 768);
        QTest::newRow("partly off the right edge") << QRect(2200, 100, 300, 200) << QRect(2004, 100, 300, 200);
        QTest::newRow("off the right and the bottom") << QRect(1100, 900, 300, 200) << QRect(980, 800, 300, 200);
        QTest::newRow("fitted to the screen, not placed") << QRect(120, 80, 1280, 1000) << QRect(0, 0, 1280, 1000);
        QTest::newRow("title out of reach") << QRect(2250, 100, 300, 200) << QRect();
        QTest::newRow("above every screen") << QRect(10, -300, 300, 200) << QRect();
        QTest::newRow("screen gone") << QRect(5000, 5000, 300, 200) << QRect();
    }

    void placeOnScreens() {
        QFETCH(QRect, stored);
        QFETCH(QRect, placed);
        const QList<QRect> screens{QRect(0, 0, 1280, 1000), QRect(1280, 0, 1024, 768)};
        QCOMPARE(shell::PlaceOnScreens(stored, screens), placed);
    }

    void unusableStoredPlaceGivesTheFirstRunPlace() {
        for (const auto& [name, value] : {std::pair{"Window Left", 5000}, std::pair{"Window Top", 5000},
                                          std::pair{"Window Width", 300}, std::pair{"Window Height", 200}})
            SettingsStore().WriteValue(name, value);
        TMainForm form;
        QCOMPARE(form.geometry(), shell::FirstRunGeometry(QGuiApplication::primaryScreen()->availableGeometry()));
        SettingsStore().WriteValue("Window Left", 10);
        SettingsStore().WriteValue("Window Top", "x");
        TMainForm again;
        QCOMPARE(again.geometry(), shell::FirstRunGeometry(QGuiApplication::primaryScreen()->availableGeometry()));
    }

private:
    TestFolders folders_;
    FakeDialogs dialogs_;
    QString a_;
    QString b_;
};

ORYX_SHELL_TEST_MAIN(ShellViewerTest)
#include "shell_viewer_test.moc"
