// The main window's parts, each driven on its own without a main window: the
// report menu, the taskbar, the recent-files list, the Window menu and the
// settings they keep.
#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <set>
#include <stdexcept>

#include "settings/settings_folder.h"
#include "shell/app_settings.h"
#include "shell/options_form.h"
#include "shell/recent_file_list.h"
#include "shell/report_menu.h"
#include "shell/taskbar.h"
#include "shell/window_menu.h"
#include "shell_test_support.h"

Q_DECLARE_METATYPE(oryx::settings::SettingValue)

using namespace oryx;
using namespace shelltest;
using oryx::settings::SettingValue;

namespace {

QStringList Captions(const QMenu& menu) {
    QStringList captions;
    for (const QAction* item : menu.actions())
        if (item->isVisible())
            captions << (item->isSeparator() ? QStringLiteral("-") : item->text() + (item->isChecked() ? "*" : ""));
    return captions;
}

// "MyButton2 77+75 pressed": name, left, width and state of each taskbar button.
QStringList Buttons(const shell::Taskbar& taskbar) {
    QStringList buttons;
    for (const QPushButton* button : taskbar.findChildren<QPushButton*>())
        buttons << QStringLiteral("%1 %2+%3%4")
                       .arg(button->objectName())
                       .arg(button->x())
                       .arg(button->width())
                       .arg(button->isChecked() ? " pressed" : "");
    return buttons;
}

SettingValue Stored(const char* name) { return SettingsStore().ReadValue(name, SettingValue()); }

}  // namespace

class ShellPartsTest final : public QObject {
    Q_OBJECT

private slots:
    void init() {
        dialogs_.Reset();
        folders_.ClearSettings();
    }

    void reportMenuItemsRunTheirReports() {
        QWidget window;
        std::vector<reports::ReportId> fixedRuns;
        QStringList customRuns;
        shell::ReportMenu menu(
            &window, [&](reports::ReportId id) { fixedRuns.push_back(id); },
            [&](const QString& section) { customRuns << section; });
        // Each item before the separator runs its own report.
        for (QAction* item : menu.Menu()->actions()) {
            if (item->isSeparator()) break;
            QVERIFY(item->isCheckable());
            item->trigger();
            QCOMPARE(menu.Item(fixedRuns.back()), item);
        }
        QCOMPARE(std::set<reports::ReportId>(fixedRuns.begin(), fixedRuns.end()).size(), reports::kFixedReportCount);
        QVERIFY(customRuns.isEmpty());
    }

    void reportMenuMarksFollowReports() {
        QWidget window;
        shell::ReportMenu menu(
            &window, [](reports::ReportId) {}, [](const QString&) {});
        menu.SetChecked(reports::ReportId::AtmIfVcc, true);
        menu.SetChecked(reports::ReportId::NodeSummary, true);
        QCOMPARE(Captions(*menu.Menu()).filter("*"), QStringList({"AtmIf Vcc Report*", "Node Summary*"}));
        menu.SetChecked(reports::ReportId::AtmIfVcc, false);
        QCOMPARE(Captions(*menu.Menu()).filter("*"), QStringList({"Node Summary*"}));
        menu.ClearChecks();
        QCOMPARE(Captions(*menu.Menu()).filter("*"), QStringList());
    }

    void reportMenuCustomReports_data() {
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<QStringList>("sections");
        QTest::newRow("no file") << QByteArray() << QStringList() << QStringList();
        QTest::newRow("no sections") << QByteArray("; nothing\n") << QStringList() << QStringList();
        QTest::newRow("sections in menu order")
            << QByteArray("[b]\nx=Shelf &a\n[R&D]\ny=Shelf &b\n[A]\n") << QStringList({"-", "A", "b", "R&&D"})
            << QStringList({"A", "b", "R&D"});
    }

