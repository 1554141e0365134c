// File | Compare With... in the main window, driven headless: the compare
// window beside the document windows with its taskbar button and Window-menu
// entry, which commands it leaves enabled, and a second file that cannot be read.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <functional>

#include "doc/compare/compare_window.h"
#include "doc/document/mdi_child.h"
#include "settings/settings_folder.h"
#include "shell/application.h"
#include "shell/main_form.h"
#include "shell_test_support.h"

using namespace shelltest;

namespace {

constexpr char kBefore[] = R"(start prov
add AtmIf/1
set AtmIf/1 interfaceName atm1
add Shelf
add Shelf Card/0
set Shelf Card/0 cardType aal1Ces
)";

constexpr char kAfter[] = R"(start prov
add AtmIf/1
set AtmIf/1 interfaceName atm2
add Shelf
add Shelf Card/0
set Shelf Card/0 cardType aal1Ces
add Vr/1
)";

// "MyButton2 77+75 text": name, left and width of each taskbar button, and its caption.
QStringList Buttons(TMainForm& form) {
    QStringList buttons;
    for (QPushButton* button : form.findChild<QWidget*>("Taskbar")->findChildren<QPushButton*>())
        buttons << QStringLiteral("%1 %2+%3 %4%5")
                       .arg(button->objectName())
                       .arg(button->x())
                       .arg(button->width())
                       .arg(button->statusTip(), button->isChecked() ? QStringLiteral(" (pressed)") : QString());
    return buttons;
}

QStringList EnabledItems(TMainForm& form) {
    QStringList names;
    for (const char* name :
         {"FileCompareItem", "FileCloseItem", "FileSaveItem", "SaveBtn", "btnExpand", "btnCollapse", "btnPrint",
          "WindowCascadeItem", "WindowTileItem", "WindowArrangeItem", "WindowMinimizeItem"})
        if (Item(form, name)->isEnabled()) names << name;
    if (form.findChild<QToolButton*>("btnReports")->isEnabled()) names << "btnReports";
    return names;
}

const QStringList kAllDocumentItems = {
    "FileCompareItem", "FileCloseItem",     "FileSaveItem",   "SaveBtn",           "btnExpand",          "btnCollapse",
    "btnPrint",        "WindowCascadeItem", "WindowTileItem", "WindowArrangeItem", "WindowMinimizeItem", "btnReports"};
const QStringList kWindowItems = {"FileCloseItem", "WindowCascadeItem", "WindowTileItem", "WindowArrangeItem",
                                  "WindowMinimizeItem"};

QStringList WindowMenuEntries(TMainForm& form) {
    auto* menu = form.findChild<QMenu*>("Window1");
    emit menu->aboutToShow();
    QStringList entries;
    for (QAction* item : menu->actions())
        if (!item->isSeparator() && item->objectName().isEmpty())
            entries << item->text() + (item->isChecked() ? QStringLiteral(" *") : QString());
    return entries;
}

}  // namespace

class ShellCompareTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(settingsDir_.isValid());
        QVERIFY(filesDir_.isValid());
        oryx::settings::OverrideSettingsFolder(settingsDir_.path().toStdString());
        before_ = WriteFile("before.txt", kBefore);
        after_ = WriteFile("after.txt", kAfter);
    }

    void init() { dialogs_.Reset(); }

    void cleanup() { QCOMPARE(QApplication::overrideCursor(), nullptr); }

    void compareWithIsAFileCommandOnTheActiveDocument() {
        TMainForm form;
        form.show();
        QAction* compare = Item(form, "FileCompareItem");
        QCOMPARE(compare->text(), QStringLiteral("Compare &With..."));
        QCOMPARE(compare->statusTip(), QStringLiteral("Compare the active file with another file"));
        QStringList fileMenu;
        for (QAction* item : form.findChild<QMenu*>("File1")->actions().mid(0, 6)) fileMenu << item->objectName();
        QCOMPARE(fileMenu, QStringList({"FileOpenItem", "FileCompareItem", "FileCloseItem", "FileReloadItem",
                                        "FileSaveItem", "FilePrintItem"}));
        QCOMPARE(EnabledItems(form), QStringList());

        Open(form, before_);
        QCOMPARE(EnabledItems(form), kAllDocumentItems);
        // Cancelling the dialog opens nothing.
        compare->trigger();
        QCOMPARE(dialogs_.openTitles, QStringList({"Open", "Compare With"}));
        QCOMPARE(dialogs_.openFolders.last(), QFileInfo(before_).absolutePath());
        QCOMPARE(WindowNames(form), QStringList{"MDIChild1"});
        QVERIFY(dialogs_.messages.empty());
    }

    void compareWindowTakesPartInTaskbarAndWindowMenu() {
        TMainForm form;
        form.show();
        Open(form, before_);
        CompareWith(form, after_);

        QCOMPARE(WindowNames(form), QStringList({"MDIChild1", "MDIChild2"}));
        auto* window = form.findChild<QMdiSubWindow*>("MDIChild2");
        auto* comparison = qobject_cast<oryx::doc::CompareWindow*>(window->widget());
        QVERIFY(comparison);
        QCOMPARE(form.findChild<QMdiArea*>()->currentSubWindow(), window);
        QCOMPARE(window->windowTitle(), before_ + " vs " + after_);
        QCOMPARE(comparison->Summary()->text(), QStringLiteral("1 added, 0 removed, 1 changed"));
        QCOMPARE(form.DocumentCount(), 1);
        QCOMPARE(Buttons(form),
                 QStringList({"MyButton1 1+75 before.txt", "MyButton2 77+75 before.txt vs after.txt (pressed)"}));
        QCOMPARE(WindowMenuEntries(form), QStringList({"&1 " + before_, "&2 " + before_ + " vs " + after_ + " *"}));

        // The document commands wait while the compare window is active; the window commands do not.
        QCOMPARE(EnabledItems(form), kWindowItems);
        Item(form, "btnExpand")->trigger();  // disabled, and nothing to act on
        QVERIFY(dialogs_.messages.empty());

        // Its button and the document's bring each window to the front.
        QTest::mouseClick(form.findChild<QPushButton*>("MyButton1"), Qt::LeftButton);
        QCOMPARE(form.ActiveDocumentWindow()->objectName(), QStringLiteral("MDIChild1"));
        QCOMPARE(EnabledItems(form), kAllDocumentItems);
        QTest::mouseClick(form.findChild<QPushButton*>("MyButton2"), Qt::LeftButton);
        QCOMPARE(form.ActiveDocumentWindow(), window);
        QCOMPARE(form.ActiveDocument(), nullptr);

        // A document opened next stands after it; numbers go on.
        Open(form, after_);
        QCOMPARE(WindowNames(form), QStringList({"MDIChild1", "MDIChild2", "MDIChild3"}));
        QCOMPARE(Buttons(form), QStringList({"MyButton1 1+75 before.txt", "MyButton2 77+75 before.txt vs after.txt",
                                             "MyButton3 153+75 after.txt (pressed)"}));

        // Close acts on the compare window when it is active; its button goes.
        QTest::mouseClick(form.findChild<QPushButton*>("MyButton2"), Qt::LeftButton);
        Item(form, "FileCloseItem")->trigger();
        QTRY_COMPARE(WindowNames(form), QStringList({"MDIChild1", "MDIChild3"}));
        QCOMPARE(Buttons(form), QStringList({"MyButton1 1+75 before.txt", "MyButton3 77+75 after.txt"}));
        QVERIFY(dialogs_.messages.empty());
        QTRY_COMPARE(EnabledItems(form), kAllDocumentItems);
    }

    void compareWindowOutlivesItsDocument() {
        TMainForm form;
        form.show();
        Open(form, before_);
        CompareWith(form, after_);
        form.findChild<QMdiSubWindow*>("MDIChild1")->close();
        QTRY_COMPARE(WindowNames(form), QStringList{"MDIChild2"});
        QCOMPARE(form.DocumentCount(), 0);
        // Nothing to compare from, yet the window can still be arranged and closed.
        QTRY_COMPARE(EnabledItems(form), kWindowItems);
        Item(form, "WindowTileItem")->trigger();
        Item(form, "FileCloseItem")->trigger();
        QTRY_COMPARE(WindowNames(form), QStringList());
        QCOMPARE(Buttons(form), QStringList());
        QTRY_COMPARE(EnabledItems(form), QStringList());
        QVERIFY(dialogs_.messages.empty());
    }

    void maximizedDocumentsGiveAMaximizedCompareWindow() {
        TMainForm form;
        form.resize(900, 700);
        form.show();
        Open(form, before_);
        form.ActiveDocumentWindow()->showMaximized();
        CompareWith(form, after_);
        QVERIFY(form.findChild<QMdiSubWindow*>("MDIChild2")->isMaximized());
    }

    void unreadableSecondFileGivesTheErrorBoxAndNoWindow() {
        TMainForm form;
        form.show();
        Open(form, before_);
        const QString missing = filesDir_.filePath("no such node.txt");
        dialogs_.openAnswers << missing;
        // As an event, so the error travels the way a user's would.
        QMetaObject::invokeMethod(
            &form, [&] { Item(form, "FileCompareItem")->trigger(); }, Qt::QueuedConnection);
        QCoreApplication::sendPostedEvents(&form, QEvent::MetaCall);
        QCOMPARE(dialogs_.messages.size(), std::size_t(1));
        QCOMPARE(dialogs_.messages[0].kind, MessageKind::Error);
        QCOMPARE(dialogs_.messages[0].caption, QStringLiteral("Error"));
        QVERIFY2(dialogs_.messages[0].text.contains("no such node.txt"), qPrintable(dialogs_.messages[0].text));
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QCOMPARE(WindowNames(form), QStringList{"MDIChild1"});
        QCOMPARE(Buttons(form), QStringList{"MyButton1 1+75 before.txt (pressed)"});
        QCOMPARE(EnabledItems(form), kAllDocumentItems);

        // The failure used no window number.
        CompareWith(form, after_);
        QCOMPARE(WindowNames(form), QStringList({"MDIChild1", "MDIChild2"}));
        QCOMPARE(dialogs_.messages.size(), std::size_t(1));
    }

private:
    QString WriteFile(const QString& name, const QByteArray& bytes) { return WriteTestFile(filesDir_, name, bytes); }

    void Open(TMainForm& form, const QString& path) { OpenWithDialog(form, dialogs_, path); }

    void CompareWith(TMainForm& form, const QString& path) {
        dialogs_.openAnswers << path;
        Item(form, "FileCompareItem")->trigger();
    }

    QTemporaryDir settingsDir_;
    QTemporaryDir filesDir_;
    FakeDialogs dialogs_;
    QString before_;
    QString after_;
};

int main(int argc, char** argv) {
    oryx::shell::OryxApplication app(argc, argv);
    ShellCompareTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "shell_compare_test.moc"
