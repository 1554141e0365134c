#pragma once

#include <QList>
#include <QRect>

class QWidget;

namespace oryx::shell {

class AppSettings;

// The main window's size, position and maximized state, kept between runs.

// Places the window, before it shows, where it was at the last close: in the
// same place when that is still on a screen (and no larger than that screen),
// maximized when it was. The first time, and when its place has gone with a
// screen, about 80% of the primary screen, centred.
void RestoreWindowGeometry(QWidget& window, AppSettings& settings);
// Stores the window's normal place and whether it is maximized.
void StoreWindowGeometry(const QWidget& window, AppSettings& settings);

// 80% of the screen's free area, centred in it.
QRect FirstRunGeometry(const QRect& available);
// The stored place as it is shown on the screens' free areas: null when the
// top of it is on none of them (it could not be grabbed and moved), else
// wholly inside the screen it is on, made smaller and moved as needed.
QRect PlaceOnScreens(const QRect& stored, const QList<QRect>& screens);

}  // namespace oryx::shell
