#pragma once
#include <QString>

#include "reports/report_registry.h"

namespace oryx::doc {
// What a document window needs of the main window.
class DocumentHost {
public:
    virtual ~DocumentHost() = default;
    // Check marks of the main window's items of the fixed reports.
    virtual void SetReportChecked(reports::ReportId report, bool checked) = 0;
    // The check mark of the Problems item; none by default.
    virtual void SetProblemsChecked(bool checked) { (void)checked; }
    // The document window named windowName is closing (its taskbar button goes).
    virtual void DocumentClosing(const QString& windowName) = 0;
    // The rules file the Problems list checks with; none by default.
    virtual QString RulesFile() const { return {}; }
    // The document window named windowName has counted its problems anew.
    virtual void ProblemsCounted(const QString& windowName) { (void)windowName; }
};
}  // namespace oryx::doc
