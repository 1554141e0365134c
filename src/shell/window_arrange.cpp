#include "shell/window_arrange.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace oryx::shell {

void ArrangeIcons(QMdiArea& area) {
    const QRect space = area.viewport()->rect();
    int left = 0;
    int bottom = space.bottom() + 1;
    int rowHeight = 0;
    for (QMdiSubWindow* window : area.subWindowList()) {
        if (window->isHidden() || !window->isMinimized())
            continue;
        const QSize size = window->size();
        if (left > 0 && left + size.width() > space.width()) {
            left = 0;
            bottom -= rowHeight;
            rowHeight = 0;
        }
        window->move(left, bottom - size.height());
        left += size.width();
        rowHeight = std::max(rowHeight, size.height());
    }
}

void MinimizeAll(QMdiArea& area) {
    const QList<QMdiSubWindow*> windows = area.subWindowList();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        (*it)->showMinimized();
}

}  // namespace oryx::shell
