#include "shell/document_area.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "doc/document/mdi_child.h"
#include "shell/window_arrange.h"

namespace oryx::shell {

DocumentArea::DocumentArea(QWidget* parent) : QObject(parent), area_(new QMdiArea(parent)) {
    area_->setObjectName("ClientArea");
    connect(area_, &QMdiArea::subWindowActivated, this, &DocumentArea::documentsChanged);
}

doc::TMDIChild& DocumentArea::Open(const QString& path, doc::DocumentHost* host, const QString& name, bool maximized) {
    auto* document = new doc::TMDIChild(host, path, doc::TMDIChild::LoadLater{});
    // The size the window asks for, not its contents' size hint, within the area.
    const QSize size = document->size().boundedTo(area_->viewport()->size());
    QMdiSubWindow* window = area_->addSubWindow(document);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(document->windowTitle());
    window->resize(size);
    PlaceNewWindow(*area_, *window);
    // A window that closes changes the count after the active-window signal
    // has already fired; look again once it is gone.
    connect(window, &QObject::destroyed, this, &DocumentArea::documentsChanged, Qt::QueuedConnection);
    if (maximized)
        window->showMaximized();
    else
        window->show();
    area_->setActiveSubWindow(window);
    // Drawn before the file is read, which may take a while; the user's own
    // input waits until the tree is there.
    window->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    try {
        document->Load();
    } catch (...) {
        area_->removeSubWindow(window);
        delete window;
        throw;
    }
    window->setWindowTitle(document->windowTitle());
    window->setWindowIcon(document->windowIcon());
    window->installEventFilter(this);
    window->setObjectName(name);
    document->setObjectName(name);
    return *document;
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

doc::TMDIChild* DocumentArea::Activate(const QString& name) {
    const QList<QMdiSubWindow*> windows = area_->subWindowList();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        auto* document = qobject_cast<doc::TMDIChild*>((*it)->widget());
        if (!document || (*it)->objectName() != name) continue;
        if ((*it)->isMinimized()) (*it)->showNormal();
        area_->setActiveSubWindow(*it);
        return document;
    }
    return nullptr;
}

}  // namespace oryx::shell
