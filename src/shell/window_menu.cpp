#include "shell/window_menu.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

#include "doc/common/command.h"
#include "shell/window_arrange.h"

namespace oryx::shell {

WindowMenu::WindowMenu(QMenu* menu, QMdiArea& area, std::function<QMdiSubWindow*()> activeWindow)
    : QObject(menu), menu_(menu), area_(area), activeWindow_(std::move(activeWindow)) {
    struct Arrangement {
        const char* name;
        const char* caption;
        const char* hint;
        std::function<void()> run;
    };
    const Arrangement arrangements[] = {
        {"WindowCascadeItem", "&Cascade", "Arrange windows to overlap", [this] { area_.cascadeSubWindows(); }},
        {"WindowTileItem", "&Tile", "Arrange windows without overlap", [this] { TileHorizontally(area_); }},
        {"WindowArrangeItem", "&Arrange Icons", "Arrange window icons at bottom of main window",
         [this] { ArrangeIcons(area_); }},
        {"WindowMinimizeItem", "&Minimize All", "Minimize all windows", [this] { MinimizeAll(area_); }},
    };
    QWidget* window = menu->parentWidget();
    for (const Arrangement& arrangement : arrangements) {
        auto* item = new QAction(arrangement.caption, window);
        item->setObjectName(arrangement.name);
        item->setStatusTip(arrangement.hint);
        connect(item, &QAction::triggered, this, doc::Command(arrangement.run));
        arrangeItems_.push_back(item);
    }
    menu_->setObjectName("Window1");
    menu_->menuAction()->setStatusTip("Window related commands such as Tile and Cascade");
    connect(menu_, &QMenu::aboutToShow, this, &WindowMenu::Rebuild);
    Rebuild();
}

void WindowMenu::Rebuild() {
    menu_->clear();
    for (QAction* item : arrangeItems_) menu_->addAction(item);
    QMdiSubWindow* active = activeWindow_();
    int number = 0;
    for (QMdiSubWindow* window : area_.subWindowList()) {
        if (window->isHidden()) continue;
        if (number == 0) menu_->addSeparator();
        ++number;
        // A minimised window shows only its file name; the menu names the whole title.
        const QString title = window->widget() && !window->widget()->windowTitle().isEmpty()
                                  ? window->widget()->windowTitle()
                                  : window->windowTitle();
        const QString text = number < 10 ? QStringLiteral("&%1 %2").arg(number).arg(title)
                                         : QStringLiteral("%1 %2").arg(number).arg(title);
        QAction* item = menu_->addAction(text);
        item->setCheckable(true);
        item->setChecked(window == active);
        connect(item, &QAction::triggered, window, doc::Command([this, window] {
                    if (window->isMinimized()) window->showNormal();
                    area_.setActiveSubWindow(window);
                }));
    }
}

}  // namespace oryx::shell