    void reportMenuCustomReports() {
        QFETCH(QByteArray, config);
        QFETCH(QStringList, after);
        QFETCH(QStringList, sections);
        const QString file = folders_.files.filePath("reports.cfg");
        QFile::remove(file);
        if (!config.isNull()) {
            QFile out(file);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(config);
        }
        QWidget window;
        QStringList runs;
        shell::ReportMenu menu(
            &window, [](reports::ReportId) {}, [&](const QString& section) { runs << section; });
        menu.AddCustomReports(file);
        // The custom reports come before "&Problems".
        QCOMPARE(Captions(*menu.Menu()).mid(int(reports::kFixedReportCount)), after + QStringList({"-", "&Problems"}));
        for (QAction* item : menu.Menu()->actions().mid(int(reports::kFixedReportCount) + 1)) item->trigger();
        QCOMPARE(runs, sections);
    }

    void taskbarPlacesNamesAndTakesBackButtons() {
        QWidget window;
        shell::Taskbar taskbar(&window);
        QSignalSpy requests(&taskbar, &shell::Taskbar::windowRequested);
        QCOMPARE(shell::Taskbar::WindowName(3), QString("MDIChild3"));

        QPushButton* first = taskbar.AddButton("a.txt", "/files/a.txt", 1);
        taskbar.AddButton("b.txt", "/files/b.txt", 2);
        QCOMPARE(Buttons(taskbar), QStringList({"MyButton1 1+0", "MyButton2 2+0 pressed"}));

        // A failed open takes its button back and presses the one before it.
        QPushButton* failed = taskbar.AddButton("c.txt", "/files/c.txt", 3);
        taskbar.DiscardButton(failed, first);
        QCOMPARE(Buttons(taskbar), QStringList({"MyButton1 1+0 pressed", "MyButton2 2+0"}));
        QCOMPARE(taskbar.PressedButton(), first);

        taskbar.findChild<QPushButton*>("MyButton2")->click();
        QCOMPARE(requests.size(), 1);
        QCOMPARE(requests.at(0).at(0).toString(), QString("MDIChild2"));

        QVERIFY(taskbar.RemoveButton("MDIChild1"));
        QCOMPARE(Buttons(taskbar), QStringList({"MyButton2 1+0 pressed"}));
        QVERIFY(!taskbar.RemoveButton("MDIChild1"));
    }

    void taskbarAppliesAndStoresOptions_data() {
        QTest::addColumn<bool>("view");
        QTest::addColumn<QString>("width");
        QTest::addColumn<bool>("valid");
        QTest::newRow("shown, 90 wide") << true << "90" << true;
        QTest::newRow("hidden, 0 wide") << false << "0" << true;
        QTest::newRow("no width") << true << "" << false;
    }

