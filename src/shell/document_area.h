#pragma once

#include <QObject>
#include <QString>

class QMdiArea;
class QMdiSubWindow;
class QWidget;

namespace oryx::doc {
class DocumentHost;
class TMDIChild;
}  // namespace oryx::doc

namespace oryx::shell {

// The area of the main window that holds the document windows ("ClientArea"):
// opening a file into a new window, finding the active one, and bringing a
// window to the front.
class DocumentArea final : public QObject {
    Q_OBJECT

public:
    explicit DocumentArea(QWidget* parent);

    QMdiArea* Area() const { return area_; }

    // Opens the file in a new window named `name`. The window shows, with its
    // "Please Wait" caption, while the file is read; one that cannot be read
    // throws and leaves no window behind.
    doc::TMDIChild& Open(const QString& path, doc::DocumentHost* host, const QString& name, bool maximized);

    // The document window commands act on; null when none is open.
    QMdiSubWindow* ActiveWindow() const;
    doc::TMDIChild* ActiveDocument() const;
    // Document windows open now (closed ones that still await deletion not counted).
    int DocumentCount() const;
    // Brings the document window of that name to the front, restoring it when
    // it is minimised; null when there is none.
    doc::TMDIChild* Activate(const QString& name);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    // A document window opened, went or became the active one.
    void documentsChanged();

private:
    QMdiArea* area_;
};

}  // namespace oryx::shell
