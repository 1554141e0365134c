#pragma once
#include <QString>
namespace oryx::doc {
// What a document window needs of the main window.
class DocumentHost {
public:
    virtual ~DocumentHost() = default;
    // Check marks of the eight report items of the main window (report codes 1..8).
    virtual void SetReportChecked(int reportCode, bool checked) = 0;
    // The document window named windowName is closing (its taskbar button goes).
    virtual void DocumentClosing(const QString& windowName) = 0;
};
}  // namespace oryx::doc
