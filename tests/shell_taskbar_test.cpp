// The main window's taskbar of window buttons, the options dialog, the
// recent-files list and printing, driven headless.
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <functional>

#include "doc/document/mdi_child.h"
#include "settings/settings_folder.h"
#include "shell/application.h"
#include "shell/main_form.h"
#include "shell/options_form.h"
#include "shell_test_support.h"

Q_DECLARE_METATYPE(oryx::settings::SettingValue)

using namespace shelltest;
using oryx::settings::SettingValue;
using oryx::shell::TOptionsForm;

namespace {

constexpr char kNode[] = R"(start prov
add AtmIf/1
set AtmIf/1 interfaceName atm1
add Shelf
add Shelf Card/0
set Shelf Card/0 cardType aal1Ces
)";

// "MyButton2 77+75": name, left and width of each taskbar button, in order.
QStringList Buttons(TMainForm& form) {
    QStringList buttons;
    for (QPushButton* button : form.findChild<QWidget*>("Taskbar")->findChildren<QPushButton*>())
        buttons << QStringLiteral("%1 %2+%3").arg(button->objectName()).arg(button->x()).arg(button->width());
    return buttons;
}

QPushButton* Button(TMainForm& form, const QString& name) {
    auto* button = form.findChild<QWidget*>("Taskbar")->findChild<QPushButton*>(name);
    if (!button) qFatal("no button %s", qPrintable(name));
    return button;
}

QStringList PressedButtons(TMainForm& form) {
    QStringList names;
    for (QPushButton* button : form.findChild<QWidget*>("Taskbar")->findChildren<QPushButton*>())
        if (button->isChecked()) names << button->objectName();
    return names;
}

// What the visible slots of one recent-files menu ("miMRU" or "popMRU")
// offer: the path where caption and hint both show it, else both.
QStringList Slots(TMainForm& form, const char* prefix) {
    QStringList paths;
    for (int i = 1; i <= 13; ++i) {
        QAction* slot = Item(form, qPrintable(QStringLiteral("%1%2").arg(prefix).arg(i)));
        if (slot->isVisible())
            paths << (slot->text() == slot->statusTip() && slot->isEnabled()
                          ? slot->statusTip()
                          : QStringLiteral("caption %1, hint %2").arg(slot->text(), slot->statusTip()));
    }
    return paths;
}

SettingValue Stored(const char* name) { return SettingsStore().ReadValue(name, SettingValue()); }

}  // namespace

class ShellTaskbarTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void buttonsPlacedOnOpenAndOnClose_data();
    void buttonsPlacedOnOpenAndOnClose();
    void buttonsStayReachableAndReadable_data();
    void buttonsStayReachableAndReadable();
    void failedOpenTakesItsButtonAway();
    void buttonClickBringsWindowAndItsCheckMarks();
    void storedOptionsAppliedAtStart_data();
    void storedOptionsAppliedAtStart();
    void optionsDialog_data();
    void optionsDialog();
    void widthKeysFiltered_data();
    void widthKeysFiltered();
    void widthEditTakesDigitsOnly_data();
    void widthEditTakesDigitsOnly();

    void recentFilesOrderLimitAndCase();
    void vanishedRecentFileReportedAndDropped_data();
    void vanishedRecentFileReportedAndDropped();
    void recentFilesPersistAcrossRuns();
    void storedListSkipsEmptyAndRepeatedPaths();

    void printingSendsTreeTextToPrinter();
    void printerErrorReachesUser();

private:
    QString WriteFile(const QString& name, const QByteArray& bytes = kNode);
    void Open(TMainForm& form, const QString& path);
    // Runs `command` as an event, so that its error reaches the default error display.
    static void Deliver(TMainForm& form, const std::function<void()>& command);
    // Runs the Options command; `edit` works the dialog, which `ok` closes with OK or Cancel.
    void RunOptions(TMainForm& form, const std::function<void(TOptionsForm&)>& edit, bool ok);

    QTemporaryDir settingsDir_;
    QTemporaryDir filesDir_;
    bool optionsStayedOpen_ = false;
    FakeDialogs dialogs_;
};

