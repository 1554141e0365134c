#pragma once

#include <QObject>

#include <functional>
#include <vector>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QWidget;

namespace oryx::shell {

// The Window menu ("Window1"): Cascade, Tile, Arrange Icons and Minimize All
// over the document area, then one numbered item per open window, the
// active one checked; the list is made afresh each time the menu opens.
class WindowMenu final : public QObject {
    Q_OBJECT

public:
    // `menu` is the menu bar's Window menu; `activeWindow` gives the window
    // commands act on (null when none is open).
    WindowMenu(QMenu* menu, QMdiArea& area, std::function<QMdiSubWindow*()> activeWindow);

    // The arrangement items, enabled only while a document window is open.
    const std::vector<QAction*>& ArrangeItems() const { return arrangeItems_; }
    void Rebuild();

private:
    QMenu* menu_;
    QMdiArea& area_;
    std::function<QMdiSubWindow*()> activeWindow_;
    std::vector<QAction*> arrangeItems_;
};

}  // namespace oryx::shell
