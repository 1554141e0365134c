// Every control a user can operate has a name a screen reader can say: the
// main window, a document window with its find bar and a report on show, the
// compare window and the options dialog, walked through QAccessible as an
// assistive technology sees them.
#include <QAccessible>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QtTest>

#include "doc/compare/compare_window.h"
#include "doc/document/mdi_child.h"
#include "reports/report_registry.h"
#include "settings/settings_folder.h"
#include "shell/application.h"
#include "shell/main_form.h"
#include "shell/options_form.h"
#include "shell_test_support.h"

using namespace shelltest;

namespace {

constexpr char kNode[] = R"(start prov
add AtmIf/1
set AtmIf/1 interfaceName atm1
add AtmIf/1 Vcc/0.32
add Shelf
add Shelf Card/0
set Shelf Card/0 cardType aal1Ces
)";

constexpr char kLater[] = R"(start prov
add AtmIf/1
set AtmIf/1 interfaceName atm2
add Shelf
add Shelf Card/0
set Shelf Card/0 cardType aal1Ces
add Vr/1
)";

// The roles of what a user operates: buttons, boxes, fields, lists, menus.
// Scroll bars belong to the view they scroll, which carries the name.
bool IsInteractive(QAccessible::Role role) {
    switch (role) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::SpinBox:
    case QAccessible::Slider:
    case QAccessible::Dial:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
    case QAccessible::ButtonDropGrid:
    case QAccessible::HotkeyField:
    case QAccessible::PageTabList:
    case QAccessible::PageTab:
    case QAccessible::List:
    case QAccessible::Tree:
    case QAccessible::Table:
    case QAccessible::MenuItem: return true;
    default: return false;
    }
}

// The rows and cells of a view are its content, not controls of their own.
bool IsView(QAccessible::Role role) {
    return role == QAccessible::List || role == QAccessible::Tree || role == QAccessible::Table;
}

QString Describe(QAccessibleInterface& control) {
    QObject* object = control.object();
    return QStringLiteral("%1 '%2' (role 0x%3)")
        .arg(object ? QString::fromLatin1(object->metaObject()->className()) : QStringLiteral("?"),
             object ? object->objectName() : QString())
        .arg(int(control.role()), 0, 16);
}

// Walks what an assistive technology reaches from `root`: the named and the
// unnamed interactive controls that show.
void Walk(QAccessibleInterface* node, int& named, QStringList& unnamed) {
    if (!node || !node->isValid() || node->state().invisible) return;
    const QAccessible::Role role = node->role();
    if (IsInteractive(role)) {
        if (node->text(QAccessible::Name).trimmed().isEmpty())
            unnamed << Describe(*node);
        else
            ++named;
    }
    if (IsView(role)) return;
    for (int i = 0; i < node->childCount(); ++i) Walk(node->child(i), named, unnamed);
}

}  // namespace

class ShellAccessibilityTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        node_ = folders_.Write("node.txt", kNode);
        later_ = folders_.Write("later.txt", kLater);
    }

    void everyInteractiveControlHasAName_data() {
        QTest::addColumn<QString>("window");
        for (const char* window : {"main window", "document window", "compare window", "options dialog"})
            QTest::newRow(window) << QString::fromLatin1(window);
    }

    void everyInteractiveControlHasAName() {
        QFETCH(QString, window);
        FakeDialogs dialogs;
        TMainForm form;
        form.resize(1000, 700);
        form.show();
        OpenWithDialog(form, dialogs, node_);
        auto* document = form.ActiveDocument();
        QVERIFY(document);
        document->ShowFindBar();
        document->ShowReport(oryx::reports::ReportId::AtmIfVcc);
        QWidget* root = &form;
        if (window == "document window") {
            root = document;
        } else if (window == "compare window") {
            dialogs.openAnswers << later_;
            Item(form, "FileCompareItem")->trigger();
            root = form.findChild<oryx::doc::CompareWindow*>();
        } else if (window == "options dialog") {
            auto* options = form.findChild<oryx::shell::TOptionsForm*>();
            QVERIFY(options);
            options->show();
            root = options;
        }
        QVERIFY(root);
        QVERIFY(QTest::qWaitForWindowExposed(root->window()));

        int named = 0;
        QStringList unnamed;
        Walk(QAccessible::queryAccessibleInterface(root), named, unnamed);
        qInfo("%s: %d named controls", qPrintable(window), named);
        QVERIFY2(unnamed.isEmpty(), qPrintable("without an accessible name:\n  " + unnamed.join("\n  ")));
        QVERIFY(named > 0);
    }

private:
    TestFolders folders_;
    QString node_;
    QString later_;
};

ORYX_SHELL_TEST_MAIN(ShellAccessibilityTest)

#include "shell_accessibility_test.moc"