void ShellTaskbarTest::initTestCase() {
    QVERIFY(settingsDir_.isValid());
    QVERIFY(filesDir_.isValid());
    oryx::settings::OverrideSettingsFolder(settingsDir_.path().toStdString());
}

void ShellTaskbarTest::init() {
    dialogs_.Reset();
    QDir settings(settingsDir_.path());
    for (const QString& file : settings.entryList(QDir::Files | QDir::Hidden)) settings.remove(file);
}

void ShellTaskbarTest::cleanup() { QCOMPARE(QApplication::overrideCursor(), nullptr); }

QString ShellTaskbarTest::WriteFile(const QString& name, const QByteArray& bytes) {
    return WriteTestFile(filesDir_, name, bytes);
}

void ShellTaskbarTest::Open(TMainForm& form, const QString& path) { OpenWithDialog(form, dialogs_, path); }

void ShellTaskbarTest::Deliver(TMainForm& form, const std::function<void()>& command) {
    QMetaObject::invokeMethod(&form, command, Qt::QueuedConnection);
    QCoreApplication::sendPostedEvents(&form, QEvent::MetaCall);
}

void ShellTaskbarTest::RunOptions(TMainForm& form, const std::function<void(TOptionsForm&)>& edit, bool ok) {
    bool closed = false;
    // Fires inside the dialog's own event loop.
    QTimer::singleShot(0, [&] {
        auto* dialog = form.findChild<TOptionsForm*>();
        const bool modal = QApplication::activeModalWidget() == dialog;
        if (modal) edit(*dialog);
        (ok && modal ? Control<QPushButton>(*dialog, "Button1") : Control<QPushButton>(*dialog, "Button2"))->click();
        // A refused OK leaves the dialog open; Cancel then closes it.
        optionsStayedOpen_ = dialog->isVisible();
        if (optionsStayedOpen_) Control<QPushButton>(*dialog, "Button2")->click();
        closed = modal;
    });
    Deliver(form, [&] { Item(form, "miOptions")->trigger(); });
    QVERIFY(closed);
}

void ShellTaskbarTest::buttonsPlacedOnOpenAndOnClose_data() {
    QTest::addColumn<QString>("closed");
    QTest::addColumn<QStringList>("afterClose");
    QTest::addColumn<QStringList>("afterNextOpen");
    // Every button stands at i x (width + 1) + 1, after an open and after a close.
    QTest::newRow("first closed") << "MDIChild1" << QStringList{"MyButton2 1+75", "MyButton3 77+75"}
                                  << QStringList{"MyButton2 1+75", "MyButton3 77+75", "MyButton4 153+75"};
    QTest::newRow("second closed") << "MDIChild2" << QStringList{"MyButton1 1+75", "MyButton3 77+75"}
                                   << QStringList{"MyButton1 1+75", "MyButton3 77+75", "MyButton4 153+75"};
}

void ShellTaskbarTest::buttonsPlacedOnOpenAndOnClose() {
    QFETCH(QString, closed);
    QFETCH(QStringList, afterClose);
    QFETCH(QStringList, afterNextOpen);
    TMainForm form;
    form.show();
    for (const char* name : {"alpha.txt", "beta.txt", "gamma.txt"}) Open(form, WriteFile(name));
    QCOMPARE(Buttons(form), QStringList({"MyButton1 1+75", "MyButton2 77+75", "MyButton3 153+75"}));
    QCOMPARE(Button(form, "MyButton2")->text(), QString("beta.txt"));
    QCOMPARE(Button(form, "MyButton2")->statusTip(), QString("beta.txt"));
    QCOMPARE(Button(form, "MyButton2")->geometry().top(), 1);
    QCOMPARE(Button(form, "MyButton2")->height(), 25);
    QCOMPARE(form.findChild<QWidget*>("Taskbar")->height(), 27);

    form.findChild<QMdiSubWindow*>(closed)->close();
    QCOMPARE(Buttons(form), afterClose);
    Open(form, WriteFile("delta.txt"));
    QCOMPARE(Buttons(form), afterNextOpen);
    QVERIFY(dialogs_.messages.empty());
}

