#pragma once
// What the main window's tests share: dialogs answered by the test, the
// test's folders, the settings store as the program sees it, finding windows
// and items, and the test's main.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPrinter>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <vector>

#include "fake_dialogs.h"
#include "settings/registry_enhanced.h"
#include "settings/settings_folder.h"
#include "shell/application.h"
#include "shell/main_form.h"

namespace shelltest {

using oryx::doc::MessageKind;
using oryx::shell::TMainForm;

using oryx::testing::FakeDialogs;

inline oryx::settings::TRegistryEnhanced SettingsStore() {
    oryx::settings::TRegistryEnhanced reg;
    reg.RootKey = oryx::settings::TRootKey::hkLocalMachine;
    reg.Key = "\\SOFTWARE\\Corvex\\ORYX\\";
    return reg;
}

// The folders of a window test: a settings folder of its own, so the user's
// settings stay untouched, and a folder for the files it opens.
class TestFolders {
public:
    TestFolders() {
        if (!settings.isValid() || !files.isValid()) qFatal("cannot make the test's folders");
        oryx::settings::OverrideSettingsFolder(settings.path().toStdString());
    }
    ~TestFolders() { oryx::settings::OverrideSettingsFolder({}); }
    TestFolders(const TestFolders&) = delete;
    TestFolders& operator=(const TestFolders&) = delete;

    // Forgets every stored setting, as before a new test.
    void ClearSettings() const {
        QDir folder(settings.path());
        for (const QString& file : folder.entryList(QDir::Files | QDir::Hidden)) folder.remove(file);
    }

    // Writes a file of the test; one that cannot be written ends the run.
    QString Write(const QString& name, const QByteArray& bytes) const {
        const QString path = files.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    QTemporaryDir settings;
    QTemporaryDir files;
};

inline QStringList WindowNames(TMainForm& form) {
    QStringList names;
    for (QMdiSubWindow* window : form.findChild<QMdiArea*>()->subWindowList())
        if (!window->isHidden()) names << window->objectName();
    return names;
}

inline QAction* Item(TMainForm& form, const char* name) {
    auto* item = form.findChild<QAction*>(name);
    if (!item) qFatal("no item %s", name);
    return item;
}

// Opens `path` with File | Open, the dialog answered with it.
inline void OpenWithDialog(TMainForm& form, FakeDialogs& dialogs, const QString& path) {
    dialogs.openAnswers << path;
    Item(form, "FileOpenItem")->trigger();
}

// A control of a window or dialog, by its object name.
template <typename Widget>
Widget* Control(QObject& window, const char* name) {
    auto* control = window.findChild<Widget*>(name);
    if (!control) qFatal("no control %s", name);
    return control;
}

// The names of the report items whose check mark is set.
inline QStringList CheckedReportItems(TMainForm& form) {
    QStringList names;
    for (QAction* item : form.findChild<QMenu*>("popReportMenu")->actions())
        if (item->isChecked()) names << item->objectName();
    return names;
}

}  // namespace shelltest

// The main of a window test: the program's own application object, so an
// error no command caught reaches its last resort, and a run in which one
// did fails.
#define ORYX_SHELL_TEST_MAIN(TestClass)                                             \
    int main(int argc, char** argv) {                                               \
        oryx::shell::OryxApplication app(argc, argv);                               \
        TestClass test;                                                             \
        const int failed = QTest::qExec(&test, argc, argv);                         \
        const int uncaught = oryx::shell::OryxApplication::UncaughtErrorCount();    \
        if (uncaught > 0) qCritical("%d error(s) escaped every command", uncaught); \
        return failed + uncaught;                                                   \
    }
