// The recent-files list of the main window. The list lives for the run: the
// Open command puts each new file in front. Persisting it in the settings
// store and showing it in the File menu and the Open button's drop-down come
// with the recent-files work; the slots and the handler are in place.
#include <QFileInfo>

#include "shell/main_form.h"

namespace oryx::shell {

namespace {
constexpr int kMaxRecentFiles = 13;
}

void TMainForm::RememberRecentFile(const QString& path) {
    if (!RecentFiles.contains(path, Qt::CaseInsensitive)) {
        RecentFiles.prepend(path);
        while (RecentFiles.size() > kMaxRecentFiles)
            RecentFiles.removeLast();
    }
    openDialogFolder_ = QFileInfo(RecentFiles.first()).absolutePath();
}

// Minimal until the list is stored: nothing is read at start.
void TMainForm::LoadRecentFiles() {}

// Minimal until the list is stored: nothing is written at close.
void TMainForm::SaveRecentFiles() {}

// Minimal until the menus show the list: every slot stays hidden.
void TMainForm::File1Click() {
    for (QAction* slot : miMRU)
        slot->setVisible(false);
    for (QAction* slot : popMRU)
        slot->setVisible(false);
}

// Minimal: no slot is ever shown yet, so none can be chosen.
void TMainForm::miMRU1Click() {}

}  // namespace oryx::shell