void ShellTaskbarTest::buttonsStayReachableAndReadable_data() {
    QTest::addColumn<int>("buttonWidth");
    QTest::addColumn<int>("formWidth");
    QTest::addColumn<int>("windows");
    QTest::addColumn<QString>("name");  // %1 is the window's number
    QTest::newRow("seven at 200") << 200 << 1000 << 7 << "node%1.txt";
    QTest::newRow("twenty, scrolled") << 75 << 500 << 20 << "n%1.txt";
    QTest::newRow("long names") << 75 << 800 << 3 << "node41-startprov-%1-2026-12-09.txt";
}

// Every button can be reached: the buttons narrow equally to fit the bar,
// down to 40 pixels, and past that the bar scrolls. A caption too long for
// its button shows its start and its end, and the tooltip the whole path.
void ShellTaskbarTest::buttonsStayReachableAndReadable() {
    QFETCH(int, buttonWidth);
    QFETCH(int, formWidth);
    QFETCH(int, windows);
    QFETCH(QString, name);
    SettingsStore().WriteValue("Button Width", SettingValue(buttonWidth));
    TMainForm form;
    form.resize(formWidth, 600);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QStringList paths;
    for (int i = 1; i <= windows; ++i) {
        paths << WriteFile(name.arg(i));
        Open(form, paths.last());
    }
    auto* taskbar = form.findChild<QWidget*>("Taskbar");
    auto* scroller = taskbar->findChild<QAbstractScrollArea*>();
    QVERIFY(scroller);
    QScrollBar* scrollBar = scroller->horizontalScrollBar();
    const int room = taskbar->width();
    const int fitted = std::min(buttonWidth, std::max(40, (room - 1) / windows - 1));
    const bool scrolls = windows * (fitted + 1) + 1 > room;
    QCOMPARE(scrollBar->isVisible(), scrolls);
    QVERIFY(taskbar->height() >= 27);
    for (int i = 0; i < windows; ++i) {
        QPushButton* button = Button(form, QStringLiteral("MyButton%1").arg(i + 1));
        const QString what = button->objectName();
        QCOMPARE(button->geometry(), QRect(i * (fitted + 1) + 1, 1, fitted, 25));
        // Within the bar once scrolled to.
        QVERIFY2(button->geometry().right() < scroller->viewport()->width() + scrollBar->maximum(), qPrintable(what));
        QCOMPARE(button->toolTip(), QDir::toNativeSeparators(paths[i]));
        const QString caption = QFileInfo(paths[i]).fileName();
        const QString text = button->text();
        QVERIFY2(button->fontMetrics().horizontalAdvance(text) < fitted, qPrintable(what));
        if (text != caption) {
            const qsizetype cut = text.indexOf(QChar(0x2026));
            QVERIFY2(cut > 0 && cut < text.size() - 1, qPrintable(text));
            QVERIFY2(caption.startsWith(text.left(cut)) && caption.endsWith(text.mid(cut + 1)), qPrintable(text));
        }
    }
    // The pressed button, the last window's, is in view.
    const QRect last = Button(form, QStringLiteral("MyButton%1").arg(windows))->geometry();
    QVERIFY(last.left() >= scrollBar->value() && last.right() < scrollBar->value() + scroller->viewport()->width());
}

void ShellTaskbarTest::failedOpenTakesItsButtonAway() {
    TMainForm form;
    form.show();
    Open(form, WriteFile("alpha.txt"));
    Deliver(form, [&] { Open(form, filesDir_.filePath("absent.txt")); });
    QCOMPARE(dialogs_.messages.size(), std::size_t(1));  // the file's error, through the default display
    QCOMPARE(Buttons(form), QStringList{"MyButton1 1+75"});
    QCOMPARE(PressedButtons(form), QStringList{"MyButton1"});

    Open(form, WriteFile("beta.txt"));
    QCOMPARE(Buttons(form), QStringList({"MyButton1 1+75", "MyButton2 77+75"}));
    form.findChild<QMdiSubWindow*>("MDIChild2")->close();
    QCOMPARE(Buttons(form), QStringList{"MyButton1 1+75"});
    QCOMPARE(dialogs_.messages.size(), std::size_t(1));

    // A window whose button was never made.
    form.DocumentClosing("MDIChild7");
    QCOMPARE(dialogs_.messages.size(), std::size_t(2));
    QCOMPARE(dialogs_.messages[1].kind, MessageKind::Error);
    QCOMPARE(dialogs_.messages[1].caption, QString("Error"));
    QCOMPARE(dialogs_.messages[1].text, QString("An internal error has occured."));
    QCOMPARE(Buttons(form), QStringList{"MyButton1 1+75"});
}

