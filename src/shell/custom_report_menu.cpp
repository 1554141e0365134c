// The custom reports of the report menu: one item per section of the report
// configuration file, read once at start.
#include <QCoreApplication>
#include <QFile>
#include <QMenu>

#include "doc/mdi_child.h"
#include "doc/text_codec.h"
#include "reports/custom_report.h"
#include "reports/report_config.h"
#include "shell/main_form.h"

namespace oryx::shell {

QString TMainForm::ReportConfigFile() {
    const std::string folder = doc::FileNameBytes(QCoreApplication::applicationDirPath());
    return QFile::decodeName(QByteArray::fromStdString(reports::ReportConfigPathInFolder(folder)));
}

void TMainForm::BuildCustomReportMenu() {
    const QString configFile = ReportConfigFile();
    if (!QFile::exists(configFile))
        return;
    const auto config = reports::ReportConfig::Load(doc::FileNameBytes(configFile));
    const std::vector<std::string> names = reports::CustomReportMenuNames(config);
    miReportMenuSeparator->setVisible(!names.empty());
    for (const std::string& name : names) {
        // The item keeps the section name as its data; the caption doubles
        // "&" so that a name holding one shows it instead of an access key.
        const QString section = doc::DisplayText(name);
        auto* item = new QAction(popReportMenu);
        item->setText(QString(section).replace('&', "&&"));
        item->setData(section);
        connect(item, &QAction::triggered, this, &TMainForm::miRunCustomReportClick);
        popReportMenu->addAction(item);
    }
}

void TMainForm::miRunCustomReportClick() {
    auto* item = qobject_cast<QAction*>(sender());
    doc::TMDIChild* child = ActiveDocument();
    if (!item || !child)
        return;
    child->ShowCustomReport(item->data().toString(), ReportConfigFile());
}

}  // namespace oryx::shell
