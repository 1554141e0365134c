#pragma once

#include <QObject>
#include <QString>

class QMdiArea;
class QMdiSubWindow;

namespace oryx::shell {

class Taskbar;
class TMainForm;

// File | Compare With...: compares the active document's file with another
// file in a compare window beside the document windows. A compare window
// takes the next window number as a document window would, so its taskbar
// button ("MyButton" + n) and its window ("MDIChild" + n) find each other by
// name, and its closing takes the button away.
class CompareCommand final : public QObject {
public:
    // `windowCounter` is the main window's count of windows opened.
    CompareCommand(TMainForm& form, QMdiArea& area, Taskbar& taskbar, int& windowCounter);

    // Asks for the second file, then opens the compare window; does nothing
    // unless a document window is active.
    void CompareActiveDocument();
    // Reads both files under the hourglass and opens their compare window
    // behind a new taskbar button. A file that cannot be read throws; then
    // neither the button nor a window remains and no number is used.
    void Open(const QString& firstFile, const QString& secondFile);

    // Compare windows open now (closed ones that await deletion not counted).
    int WindowCount() const;
    static bool IsCompareWindow(const QMdiSubWindow* window);

private:
    void Activate(const QString& windowName);

    TMainForm& form_;
    QMdiArea& area_;
    Taskbar& taskbar_;
    int& windowCounter_;
};

}  // namespace oryx::shell
