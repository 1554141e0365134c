// Desktop behaviour of the main window as a user meets it: the active
// window across dialogs and popups, window sizes, captions while loading,
// tree lines, and minimised windows.
#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QTreeView>
#include <QtTest>

#include "doc/document/mdi_child.h"
#include "doc/report/report_panel.h"
#include "doc/tree/tz_tree_view.h"
#include "sample_node.h"
#include "settings/settings_folder.h"
#include "shell/options_form.h"
#include "shell_test_support.h"

using namespace oryx;
using namespace shelltest;

namespace {

// A real modal dialog that closes itself, as the save dialog does when the
// user cancels: the main window loses the activation and gets it back.
void RunModalDialog(QWidget* parent) {
    QDialog dialog(parent);
    QTimer::singleShot(50, &dialog, &QDialog::reject);
    dialog.exec();
}

// Records the captions document windows show: when they appear and as they change.
class TitleRecorder final : public QObject {
public:
    TitleRecorder() { qApp->installEventFilter(this); }
    ~TitleRecorder() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* window = qobject_cast<QMdiSubWindow*>(watched);
        const bool seen = event->type() == QEvent::Show ||
                          (event->type() == QEvent::WindowTitleChange && window && window->isVisible());
        if (window && seen && (shown.isEmpty() || shown.last() != window->windowTitle()))
            shown << window->windowTitle();
        return false;
    }
    QStringList shown;
};

}  // namespace

class ShellDesktopTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        for (const char* name : {"a.txt", "b.txt"}) folders_.Write(name, oryx::testing::kSampleNode);
    }

    void init() {
        dialogs_.Reset();
        folders_.ClearSettings();
    }

    void activeWindowStaysAfterDialogs() {
        TMainForm form;
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.OpenWithTaskbarButton(folders_.files.filePath("a.txt"));
        form.OpenWithTaskbarButton(folders_.files.filePath("b.txt"));
        form.ActiveDocument()->Tree()->setFocus();
        QCOMPARE(form.ActiveDocumentWindow()->objectName(), QString("MDIChild2"));
        QTest::mouseClick(form.findChild<QWidget*>("Taskbar")->findChild<QPushButton*>("MyButton1"), Qt::LeftButton);
        QCOMPARE(form.ActiveDocumentWindow()->objectName(), QString("MDIChild1"));
        // The report through the toolbar's drop-down.
        auto* reportMenu = form.findChild<QMenu*>("popReportMenu");
        reportMenu->popup(form.mapToGlobal(QPoint(10, 10)));
        QTest::qWait(50);
        Item(form, "miVCCAtmIfReport")->trigger();
        reportMenu->hide();
        QTest::qWait(50);
        QCOMPARE(form.ActiveDocumentWindow()->objectName(), QString("MDIChild1"));
        QVERIFY(form.ActiveDocument()->IsReportListVisible(oryx::reports::ReportId::AtmIfVcc));
        // Export to CSV from the list's popup menu, cancelled in a real dialog.
        QTreeView* list = form.ActiveDocument()->Reports()->ListView(oryx::reports::ReportId::AtmIfVcc);
        auto* exportMenu = form.ActiveDocument()->findChild<QMenu*>("popExportToCSV");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(list->hasFocus());
        emit list->customContextMenuRequested(QPoint(5, 5));
        QTest::qWait(50);
        QVERIFY(exportMenu->isVisible());
        exportMenu->actions().first()->trigger();
        exportMenu->hide();
        RunModalDialog(form.ActiveDocument());
        QTest::qWait(50);
        QCOMPARE(form.ActiveDocumentWindow()->objectName(), QString("MDIChild1"));
        // The report again, to close it.
        reportMenu->popup(form.mapToGlobal(QPoint(10, 10)));
        QTest::qWait(50);
        Item(form, "miVCCAtmIfReport")->trigger();
        reportMenu->hide();
        QTest::qWait(50);
        QCOMPARE(form.ActiveDocumentWindow()->objectName(), QString("MDIChild1"));
        QVERIFY(!form.findChild<QMdiSubWindow*>("MDIChild1")->widget()->findChild<QWidget*>("pnlReport")->isVisible());
        // The focus went with the list, but stays in the same document window,
        // so that window stays the active one when the main window is activated again.
        QWidget* focus = form.focusWidget();
        QVERIFY(focus && focus->isVisible());
        QVERIFY(form.findChild<QMdiSubWindow*>("MDIChild1")->isAncestorOf(focus));
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QCOMPARE(form.ActiveDocumentWindow()->objectName(), QString("MDIChild1"));
    }

    void documentWindowOpensAtItsOwnSize_data() {
        QTest::addColumn<QSize>("mainWindow");
        QTest::newRow("room enough") << QSize(1280, 800);
        QTest::newRow("small main window") << QSize(468, 305);
    }

    void documentWindowOpensAtItsOwnSize() {
        QFETCH(QSize, mainWindow);
        TMainForm form;
        form.resize(mainWindow);
        form.show();
        form.OpenWithTaskbarButton(folders_.files.filePath("a.txt"));
        const QSize area = form.findChild<QMdiArea*>()->viewport()->size();
        QCOMPARE(form.ActiveDocumentWindow()->size(), QSize(783, 514).boundedTo(area));
    }

    // Each new window opens at the next cascade position, wholly inside the
    // area: down and right by a title bar, back to the top left when the next
    // step would leave the area.
    void newWindowsCascadeInsideTheArea_data() {
        QTest::addColumn<QSize>("mainWindow");
        QTest::addColumn<int>("windows");
        QTest::newRow("three, room enough") << QSize(1280, 800) << 3;
        QTest::newRow("six, little room") << QSize(900, 640) << 6;
        QTest::newRow("small main window") << QSize(468, 305) << 3;
    }

    void newWindowsCascadeInsideTheArea() {
        QFETCH(QSize, mainWindow);
        QFETCH(int, windows);
        TMainForm form;
        form.resize(mainWindow);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto* area = form.findChild<QMdiArea*>();
        int previous = -1;
        for (int i = 0; i < windows; ++i) {
            form.OpenWithTaskbarButton(folders_.files.filePath(i % 2 ? "b.txt" : "a.txt"));
            QMdiSubWindow* window = form.ActiveDocumentWindow();
            const QString what = QStringLiteral("window %1 at %2,%3").arg(i + 1).arg(window->x()).arg(window->y());
            QVERIFY2(area->viewport()->rect().contains(window->geometry()), qPrintable(what));
            QCOMPARE(window->x(), window->y());
            const int step = window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
            QVERIFY2(window->x() == previous + step || window->x() == 0, qPrintable(what));
            if (i > 0 && window->x() == 0)  // wrapped: one more step would not have fitted
                QVERIFY2(
                    !area->viewport()->rect().contains(window->geometry().translated(previous + step, previous + step)),
                    qPrintable(what));
            previous = window->x();
        }
    }

    void optionsTextsShowWhole_data() {
        QTest::addColumn<int>("pointSize");
        QTest::newRow("system font") << 0;
        QTest::newRow("larger font") << 16;
    }

    void optionsTextsShowWhole() {
        QFETCH(int, pointSize);
        const QFont original = QApplication::font();
        if (pointSize > 0) {
            QFont larger = original;
            larger.setPointSize(pointSize);
            QApplication::setFont(larger);
        }
        TMainForm form;
        form.show();
        auto* options = form.findChild<oryx::shell::TOptionsForm*>();
        options->show();
        QVERIFY(QTest::qWaitForWindowExposed(options));
        for (QWidget* control : options->findChildren<QWidget*>()) {
            const QString text = control->property("text").toString();
            if (text.isEmpty() || !(qobject_cast<QLabel*>(control) || qobject_cast<QAbstractButton*>(control)))
                continue;
            QVERIFY2(control->width() >= control->sizeHint().width(), qPrintable(text));
            QVERIFY2(options->rect().contains(control->geometry()), qPrintable(text));
        }
        options->hide();
        QApplication::setFont(original);
    }

    void pleaseWaitShowsWhileTheFileIsRead() {
        TitleRecorder titles;
        TMainForm form;
        form.show();
        const QString path = folders_.files.filePath("a.txt");
        form.OpenWithTaskbarButton(path);
        QCOMPARE(titles.shown, QStringList({"Please Wait...Building Tree Structure", path}));

        // A file that cannot be read leaves neither window nor button.
        titles.shown.clear();
        QVERIFY_THROWS_EXCEPTION(std::exception, form.OpenWithTaskbarButton(folders_.files.filePath("missing.txt")));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(titles.shown, QStringList{"Please Wait...Building Tree Structure"});
        QCOMPARE(form.findChild<QMdiArea*>()->subWindowList().size(), 1);
        QCOMPARE(form.findChild<QWidget*>("Taskbar")->findChildren<QPushButton*>().size(), 1);
        QCOMPARE(form.ActiveDocumentWindow()->objectName(), QString("MDIChild1"));
    }

    void treeDrawsItsLines() {
        TMainForm form;
        form.resize(1280, 800);
        form.show();
        form.OpenWithTaskbarButton(folders_.files.filePath("a.txt"));
        QTreeView* tree = form.ActiveDocument()->Tree();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QImage picture = tree->viewport()->grab().toImage();
        // Between the first two top-level items, in the middle of their branch column.
        const QRect first = tree->visualRect(tree->model()->index(0, 0));
        const int x = first.left() + tree->indentation() / 2;
        const QColor background = tree->palette().color(QPalette::Base);
        int linePixels = 0;
        for (int y = first.center().y() + 6; y <= first.bottom() + 4; ++y)
            if (picture.pixelColor(x, y) != background) ++linePixels;
        QVERIFY2(linePixels >= 2, qPrintable(QString::number(linePixels)));
    }

    void minimizedWindowsShowTheirFileNameAndRestore() {
        TMainForm form;
        form.resize(1280, 800);
        form.show();
        const QString a = folders_.files.filePath("a.txt");
        const QString b = folders_.files.filePath("b.txt");
        form.OpenWithTaskbarButton(a);
        form.OpenWithTaskbarButton(b);
        auto* first = form.findChild<QMdiSubWindow*>("MDIChild1");
        auto* second = form.findChild<QMdiSubWindow*>("MDIChild2");
        Item(form, "WindowMinimizeItem")->trigger();
        QVERIFY(first->isMinimized() && second->isMinimized());
        QCOMPARE(first->windowTitle(), QString("a.txt"));
        QCOMPARE(second->windowTitle(), QString("b.txt"));

        // The taskbar button brings its window back.
        QTest::mouseClick(form.findChild<QWidget*>("Taskbar")->findChild<QPushButton*>("MyButton1"), Qt::LeftButton);
        QVERIFY(!first->isMinimized());
        QCOMPARE(form.ActiveDocumentWindow(), first);
        QCOMPARE(first->windowTitle(), a);

        // So does the Window menu's entry, which names the whole path.
        auto* windowMenu = form.findChild<QMenu*>("Window1");
        emit windowMenu->aboutToShow();
        QAction* entry = windowMenu->actions().last();
        QCOMPARE(entry->text(), "&2 " + b);
        entry->trigger();
        QVERIFY(!second->isMinimized());
        QCOMPARE(form.ActiveDocumentWindow(), second);
        QCOMPARE(second->windowTitle(), b);
    }

    void settingsThatCannotBeSavedAreReported() {
        // Only values that change are written: the taskbar's, at start.
        SettingsStore().WriteValue("Button Width", 75);
        const QString file = QDir(folders_.settings.path()).filePath("HKEY_LOCAL_MACHINE.reg");
        QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        {
            TMainForm form;
            form.show();
            // The options are stored back at start.
            QCOMPARE(form.statusBar()->currentMessage(), QString("Settings could not be saved"));
            form.OpenWithTaskbarButton(folders_.files.filePath("a.txt"));
            QVERIFY(dialogs_.messages.empty());
            form.close();
            QCOMPARE(dialogs_.messages.size(), std::size_t(1));
            QCOMPARE(dialogs_.messages[0].text, QString("Settings could not be saved"));
        }
        QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner));
        dialogs_.Reset();
        TMainForm form;
        form.show();
        QCOMPARE(form.statusBar()->currentMessage(), QString());
        form.close();
        QVERIFY(dialogs_.messages.empty());
    }

private:
    TestFolders folders_;
    FakeDialogs dialogs_;
};

ORYX_SHELL_TEST_MAIN(ShellDesktopTest)
#include "shell_desktop_test.moc"
