#pragma once

#include <QMdiSubWindow>
#include <QString>

#include "shell/main_form.h"

namespace oryx::testing {

// The README's pictures: the main window at 1280×800 with `file` open in a
// maximized document window.
inline void OpenForScreenshot(shell::TMainForm& form, const char* file) {
    form.resize(1280, 800);
    form.show();
    form.OpenWithTaskbarButton(QString::fromLocal8Bit(file));
    form.ActiveDocumentWindow()->showMaximized();
}

}  // namespace oryx::testing
