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
    // The rules file the Problems list checks with; none by default.
    virtual QString RulesFile() const { return {}; }
    // The document window named windowName has counted its problems anew.
    virtual void ProblemsCounted(const QString& windowName) { (void)windowName; }
};
}  // namespace oryx::doc
