#pragma once
// What the main window's tests share: dialogs answered by the test, the
// settings store as the program sees it, and finding windows and items.
#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPrinter>
#include <QStringList>
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
