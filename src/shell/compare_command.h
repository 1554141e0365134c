#pragma once

#include <QObject>
#include <QString>

class QMdiSubWindow;

namespace oryx::shell {

class DocumentArea;
class TMainForm;

// File | Compare With...: compares the active document's file with another
// file in a compare window beside the document windows. A compare window
// opens as a document window does (DocumentArea::OpenWindow): it takes the
// next window number and a taskbar button, and its closing takes the button
// away.
class CompareCommand final : public QObject {
public:
    CompareCommand(TMainForm& form, DocumentArea& documents);

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
    TMainForm& form_;
    DocumentArea& documents_;
};

}  // namespace oryx::shell