void ShellTaskbarTest::buttonClickBringsWindowAndItsCheckMarks() {
    TMainForm form;
    form.show();
    auto* area = form.findChild<QMdiArea*>();
    Open(form, WriteFile("alpha.txt"));
    Item(form, "miAtmIfReport")->trigger();
    Open(form, WriteFile("beta.txt"));
    Item(form, "miCommonReport")->trigger();
    Open(form, WriteFile("gamma.txt"));
    QCOMPARE(PressedButtons(form), QStringList{"MyButton3"});

    // Activating a window in another way leaves the taskbar as it was.
    area->setActiveSubWindow(form.findChild<QMdiSubWindow*>("MDIChild2"));
    QCOMPARE(PressedButtons(form), QStringList{"MyButton3"});

    struct Click {
        const char* button;
        const char* window;
        QStringList checked;
    };
    const Click clicks[] = {
        {"MyButton1", "MDIChild1", {"miAtmIfReport"}},
        {"MyButton3", "MDIChild3", {}},
        {"MyButton2", "MDIChild2", {"miCommonReport"}},
        {"MyButton2", "MDIChild2", {"miCommonReport"}},  // the pressed button again: stays pressed
    };
    for (const Click& click : clicks) {
        area->setActiveSubWindow(form.findChild<QMdiSubWindow*>("MDIChild1"));
        QTest::mouseClick(Button(form, click.button), Qt::LeftButton);
        QCOMPARE(form.ActiveDocumentWindow()->objectName(), QString(click.window));
        QCOMPARE(PressedButtons(form), QStringList{click.button});
        QCOMPARE(CheckedReportItems(form), click.checked);
    }
}

void ShellTaskbarTest::storedOptionsAppliedAtStart_data() {
    QTest::addColumn<SettingValue>("view");
    QTest::addColumn<SettingValue>("width");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<int>("applied");
    QTest::newRow("nothing stored") << SettingValue() << SettingValue() << true << 75;
    QTest::newRow("hidden, 0 wide") << SettingValue(0) << SettingValue(0) << false << 75;
    QTest::newRow("width beyond 500") << SettingValue(1) << SettingValue(999997575) << true << 75;
    QTest::newRow("width 20") << SettingValue(1) << SettingValue(20) << true << 20;
    QTest::newRow("shown as 2, 120 wide") << SettingValue(2) << SettingValue(120) << true << 120;
    QTest::newRow("width as text") << SettingValue(1) << SettingValue("90") << true << 90;
    QTest::newRow("width not a number") << SettingValue(1) << SettingValue("wide") << true << 75;
    QTest::newRow("width negative") << SettingValue(1) << SettingValue(-3) << true << 75;
}

void ShellTaskbarTest::storedOptionsAppliedAtStart() {
    QFETCH(SettingValue, view);
    QFETCH(SettingValue, width);
    QFETCH(bool, shown);
    QFETCH(int, applied);
    SettingsStore().WriteValue("View Taskbar", view);
    SettingsStore().WriteValue("Button Width", width);
    TMainForm form;
    form.show();
    QCOMPARE(form.findChild<QWidget*>("Taskbar")->isVisible(), shown);
    Open(form, WriteFile("alpha.txt"));
    Open(form, WriteFile("beta.txt"));
    QCOMPARE(Buttons(form), QStringList({QStringLiteral("MyButton1 1+%1").arg(applied),
                                         QStringLiteral("MyButton2 %1+%2").arg(applied + 2).arg(applied)}));
    // Written back at once, as numbers.
    QCOMPARE(Stored("View Taskbar"), SettingValue(shown ? 1 : 0));
    QCOMPARE(Stored("Button Width"), SettingValue(applied));
    auto* options = form.findChild<TOptionsForm*>();
    QCOMPARE(Control<QLineEdit>(*options, "edButtonWidth")->text(), QString::number(applied));
    QCOMPARE(Control<QLineEdit>(*options, "edButtonWidth")->isEnabled(), shown);
}

