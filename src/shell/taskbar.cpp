// The taskbar of window buttons and the options that size and show it. The
// calls stand where the command sequences need them; the buttons and the
// options dialog come with the taskbar work.
#include "shell/main_form.h"

namespace oryx::shell {

// Minimal: no button is made yet.
void TMainForm::AddTaskbarButton(const QString& caption) {
    Q_UNUSED(caption);
}

// Minimal: there is no button to remove yet.
void TMainForm::RemoveTaskbarButton(const QString& windowName) {
    Q_UNUSED(windowName);
}

// Minimal: the options dialog does not exist yet, so there is nothing to apply.
void TMainForm::ApplyOptions() {}

// Minimal: the options dialog does not exist yet; the item stays disabled.
void TMainForm::miOptionsClick() {}

}  // namespace oryx::shell
