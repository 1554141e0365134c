#include "shell/window_arrange.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>

#include <algorithm>
#include <cmath>

namespace oryx::shell {

void ArrangeIcons(QMdiArea& area) {
    const QRect space = area.viewport()->rect();
    int left = 0;
    int bottom = space.bottom() + 1;
    int rowHeight = 0;
    for (QMdiSubWindow* window : area.subWindowList()) {
        if (window->isHidden() || !window->isMinimized()) continue;
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

void TileHorizontally(QMdiArea& area) {
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* window : area.subWindowList())
        if (!window->isHidden() && !window->isMinimized()) windows << window;
    const int count = static_cast<int>(windows.size());
    if (count == 0) return;
    const QRect space = area.viewport()->rect();
    const int columns = count <= 3 ? 1 : static_cast<int>(std::sqrt(count));
    int next = 0;
    for (int column = 0; column < columns; ++column) {
        // The windows left over after an even share go to the last columns.
        const int rows = count / columns + (column >= columns - count % columns ? 1 : 0);
        const int left = space.width() * column / columns;
        const int right = space.width() * (column + 1) / columns;
        for (int row = 0; row < rows; ++row, ++next) {
            const int top = space.height() * row / rows;
            const int bottom = space.height() * (row + 1) / rows;
            QMdiSubWindow* window = windows[next];
            if (window->isMaximized()) window->showNormal();
            window->setGeometry(left, top, right - left, bottom - top);
        }
    }
}

void MinimizeAll(QMdiArea& area) {
    const QList<QMdiSubWindow*> windows = area.subWindowList();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) (*it)->showMinimized();
}

void PlaceNewWindow(QMdiArea& area, QMdiSubWindow& window) {
    const QSize room = area.viewport()->size();
    window.resize(window.size().boundedTo(room));
    const int step = std::max(window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window), 1);
    const int steps =
        std::max(0, std::min((room.width() - window.width()) / step, (room.height() - window.height()) / step));
    int before = 0;
    for (const QMdiSubWindow* other : area.subWindowList())
        if (other != &window && !other->isHidden() && !other->isMinimized()) ++before;
    const int at = before % (steps + 1);
    window.move(at * step, at * step);
}

}  // namespace oryx::shell
