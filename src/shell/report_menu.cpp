#include "shell/report_menu.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QMenu>

#include "doc/common/command.h"
#include "doc/common/text_codec.h"
#include "doc/common/wait_cursor.h"
#include "doc/document/mdi_child.h"
#include "doc/report/report_window_info.h"
#include "reports/custom_report.h"
#include "reports/report_config.h"

namespace oryx::shell {

ReportMenu::ReportMenu(QWidget* window, std::function<void(reports::ReportId)> runFixed,
                       std::function<void(const QString&)> runCustom, std::function<void()> runProblems)
    : QObject(window), menu_(new QMenu(window)), runCustom_(std::move(runCustom)) {
    menu_->setObjectName("popReportMenu");
    for (const doc::ReportWindowInfo& shown : doc::ReportWindowTable()) {
        auto* item = new QAction(QString::fromLatin1(shown.menuCaption), window);
        item->setObjectName(QString::fromLatin1(shown.menuItemName));
        item->setStatusTip(QString::fromLatin1(shown.menuHint));
        // A click flips the item's own mark; the report panel then sets
        // every mark afresh, so the flip never shows.
        item->setCheckable(true);
        connect(item, &QAction::triggered, this, doc::Command([runFixed, id = shown.id] { runFixed(id); }));
        menu_->addAction(item);
        items_[shown.id] = item;
    }
    separator_ = menu_->addSeparator();
    separator_->setObjectName("miReportMenuSeparator");
    separator_->setVisible(false);
    problemsSeparator_ = menu_->addSeparator();
    problems_ = menu_->addAction(QStringLiteral("&Problems"));
    problems_->setObjectName(QStringLiteral("miProblems"));
    problems_->setStatusTip(QStringLiteral("Findings of the checks in the current file"));
    problems_->setCheckable(true);
    connect(problems_, &QAction::triggered, this, doc::Command([runProblems = std::move(runProblems)] {
                if (runProblems) runProblems();
            }));
    menus_.push_back(menu_);
}

void ReportMenu::ShareWith(QMenu* menu) {
    menu->addActions(menu_->actions());
    menus_.push_back(menu);
}

ReportMenu::ReportMenu(QWidget* window, const std::function<doc::TMDIChild*()>& activeDocument)
    : ReportMenu(
          window,
          [activeDocument](reports::ReportId id) {
              if (doc::TMDIChild* document = activeDocument()) {
                  const doc::WaitCursor hourglass;
                  document->ShowReport(id);
              }
          },
          [activeDocument](const QString& section) {
              if (doc::TMDIChild* document = activeDocument()) document->ShowCustomReport(section, ConfigFile());
          },
          [activeDocument] {
              if (doc::TMDIChild* document = activeDocument()) {
                  const doc::WaitCursor hourglass;
                  document->ShowProblems();
              }
          }) {}

QString ReportMenu::ConfigFile() {
    const std::string folder = doc::FileNameBytes(QCoreApplication::applicationDirPath());
    return QFile::decodeName(QByteArray::fromStdString(reports::ReportConfigPathInFolder(folder)));
}

void ReportMenu::AddCustomReports(const QString& configFile) {
    if (!QFile::exists(configFile)) return;
    const auto config = reports::ReportConfig::Load(doc::FileNameBytes(configFile));
    const std::vector<std::string> names = reports::CustomReportMenuNames(config);
    separator_->setVisible(!names.empty());
    for (const std::string& name : names) {
        // The item keeps the section name as its data; the caption doubles
        // "&" so that a name holding one shows it instead of an access key.
        const QString section = doc::DisplayText(name);
        auto* item = new QAction(menu_);
        item->setText(QString(section).replace('&', "&&"));
        item->setData(section);
        connect(item, &QAction::triggered, this, doc::Command([this, section] { runCustom_(section); }));
        // The custom reports come before "&Problems".
        for (QMenu* menu : menus_) menu->insertAction(problemsSeparator_, item);
    }
}

void ReportMenu::SetChecked(reports::ReportId id, bool checked) { items_.at(id)->setChecked(checked); }

void ReportMenu::SetProblemsChecked(bool checked) { problems_->setChecked(checked); }

void ReportMenu::ClearChecks() {
    for (const auto& [id, item] : items_) item->setChecked(false);
    problems_->setChecked(false);
}

void ReportMenu::ShowChecksOf(const doc::TMDIChild& document) {
    for (const auto& [id, item] : items_) item->setChecked(document.IsReportListVisible(id));
    problems_->setChecked(document.IsReportListVisible(doc::PanelReport::Problems()));
}

}  // namespace oryx::shell
