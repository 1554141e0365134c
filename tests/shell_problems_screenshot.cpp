// Saves a picture of the main window with the Problems list shown: a file
// open and checked with a rules file, the status bar's counts, and the first
// finding of CHECK gone to (its component and attribute line selected). The
// README's docs/problems.png.
//
//   oryx_problems_screenshot PROVISIONING_FILE RULES.yaml CHECK OUTPUT.png
#include <QAction>
#include <QApplication>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTreeView>

#include <cstdio>
#include <optional>

#include "doc/document/mdi_child.h"
#include "doc/problems/problems_check.h"
#include "doc/report/report_panel.h"
#include "doc/report/report_window_info.h"
#include "screenshot_window.h"
#include "settings/settings_folder.h"
#include "shell/app_settings.h"
#include "shell/application.h"
#include "shell/main_form.h"

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: oryx_problems_screenshot PROVISIONING_FILE RULES.yaml CHECK OUTPUT.png\n");
        return 2;
    }
    oryx::shell::OryxApplication app(argc, argv);
    // Settings of its own, so the user's are neither used nor changed.
    const QTemporaryDir settings;
    if (!settings.isValid()) {
        std::fprintf(stderr, "cannot make a settings folder\n");
        return 1;
    }
    oryx::settings::OverrideSettingsFolder(settings.path().toStdString());
    oryx::shell::AppSettings().StoreRulesFile(QString::fromLocal8Bit(argv[2]));

    int found = -1;
    {
        oryx::shell::TMainForm form;
        oryx::testing::OpenForScreenshot(form, argv[1]);
        oryx::doc::TMDIChild& document = *form.ActiveDocument();
        // The counts reach the status bar when the background check is done.
        while (!document.Problems()->Ready()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QApplication::processEvents();
        form.findChild<QAction*>("miProblems")->trigger();

        const oryx::check::FileProblems& problems = document.Problems()->Problems();
        for (std::size_t row = 0; found < 0 && row < problems.findings.size(); ++row)
            if (problems.findings[row].check == argv[3]) found = static_cast<int>(row);
        if (found >= 0) {
            QTreeView* list =
                document.findChild<oryx::doc::ReportPanel*>()->ListView(oryx::doc::PanelReport::Problems());
            list->setCurrentIndex(list->model()->index(found, 0));
            document.GoToProblem(found);
            list->setFocus();
        }
        QApplication::processEvents();

        if (!form.grab().save(QString::fromLocal8Bit(argv[4]))) {
            std::fprintf(stderr, "cannot write %s\n", argv[4]);
            found = -2;
        }
    }
    oryx::settings::OverrideSettingsFolder({});
    if (found == -1) std::fprintf(stderr, "no finding of %s\n", argv[3]);
    return found >= 0 ? 0 : 1;
}
