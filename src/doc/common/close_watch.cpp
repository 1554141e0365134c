#include "doc/common/close_watch.h"

#include <QEvent>
#include <QMdiSubWindow>
#include <QWidget>

namespace oryx::doc {

CloseWatch::CloseWatch(QWidget& window, std::function<void()> release)
    : QObject(&window), window_(window), release_(std::move(release)) {
    window_.installEventFilter(this);
}

void CloseWatch::Release() {
    if (released_) return;
    released_ = true;
    release_();
}

bool CloseWatch::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_) {
        if (event->type() == QEvent::ParentAboutToChange) {
            if (QWidget* frame = window_.parentWidget()) frame->removeEventFilter(this);
        } else if (event->type() == QEvent::ParentChange) {
            if (auto* frame = qobject_cast<QMdiSubWindow*>(window_.parentWidget())) frame->installEventFilter(this);
        } else if (event->type() == QEvent::Close) {
            Release();
        }
    } else if (event->type() == QEvent::Close && watched == window_.parentWidget()) {
        // A frame asks its widget to close first; this covers one closed without asking.
        Release();
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace oryx::doc
