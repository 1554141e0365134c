#include "shell/window_geometry.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

#include "shell/app_settings.h"

namespace oryx::shell {

QRect FirstRunGeometry(const QRect& available) {
    QRect rect(0, 0, available.width() * 4 / 5, available.height() * 4 / 5);
    rect.moveCenter(available.center());
    return rect;
}

QRect PlaceOnScreens(const QRect& stored, const QList<QRect>& screens) {
    // The strip along the top, below the title bar, has to be within reach.
    const QRect top(stored.left(), stored.top(), stored.width(), std::min(stored.height(), 20));
    for (const QRect& screen : screens) {
        const QRect reachable = screen.intersected(top);
        if (reachable.width() < std::min(stored.width(), 100) || reachable.height() < top.height()) continue;
        // Within the screen as a whole, the size first, then the place.
        QRect placed(stored.topLeft(), stored.size().boundedTo(screen.size()));
        placed.moveLeft(std::clamp(placed.left(), screen.left(), screen.right() - placed.width() + 1));
        placed.moveTop(std::clamp(placed.top(), screen.top(), screen.bottom() - placed.height() + 1));
        return placed;
    }
    return {};
}

void RestoreWindowGeometry(QWidget& window, AppSettings& settings) {
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) screens << screen->availableGeometry();
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary) return;
    const std::optional<AppSettings::WindowPlacement> stored = settings.MainWindowPlacement();
    const QRect placed = stored ? PlaceOnScreens(stored->normal, screens) : QRect();
    window.setGeometry(placed.isNull() ? FirstRunGeometry(primary->availableGeometry()) : placed);
    if (stored && stored->maximized) window.setWindowState(window.windowState() | Qt::WindowMaximized);
}

void StoreWindowGeometry(const QWidget& window, AppSettings& settings) {
    const QRect normal = window.normalGeometry();
    if (normal.isValid())
        settings.StoreMainWindowPlacement({normal, window.windowState().testFlag(Qt::WindowMaximized)});
}

}  // namespace oryx::shell