void ShellTaskbarTest::optionsDialog_data() {
    QTest::addColumn<bool>("view");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("error");  // the refusal, the dialog staying open
    QTest::addColumn<int>("storedView");
    QTest::addColumn<int>("storedWidth");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QStringList>("buttons");
    // The buttons are laid out again at once.
    QTest::newRow("wider") << true << "100" << true << "" << 1 << 100 << true
                           << QStringList({"MyButton1 1+100", "MyButton2 102+100"});
    QTest::newRow("hidden, narrower") << false << "050" << true << "" << 0 << 50 << false
                                      << QStringList({"MyButton1 1+50", "MyButton2 52+50"});
    QTest::newRow("cancel") << false << "42" << false << "" << 1 << 75 << true
                            << QStringList({"MyButton1 1+75", "MyButton2 77+75"});
    QTest::newRow("20 wide") << true << "20" << true << "" << 1 << 20 << true
                             << QStringList({"MyButton1 1+20", "MyButton2 22+20"});
    QTest::newRow("500 wide") << true << "500" << true << "" << 1 << 500 << true
                              << QStringList({"MyButton1 1+500", "MyButton2 502+500"});
    // A width the taskbar cannot use is refused; nothing is stored, "View Taskbar" included.
    const QStringList unchanged{"MyButton1 1+75", "MyButton2 77+75"};
    const QString outside = QStringLiteral("Taskbar Button Width must be from 20 to 500.");
    QTest::newRow("empty width") << false << "" << true << "'' is not a valid integer value" << 1 << 75 << true
                                 << unchanged;
    QTest::newRow("width beyond 32 bits")
        << true << "2147483648" << true << "'2147483648' is not a valid integer value" << 1 << 75 << true << unchanged;
    QTest::newRow("0 wide") << true << "0" << true << outside << 1 << 75 << true << unchanged;
    QTest::newRow("hidden, 0 wide") << false << "0" << true << outside << 1 << 75 << true << unchanged;
    QTest::newRow("19 wide") << true << "19" << true << outside << 1 << 75 << true << unchanged;
    QTest::newRow("501 wide") << true << "501" << true << outside << 1 << 75 << true << unchanged;
    QTest::newRow("999997575 wide") << true << "999997575" << true << outside << 1 << 75 << true << unchanged;
}

void ShellTaskbarTest::optionsDialog() {
    QFETCH(bool, view);
    QFETCH(QString, typed);
    QFETCH(bool, ok);
    QFETCH(QString, error);
    QFETCH(int, storedView);
    QFETCH(int, storedWidth);
    QFETCH(bool, shown);
    QFETCH(QStringList, buttons);
    TMainForm form;
    form.resize(1100, 600);  // room for two of the widest buttons
    form.show();
    Open(form, WriteFile("alpha.txt"));
    Open(form, WriteFile("beta.txt"));
    auto* taskbar = form.findChild<QWidget*>("Taskbar");

    RunOptions(
        form,
        [&](TOptionsForm& dialog) {
            QCOMPARE(dialog.windowTitle(), QString("Options..."));
            QCOMPARE(Control<QLineEdit>(dialog, "edButtonWidth")->text(), QString("75"));
            Control<QCheckBox>(dialog, "chkViewTaskbar")->setChecked(view);
            // The width follows the box at once, the taskbar only after OK.
            QCOMPARE(Control<QLabel>(dialog, "lblButtonWidth")->isEnabled(), view);
            QCOMPARE(Control<QLineEdit>(dialog, "edButtonWidth")->isEnabled(), view);
            QCOMPARE(Control<QLabel>(dialog, "lblButtonWidthRange")->text(), QString("(20 to 500 pixels)"));
            QVERIFY(taskbar->isVisible());
            Control<QLineEdit>(dialog, "edButtonWidth")->setText(typed);
        },
        ok);

    QStringList errors;
    for (const auto& message : dialogs_.messages) errors << message.caption + ": " + message.text;
    QCOMPARE(errors, error.isEmpty() ? QStringList() : QStringList{"Error: " + error});
    QCOMPARE(optionsStayedOpen_, !error.isEmpty());
    QCOMPARE(Stored("View Taskbar"), SettingValue(storedView));
    QCOMPARE(Stored("Button Width"), SettingValue(storedWidth));
    QCOMPARE(taskbar->isVisible(), shown);
    QCOMPARE(Buttons(form), buttons);

    // The dialog is made once: next time it shows what was typed, also after Cancel.
    RunOptions(
        form,
        [&](TOptionsForm& dialog) {
            QCOMPARE(Control<QCheckBox>(dialog, "chkViewTaskbar")->isChecked(), view);
            QCOMPARE(Control<QLineEdit>(dialog, "edButtonWidth")->text(), typed);
        },
        false);
}

