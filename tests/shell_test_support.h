#pragma once
// What the main window's tests share: dialogs answered by the test, the
// settings store as the program sees it, and finding windows and items.
#include <QAction>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPrinter>
#include <QStringList>
#include <QTemporaryDir>
#include <vector>

#include "fake_dialogs.h"
#include "settings/registry_enhanced.h"
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

// Writes a file of the test into `dir`; one that cannot be written ends the run.
inline QString WriteTestFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

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
