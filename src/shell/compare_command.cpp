#include "shell/compare_command.h"

#include <QAbstractButton>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>

#include "doc/common/dialogs.h"
#include "doc/common/wait_cursor.h"
#include "doc/compare/compare_window.h"
#include "doc/document/mdi_child.h"
#include "shell/main_form.h"
#include "shell/taskbar.h"
#include "shell/window_arrange.h"

namespace oryx::shell {

CompareCommand::CompareCommand(TMainForm& form, QMdiArea& area, Taskbar& taskbar, int& windowCounter)
    : QObject(&form), form_(form), area_(area), taskbar_(taskbar), windowCounter_(windowCounter) {
    connect(&taskbar_, &Taskbar::windowRequested, this, &CompareCommand::Activate);
}

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
    QPointer<QAbstractButton> previouslyPressed = taskbar_.PressedButton();
    const int number = windowCounter_ + 1;
    const QString caption = QFileInfo(firstFile).fileName() + QStringLiteral(" vs ") + QFileInfo(secondFile).fileName();
    QPushButton* button = taskbar_.AddButton(
        caption, QDir::toNativeSeparators(firstFile) + QStringLiteral(" vs ") + QDir::toNativeSeparators(secondFile),
        number);
    doc::CompareWindow* comparison = nullptr;
    try {
        const doc::WaitCursor hourglass;
        comparison = new doc::CompareWindow(&form_, firstFile, secondFile);
    } catch (...) {
        taskbar_.DiscardButton(button, previouslyPressed);
        throw;
    }
    windowCounter_ = number;
    // Maximized beside maximized document windows, as the area shows one window at a time then.
    const QMdiSubWindow* active = form_.ActiveDocumentWindow();
    const bool maximized = active && active->isMaximized();
    QMdiSubWindow* window = area_.addSubWindow(comparison);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(comparison->windowTitle());
    window->setWindowIcon(comparison->windowIcon());
    const QString name = Taskbar::WindowName(number);
    window->setObjectName(name);
    comparison->setObjectName(name);
    // The commands' state is settled again once the window is gone.
    connect(window, &QObject::destroyed, &form_, &TMainForm::UpdateMenuItems, Qt::QueuedConnection);
    PlaceNewWindow(area_, *window);
    if (maximized)
        window->showMaximized();
    else
        window->show();
    area_.setActiveSubWindow(window);
    form_.UpdateMenuItems();
}

int CompareCommand::WindowCount() const {
    int count = 0;
    for (const QMdiSubWindow* window : area_.subWindowList())
        if (!window->isHidden() && IsCompareWindow(window)) ++count;
    return count;
}

bool CompareCommand::IsCompareWindow(const QMdiSubWindow* window) {
    return window && qobject_cast<const doc::CompareWindow*>(window->widget());
}

void CompareCommand::Activate(const QString& windowName) {
    for (QMdiSubWindow* window : area_.subWindowList())
        if (window->objectName() == windowName && IsCompareWindow(window)) area_.setActiveSubWindow(window);
}

}  // namespace oryx::shell