void ShellTaskbarTest::widthKeysFiltered_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("discarded");
    QTest::newRow("digit") << int(Qt::Key_7) << 0 << "7" << false;
    QTest::newRow("keypad digit") << int(Qt::Key_3) << int(Qt::KeypadModifier) << "3" << false;
    QTest::newRow("letter") << int(Qt::Key_A) << 0 << "a" << true;
    QTest::newRow("minus") << int(Qt::Key_Minus) << 0 << "-" << true;
    QTest::newRow("backspace") << int(Qt::Key_Backspace) << 0 << "\b" << true;
    QTest::newRow("Ctrl+V, a control character") << int(Qt::Key_V) << int(Qt::ControlModifier) << "\x16" << true;
    QTest::newRow("Ctrl+X, no text") << int(Qt::Key_X) << int(Qt::ControlModifier) << "" << true;
    QTest::newRow("Ctrl+A, select all") << int(Qt::Key_A) << int(Qt::ControlModifier) << "\x01" << false;
    QTest::newRow("Delete") << int(Qt::Key_Delete) << 0 << "\x7f" << false;
    QTest::newRow("arrow") << int(Qt::Key_Left) << 0 << "" << false;
    QTest::newRow("Return, the dialog's") << int(Qt::Key_Return) << 0 << "\r" << false;
}

void ShellTaskbarTest::widthKeysFiltered() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    QFETCH(bool, discarded);
    const QKeyEvent event(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), text);
    QCOMPARE(TOptionsForm::IsDiscardedWidthKey(event), discarded);
}

void ShellTaskbarTest::widthEditTakesDigitsOnly_data() {
    QTest::addColumn<QTestEventList>("keys");
    QTest::addColumn<QString>("text");
    QTestEventList digits;
    digits.addKeyClicks("1a -2.x+3");
    QTest::newRow("digits kept, the rest dropped") << digits << "75123";
    QTestEventList paste;
    paste.addKeyClick(Qt::Key_V, Qt::ControlModifier);
    QTest::newRow("Ctrl+V dropped") << paste << "75";
    QTestEventList editing;
    editing.addKeyClick(Qt::Key_Home);
    editing.addKeyClick(Qt::Key_Delete);
    editing.addKeyClick(Qt::Key_Right);
    editing.addKeyClicks("0");
    QTest::newRow("Delete and arrows work") << editing << "50";
    QTestEventList replace;
    replace.addKeyClick(Qt::Key_Home, Qt::ShiftModifier);
    replace.addKeyClicks("9");
    QTest::newRow("a digit replaces the selection") << replace << "9";
    QTestEventList selectAll;
    selectAll.addKeyClick(Qt::Key_A, Qt::ControlModifier);
    selectAll.addKeyClicks("120");
    QTest::newRow("Ctrl+A selects the width") << selectAll << "120";
}

void ShellTaskbarTest::widthEditTakesDigitsOnly() {
    QFETCH(QTestEventList, keys);
    QFETCH(QString, text);
    TMainForm form;
    auto* options = form.findChild<TOptionsForm*>();
    options->show();
    QVERIFY(QTest::qWaitForWindowExposed(options));
    QApplication::clipboard()->setText("9");
    Control<QLineEdit>(*options, "edButtonWidth")->setFocus();
    Control<QLineEdit>(*options, "edButtonWidth")->end(false);
    keys.simulate(Control<QLineEdit>(*options, "edButtonWidth"));
    QCOMPARE(Control<QLineEdit>(*options, "edButtonWidth")->text(), text);
    options->hide();
}

