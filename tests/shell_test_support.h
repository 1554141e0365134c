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

#include "doc/dialogs.h"
#include "settings/registry_enhanced.h"
#include "shell/main_form.h"

namespace shelltest {

using oryx::doc::MessageKind;
using oryx::shell::TMainForm;

// Answers every dialog the windows show and records what was asked.
class FakeDialogs final : public oryx::doc::Dialogs {
public:
    struct Shown {
        MessageKind kind;
        QString caption;
        QString text;
    };

    QStringList openAnswers;  // taken front first; empty means Cancel
    QStringList openTitles;
    QStringList openFolders;  // the initial folder of each Open dialog
    QString saveAnswer;
    QStringList saveTitles;
    QString printAnswer;  // a PDF file to print into; empty means Cancel
    std::vector<Shown> messages;

    QString OpenFile(QWidget*, const QString& title, const QString&, const QString& initialDir) override {
        openTitles << title;
        openFolders << initialDir;
        return openAnswers.isEmpty() ? QString() : openAnswers.takeFirst();
    }
    QString SaveFile(QWidget*, const QString& title, const QString&, const QString&, const QString&, bool) override {
        saveTitles << title;
        return saveAnswer;
    }
    bool Message(QWidget*, MessageKind kind, const QString& caption, const QString& text) override {
        messages.push_back({kind, caption, text});
        return true;
    }
    bool Print(QWidget*, QPrinter& printer) override {
        if (printAnswer.isEmpty())
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printAnswer);
        return true;
    }
};

inline oryx::settings::TRegistryEnhanced SettingsStore() {
    oryx::settings::TRegistryEnhanced reg;
    reg.RootKey = oryx::settings::TRootKey::hkLocalMachine;
    reg.Key = "\\SOFTWARE\\Corvex\\ORYX\\";
    return reg;
}

inline QStringList WindowNames(TMainForm& form) {
    QStringList names;
    for (QMdiSubWindow* window : form.findChild<QMdiArea*>()->subWindowList())
        if (!window->isHidden())
            names << window->objectName();
    return names;
}

inline QAction* Item(TMainForm& form, const char* name) {
    auto* item = form.findChild<QAction*>(name);
    if (!item)
        qFatal("no item %s", name);
    return item;
}

// A control of a window or dialog, by its object name.
template <typename Widget>
Widget* Control(QObject& window, const char* name) {
    auto* control = window.findChild<Widget*>(name);
    if (!control)
        qFatal("no control %s", name);
    return control;
}

// The names of the report items whose check mark is set.
inline QStringList CheckedReportItems(TMainForm& form) {
    QStringList names;
    for (QAction* item : form.findChild<QMenu*>("popReportMenu")->actions())
        if (item->isChecked())
            names << item->objectName();
    return names;
}

}  // namespace shelltest