    void rulesFileFromOptionsOrBesideTheSettings_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<bool>("besideSettings");
        QTest::addColumn<bool>("choiceUsed");
        QTest::newRow("none") << QString() << false << false;
        QTest::newRow("default beside the settings") << QString() << true << false;
        QTest::newRow("chosen wins") << QStringLiteral("/rules/fleet.yaml") << true << true;
    }

    void rulesFileFromOptionsOrBesideTheSettings() {
        QFETCH(QString, chosen);
        QFETCH(bool, besideSettings);
        QFETCH(bool, choiceUsed);
        const QString beside = QDir(folders_.settings.path()).filePath(QStringLiteral("ORYX Rules.yaml"));
        if (besideSettings) {
            QFile file(beside);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QWidget window;
        shell::TOptionsForm options(true, 75, &window);
        options.RulesFileEdit()->setText(chosen);
        {
            shell::AppSettings settings;
            settings.StoreRulesFile(options.RulesFile());
            QVERIFY(!settings.TakeWriteFailure());
        }
        shell::AppSettings settings;
        QCOMPARE(settings.RulesFile(), chosen);
        QCOMPARE(settings.EffectiveRulesFile(), choiceUsed ? chosen : besideSettings ? beside : QString());
    }

    void taskbarAppliesAndStoresOptions() {
        QFETCH(bool, view);
        QFETCH(QString, width);
        QFETCH(bool, valid);
        QWidget window;
        window.show();
        shell::Taskbar taskbar(&window);
        shell::AppSettings settings;
        shell::TOptionsForm options(!view, 75, &window);
        taskbar.ApplyOptions(options, settings);
        taskbar.AddButton("a.txt", "/files/a.txt", 1);
        Control<QCheckBox>(options, "chkViewTaskbar")->setChecked(view);
        Control<QLineEdit>(options, "edButtonWidth")->setText(width);
        if (!valid) {
            QVERIFY_THROWS_EXCEPTION(std::invalid_argument, taskbar.ApplyOptions(options, settings));
            // The choice made before the bad width is stored; nothing else changes.
            QCOMPARE(Stored("View Taskbar"), SettingValue(view ? 1 : 0));
            QCOMPARE(Stored("Button Width"), SettingValue(75));
            QCOMPARE(Buttons(taskbar), QStringList({"MyButton1 1+75 pressed"}));
            return;
        }
        taskbar.ApplyOptions(options, settings);
        QCOMPARE(Stored("View Taskbar"), SettingValue(view ? 1 : 0));
        QCOMPARE(Stored("Button Width"), SettingValue(width.toInt()));
        QCOMPARE(taskbar.isVisible(), view);
        QCOMPARE(Buttons(taskbar), QStringList({QStringLiteral("MyButton1 1+%1 pressed").arg(width)}));
    }

    void settingsReadTheirDefaultsAndStoredValues_data() {
        QTest::addColumn<SettingValue>("maximized");
        QTest::addColumn<SettingValue>("view");
        QTest::addColumn<SettingValue>("width");
        QTest::addColumn<bool>("expectedMaximized");
        QTest::addColumn<bool>("expectedView");
        QTest::addColumn<int>("expectedWidth");
        QTest::newRow("nothing stored") << SettingValue() << SettingValue() << SettingValue() << false << true << 75;
        QTest::newRow("stored numbers") << SettingValue(1) << SettingValue(0) << SettingValue(120) << true << false
                                        << 120;
        QTest::newRow("numbers as text") << SettingValue("1") << SettingValue("0") << SettingValue("90") << false
                                         << false << 90;
        QTest::newRow("unreadable") << SettingValue(2) << SettingValue("no") << SettingValue(-3) << false << true << 75;
    }

    void settingsReadTheirDefaultsAndStoredValues() {
        QFETCH(SettingValue, maximized);
        QFETCH(SettingValue, view);
        QFETCH(SettingValue, width);
        QFETCH(bool, expectedMaximized);
        QFETCH(bool, expectedView);
        QFETCH(int, expectedWidth);
        SettingsStore().WriteValue("Maximized", maximized);
        SettingsStore().WriteValue("View Taskbar", view);
        SettingsStore().WriteValue("Button Width", width);
        shell::AppSettings settings;
        QCOMPARE(settings.OpenDocumentsMaximized(), expectedMaximized);
        QCOMPARE(settings.ViewTaskbar(), expectedView);
        QCOMPARE(settings.ButtonWidth(), expectedWidth);
    }

    void recentFilesRememberLoadAndSave() {
        SettingsStore().WriteValue("MRU1", "/files/A.txt");
        SettingsStore().WriteValue("MRU2", "");
        SettingsStore().WriteValue("MRU3", "/files/a.TXT");
        SettingsStore().WriteValue("MRU4", 42);
        SettingsStore().WriteValue("MRU13", "/files/last.txt");
        QWidget window;
        shell::AppSettings settings;
        shell::RecentFileList list(settings, &window, [](const QString&) {});
        list.Load();
        QCOMPARE(list.Paths(), QStringList({"/files/A.txt", "42", "/files/last.txt"}));
        QCOMPARE(list.OpenDialogFolder(), QString("/files"));

        list.Remember("/other/b.txt");
        list.Remember("/FILES/LAST.TXT");  // listed already, whatever the case
        QCOMPARE(list.Paths(), QStringList({"/other/b.txt", "/files/A.txt", "42", "/files/last.txt"}));
        QCOMPARE(list.OpenDialogFolder(), QString("/other"));
        for (int i = 0; i < 20; ++i) list.Remember(QStringLiteral("/many/%1.txt").arg(i));
        QCOMPARE(list.Paths().size(), 13);
        QCOMPARE(list.Paths().first(), QString("/many/19.txt"));

        list.Save();
        QCOMPARE(Stored("MRU1"), SettingValue("/many/19.txt"));
        QCOMPARE(Stored("MRU13"), SettingValue("/many/7.txt"));
        list.Clear();
        list.Save();
        // Slots beyond the list are emptied, so dropped entries stay dropped.
        QCOMPARE(Stored("MRU1"), SettingValue(""));
        QCOMPARE(Stored("MRU13"), SettingValue(""));
    }

    void recentFileItemsOpenOrDropTheirFile() {
        const QString present = folders_.files.filePath("R&D.txt");
        QFile file(present);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const QString gone = folders_.files.filePath("gone.txt");
        QWidget window;
        shell::AppSettings settings;
        QStringList opened;
        shell::RecentFileList list(settings, &window, [&](const QString& path) { opened << path; });
        list.Remember(present);
        list.Remember(gone);
        list.RefreshItems();
        QCOMPARE(list.MenuItems().size(), std::size_t(13));
        QCOMPARE(list.MenuItems()[0]->objectName(), QString("miMRU1"));
        QCOMPARE(list.PopupMenu()->objectName(), QString("MRUPopup"));
        QCOMPARE(Captions(*list.PopupMenu()), QStringList({gone, QString(present).replace("&", "&&")}));

        list.MenuItems()[1]->trigger();
        QCOMPARE(opened, QStringList{present});
        QCOMPARE(list.Paths(), QStringList({present, gone}));
        QCOMPARE(list.OpenDialogFolder(), folders_.files.path());

        list.RefreshItems();
        list.PopupMenu()->actions()[1]->trigger();
        QCOMPARE(opened, QStringList{present});
        QCOMPARE(dialogs_.messages.size(), std::size_t(1));
        QCOMPARE(dialogs_.messages[0].text, "Error opening file:\n" + gone + "\nFile Not Found!");
        QCOMPARE(list.Paths(), QStringList{present});
        QCOMPARE(Captions(*list.PopupMenu()), QStringList{QString(present).replace("&", "&&")});
    }

    void vanishedRecentFileNamedCleanly() {
        QWidget window;
        shell::AppSettings settings;
        shell::RecentFileList list(settings, &window, [](const QString&) {});
        list.Remember("/gone/a\nb\x1b[2J.txt");
        list.RefreshItems();
        list.MenuItems()[0]->trigger();
        QCOMPARE(dialogs_.messages.size(), std::size_t(1));
        QCOMPARE(dialogs_.messages[0].text, QString("Error opening file:\n/gone/a\\x0Ab\\x1B[2J.txt\nFile Not Found!"));
    }

    void windowMenuListsAndActivatesWindows() {
        QMainWindow window;
        auto* area = new QMdiArea(&window);
        window.setCentralWidget(area);
        window.show();
        shell::WindowMenu menu(window.menuBar()->addMenu("&Window"), *area,
                               [area] { return area->currentSubWindow(); });
        QCOMPARE(Captions(*window.findChild<QMenu*>("Window1")),
                 QStringList({"&Cascade", "&Tile", "&Arrange Icons", "&Minimize All"}));
        QList<QMdiSubWindow*> windows;
        for (int i = 1; i <= 10; ++i) {
            windows << area->addSubWindow(new QWidget);
            windows.back()->setWindowTitle(QStringLiteral("/files/n%1.txt").arg(i));
            windows.back()->show();
        }
        area->setActiveSubWindow(windows[2]);
        menu.Rebuild();
        const QStringList captions = Captions(*window.findChild<QMenu*>("Window1"));
        QCOMPARE(captions.mid(4, 4), QStringList({"-", "&1 /files/n1.txt", "&2 /files/n2.txt", "&3 /files/n3.txt*"}));
        QCOMPARE(captions.last(), QString("10 /files/n10.txt"));
        window.findChild<QMenu*>("Window1")->actions().last()->trigger();
        QCOMPARE(area->currentSubWindow(), windows.last());
        QCOMPARE(menu.ArrangeItems().size(), std::size_t(4));
    }

private:
    TestFolders folders_;
    FakeDialogs dialogs_;
};

ORYX_SHELL_TEST_MAIN(ShellPartsTest)
#include "shell_parts_test.moc"