void ShellTaskbarTest::recentFilesOrderLimitAndCase() {
    TMainForm form;
    form.show();
    QStringList opened;
    for (int i = 1; i <= 14; ++i) Open(form, opened.emplaceBack(WriteFile(QStringLiteral("node%1.txt").arg(i))));
    QStringList expected;
    for (int i = 14; i >= 2; --i)  // the first file dropped off the end
        expected << opened[i - 1];
    emit form.findChild<QMenu*>("File1")->aboutToShow();
    QCOMPARE(Slots(form, "miMRU"), expected);
    QCOMPARE(Slots(form, "popMRU"), expected);
    QCOMPARE(dialogs_.openFolders.last(), filesDir_.path());

    // Listed already, also in other letters: the list stays as it is.
    Open(form, opened[4]);
    Open(form, WriteFile("NODE9.TXT"));
    emit form.findChild<QMenu*>("MRUPopup")->aboutToShow();
    QCOMPARE(Slots(form, "popMRU"), expected);
    QCOMPARE(form.DocumentCount(), 16);

    // Reopened through its slot, the third entry comes first.
    Item(form, "popMRU3")->trigger();
    QCOMPARE(form.ActiveDocumentWindow()->windowTitle(), expected[2]);
    expected.move(2, 0);
    emit form.findChild<QMenu*>("File1")->aboutToShow();
    QCOMPARE(Slots(form, "miMRU"), expected);
    QCOMPARE(Button(form, "MyButton17")->statusTip(), QString("node12.txt"));
    QVERIFY(dialogs_.messages.empty());
}

void ShellTaskbarTest::vanishedRecentFileReportedAndDropped_data() {
    QTest::addColumn<QString>("slot");
    QTest::newRow("File menu") << "miMRU2";
    QTest::newRow("Open button's drop-down") << "popMRU2";
}

void ShellTaskbarTest::vanishedRecentFileReportedAndDropped() {
    QFETCH(QString, slot);
    const QString gone = WriteFile("gone.txt");
    const QString kept = WriteFile("kept.txt");
    TMainForm form;
    form.show();
    Open(form, gone);
    Open(form, kept);
    form.findChild<QMdiSubWindow*>("MDIChild1")->close();
    QVERIFY(QFile::remove(gone));
    emit form.findChild<QMenu*>("File1")->aboutToShow();

    Item(form, qPrintable(slot))->trigger();
    QCOMPARE(dialogs_.messages.size(), std::size_t(1));
    QCOMPARE(dialogs_.messages[0].kind, MessageKind::Error);
    QCOMPARE(dialogs_.messages[0].caption, QString("Error"));
    QCOMPARE(dialogs_.messages[0].text.split('\n'), QStringList({"Error opening file:", gone, "File Not Found!"}));
    // Gone from both menus at once; no window and no button for it.
    QCOMPARE(Slots(form, "miMRU"), QStringList{kept});
    QCOMPARE(Slots(form, "popMRU"), QStringList{kept});
    QCOMPARE(WindowNames(form), QStringList{"MDIChild2"});
    QCOMPARE(Buttons(form), QStringList{"MyButton2 1+75"});
}

void ShellTaskbarTest::recentFilesPersistAcrossRuns() {
    QStringList files;
    for (int i = 1; i <= 13; ++i) files.prepend(WriteFile(QStringLiteral("run%1.txt").arg(i)));
    {
        TMainForm form;
        form.show();
        for (auto it = files.rbegin(); it != files.rend(); ++it) Open(form, *it);
        QVERIFY(form.close());
    }
    QCOMPARE(Stored("MRU1"), SettingValue(files[0].toStdString()));
    QCOMPARE(Stored("MRU13"), SettingValue(files[12].toStdString()));
    {
        // All thirteen come back; the last one has vanished meanwhile.
        TMainForm form;
        form.show();
        QCOMPARE(Slots(form, "miMRU"), files);
        QCOMPARE(Slots(form, "popMRU"), files);
        Item(form, "FileOpenItem")->trigger();
        QCOMPARE(dialogs_.openFolders.last(), filesDir_.path());
        QVERIFY(QFile::remove(files[12]));
        Item(form, "miMRU13")->trigger();
        files.removeLast();
        QVERIFY(form.close());
    }
    QCOMPARE(Stored("MRU13"), SettingValue(""));
    TMainForm form;
    QCOMPARE(Slots(form, "miMRU"), files);
}

