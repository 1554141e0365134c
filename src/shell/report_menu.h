#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <map>
#include <vector>

#include "reports/report_registry.h"

class QAction;
class QMenu;
class QWidget;

namespace oryx::doc {
class TMDIChild;
}

namespace oryx::shell {

// The report menu ("popReportMenu", the toolbar's Reports drop-down): one
// checkable item per fixed report, made from the report tables, then a
// separator and one item per custom report of the configuration file. The
// items' check marks show which report the active document window shows.
class ReportMenu final : public QObject {
    Q_OBJECT

public:
    // `runFixed` and `runCustom` run a chosen report on the active document.
    ReportMenu(QWidget* window, std::function<void(reports::ReportId)> runFixed,
               std::function<void(const QString& section)> runCustom, std::function<void()> runProblems = {});
    // Runs a chosen report on the document window `activeDocument` gives,
    // with the hourglass while a fixed report builds; nothing without one.
    ReportMenu(QWidget* window, const std::function<doc::TMDIChild*()>& activeDocument);

    // "ORYX Reports.cfg" in the folder of the running executable.
    static QString ConfigFile();

    QMenu* Menu() const { return menu_; }
    // Shows the same items, with the same marks, in `menu` too (the menu
    // bar's Reports menu), custom reports added later included.
    void ShareWith(QMenu* menu);
    QAction* Item(reports::ReportId id) const { return items_.at(id); }
    // "&Problems", after the custom reports.
    QAction* ProblemsItem() const { return problems_; }

    // Adds the custom reports of the configuration file, when there is one.
    void AddCustomReports(const QString& configFile);

    void SetChecked(reports::ReportId id, bool checked);
    void SetProblemsChecked(bool checked);
    void ClearChecks();
    // Sets every mark from the lists the document window shows.
    void ShowChecksOf(const doc::TMDIChild& document);

private:
    QMenu* menu_;
    std::vector<QMenu*> menus_;  // menu_ and the menus sharing its items
    std::map<reports::ReportId, QAction*> items_;
    QAction* separator_;
    std::function<void(const QString&)> runCustom_;
    QAction* problems_ = nullptr;
    QAction* problemsSeparator_ = nullptr;
};

}  // namespace oryx::shell
