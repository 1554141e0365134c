#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QMdiArea;
class QMdiSubWindow;
class QWidget;

namespace oryx::doc {
class TMDIChild;
}  // namespace oryx::doc

namespace oryx::shell {

class Taskbar;

// The area of the main window that holds the document and compare windows
// ("ClientArea"), with the taskbar of their buttons: opening a window,
// finding the active one, and bringing a window to the front.
class DocumentArea final : public QObject {
    Q_OBJECT

public:
    DocumentArea(QWidget* parent, Taskbar& taskbar);

    QMdiArea* Area() const { return area_; }

    // Opens a window, the one way for every kind: its pressed taskbar button
    // captioned `caption` shows at once; `make` builds the window's content
    // under the hourglass, and `fill`, when given, fills it once the window
    // shows. The window takes the next number n: it is "MDIChild" + n, its
    // button "MyButton" + n. It opens maximized or not, joins the Window menu
    // and becomes the active one. When `make` or `fill` throws, neither the
    // window nor its button remains and no number is used.
    QMdiSubWindow& OpenWindow(const QString& caption, const QString& wholeName, bool maximized,
                              const std::function<QWidget*()>& make, const std::function<void()>& fill = {});

    // The window commands act on; null when none is open.
    QMdiSubWindow* ActiveWindow() const;
    doc::TMDIChild* ActiveDocument() const;
    // Document windows open now (closed ones that still await deletion not counted).
    int DocumentCount() const;
    // Brings the window of that name to the front, restoring it when it is
    // minimised; null when there is none.
    QMdiSubWindow* Activate(const QString& name);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    // A window opened, went or became the active one.
    void documentsChanged();

private:
    QMdiArea* area_;
    Taskbar& taskbar_;
    int windowCounter_ = 0;  // windows opened so far
};

}  // namespace oryx::shell