void ShellTaskbarTest::storedListSkipsEmptyAndRepeatedPaths() {
    SettingsStore().WriteValue("MRU1", "/files/A.txt");
    SettingsStore().WriteValue("MRU2", "");
    SettingsStore().WriteValue("MRU3", "/files/a.TXT");
    SettingsStore().WriteValue("MRU12", "/files/b.txt");
    TMainForm form;
    QCOMPARE(Slots(form, "miMRU"), QStringList({"/files/A.txt", "/files/b.txt"}));
    QCOMPARE(Slots(form, "popMRU"), QStringList({"/files/A.txt", "/files/b.txt"}));
}

void ShellTaskbarTest::printingSendsTreeTextToPrinter() {
    const QByteArray value = "wrapped " + QByteArray(400, 'w');
    QByteArray node = "start prov\nadd Shelf\nadd Shelf Card/0\nset Shelf Card/0 description " + value + "\n";
    QStringList expected;  // the tree text, blank lines left out
    for (int i = 0; i < 100; ++i) {
        node += "add Lp/" + QByteArray::number(i) + "\n";
        expected << QStringLiteral("Lp/%1").arg(i);
    }
    std::sort(expected.begin(), expected.end());
    expected << "Shelf"
             << " |"
             << " |--Card/0"
             << " |   |";
    TMainForm form;
    form.show();
    Open(form, WriteFile("print.txt", node));
    dialogs_.printAnswer = filesDir_.filePath("tree.pdf");
    QTest::mouseClick(form.findChild<QWidget*>("btnPrint"), Qt::LeftButton);
    QCOMPARE(dialogs_.messages.size(), std::size_t(1));
    QCOMPARE(dialogs_.messages[0].kind, MessageKind::Information);
    QCOMPARE(dialogs_.messages[0].text, QString("Structure was sent to printer."));

    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    QVERIFY2(!pdftotext.isEmpty(), "pdftotext (poppler-utils) is needed");
    QProcess process;
    process.start(pdftotext, {"-layout", dialogs_.printAnswer, "-"});
    QVERIFY(process.waitForFinished());
    const QString text = QString::fromUtf8(process.readAllStandardOutput());
    QVERIFY2(text.count('\f') >= 2, "the text fills more than one page");
    // The spaces of a proportional font come back approximately.
    QStringList lines;
    for (const QString& line : text.split('\n'))
        if (!line.simplified().isEmpty() && line != "\f") lines << QString(line).remove('\f').simplified();
    for (QString& line : expected) line = line.simplified();
    QCOMPARE(lines.mid(0, expected.size()), expected);
    // The long line goes on over the next printed lines.
    const QStringList wrapped = lines.mid(expected.size());
    QVERIFY2(wrapped.size() >= 2, qPrintable(wrapped.join('\n')));
    QCOMPARE(wrapped.join(""), QString("| |--description = " + value));
}

void ShellTaskbarTest::printerErrorReachesUser() {
    TMainForm form;
    form.show();
    Open(form, WriteFile("print.txt"));
    dialogs_.printAnswer = filesDir_.filePath("no such folder/tree.pdf");
    QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
    Item(form, "btnPrint")->trigger();
    QCOMPARE(dialogs_.messages.size(), std::size_t(1));
    QCOMPARE(dialogs_.messages[0].kind, MessageKind::Error);
    QCOMPARE(dialogs_.messages[0].text, "Cannot create file \"" + dialogs_.printAnswer + "\"");
}

int main(int argc, char** argv) {
    oryx::shell::OryxApplication app(argc, argv);
    ShellTaskbarTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "shell_taskbar_test.moc"
