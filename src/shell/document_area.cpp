#include "shell/document_area.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>

#include "doc/common/wait_cursor.h"
#include "doc/document/mdi_child.h"
#include "shell/taskbar.h"
#include "shell/window_arrange.h"

namespace oryx::shell {

DocumentArea::DocumentArea(QWidget* parent, Taskbar& taskbar)
    : QObject(parent), area_(new QMdiArea(parent)), taskbar_(taskbar) {
    area_->setObjectName("ClientArea");
    connect(area_, &QMdiArea::subWindowActivated, this, &DocumentArea::documentsChanged);
}

QMdiSubWindow& DocumentArea::OpenWindow(const QString& caption, const QString& wholeName, bool maximized,
                                        const std::function<QWidget*()>& make, const std::function<void()>& fill) {
    const doc::WaitCursor hourglass;
    const QPointer<QAbstractButton> previouslyPressed = taskbar_.PressedButton();
    const int number = windowCounter_ + 1;
    QPushButton* button = taskbar_.AddButton(caption, wholeName, number);
    QMdiSubWindow* window = nullptr;
    try {
        QWidget* content = make();
        // The size the window asks for, not its contents' size hint, within the area.
        const QSize size = content->size().boundedTo(area_->viewport()->size());
        window = area_->addSubWindow(content);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->setWindowTitle(content->windowTitle());
        window->resize(size);
        PlaceNewWindow(*area_, *window);
        if (maximized)
            window->showMaximized();
        else
            window->show();
        area_->setActiveSubWindow(window);
        if (fill) {
            // Drawn before it is filled, which may take a while; the user's
            // own input waits until the window is whole.
            window->repaint();
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            fill();
        }
    } catch (...) {
        if (window) {
            area_->removeSubWindow(window);
            delete window;
        }
        taskbar_.DiscardButton(button, previouslyPressed);
        throw;
    }
    windowCounter_ = number;
    QWidget* content = window->widget();
    window->setWindowTitle(content->windowTitle());
    window->setWindowIcon(content->windowIcon());
    window->installEventFilter(this);
    const QString name = Taskbar::WindowName(number);
    window->setObjectName(name);
    content->setObjectName(name);
    // A window that closes changes the count after the active-window signal
    // has already fired; look again once it is gone.
    connect(window, &QObject::destroyed, this, &DocumentArea::documentsChanged, Qt::QueuedConnection);
    emit documentsChanged();
    return *window;
}

bool DocumentArea::eventFilter(QObject* watched, QEvent* event) {
    // Minimised, a window is too narrow for its path, and every path would
    // show the same beginning: it shows its file name until it is restored.
    auto* window = qobject_cast<QMdiSubWindow*>(watched);
    auto* document = window ? qobject_cast<doc::TMDIChild*>(window->widget()) : nullptr;
    if (event->type() == QEvent::WindowStateChange && document)
        window->setWindowTitle(window->isMinimized() ? QFileInfo(document->windowTitle()).fileName()
                                                     : document->windowTitle());
    return QObject::eventFilter(watched, event);
}

int DocumentArea::DocumentCount() const {
    int count = 0;
    for (QMdiSubWindow* window : area_->subWindowList())
        if (!window->isHidden() && qobject_cast<doc::TMDIChild*>(window->widget())) ++count;
    return count;
}

QMdiSubWindow* DocumentArea::ActiveWindow() const {
    // currentSubWindow, not activeSubWindow: the latter is null whenever the
    // application itself is not the active one (another program in front).
    QMdiSubWindow* window = area_->currentSubWindow();
    return window && !window->isHidden() ? window : nullptr;
}

doc::TMDIChild* DocumentArea::ActiveDocument() const {
    QMdiSubWindow* window = ActiveWindow();
    return window ? qobject_cast<doc::TMDIChild*>(window->widget()) : nullptr;
}

QMdiSubWindow* DocumentArea::Activate(const QString& name) {
    const QList<QMdiSubWindow*> windows = area_->subWindowList();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        if ((*it)->objectName() != name) continue;
        if ((*it)->isMinimized()) (*it)->showNormal();
        area_->setActiveSubWindow(*it);
        return *it;
    }
    return nullptr;
}

}  // namespace oryx::shell
