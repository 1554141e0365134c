#include "shell/compare_command.h"

#include <QAbstractButton>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "doc/common/dialogs.h"
#include "doc/common/wait_cursor.h"
#include "doc/compare/compare_window.h"
#include "doc/document/mdi_child.h"
#include "shell/document_area.h"
#include "shell/main_form.h"
#include "shell/taskbar.h"
#include "shell/window_arrange.h"

namespace oryx::shell {

CompareCommand::CompareCommand(TMainForm& form, DocumentArea& documents)
    : QObject(&form), form_(form), documents_(documents) {}

void CompareCommand::CompareActiveDocument() {
    const doc::TMDIChild* document = form_.ActiveDocument();
    if (!document) return;
    const QString first = document->FileName();
    // The file to compare with is most often beside the first one.
    const QString second = doc::CurrentDialogs().OpenFile(
        &form_, QStringLiteral("Compare With"), QStringLiteral("All files (*)"), QFileInfo(first).absolutePath());
    if (second.isEmpty()) return;
    Open(first, second);
}

void CompareCommand::Open(const QString& firstFile, const QString& secondFile) {
    const QString caption = QFileInfo(firstFile).fileName() + QStringLiteral(" vs ") + QFileInfo(secondFile).fileName();
    // Maximized beside maximized document windows, as the area shows one window at a time then.
    const QMdiSubWindow* active = documents_.ActiveWindow();
    documents_.OpenWindow(
        caption, QDir::toNativeSeparators(firstFile) + QStringLiteral(" vs ") + QDir::toNativeSeparators(secondFile),
        active && active->isMaximized(), [&] { return new doc::CompareWindow(&form_, firstFile, secondFile); });
}

int CompareCommand::WindowCount() const {
    int count = 0;
    for (const QMdiSubWindow* window : documents_.Area()->subWindowList())
        if (!window->isHidden() && IsCompareWindow(window)) ++count;
    return count;
}

bool CompareCommand::IsCompareWindow(const QMdiSubWindow* window) {
    return window && qobject_cast<const doc::CompareWindow*>(window->widget());
}

}  // namespace oryx::shell
