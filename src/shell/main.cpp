// oryx: the desktop viewer of provisioning files.
#include <QDir>

#include "shell/application.h"
#include "shell/file_opener.h"
#include "shell/main_form.h"

int main(int argc, char** argv) {
    oryx::shell::OryxApplication app(argc, argv);
    // The main window creates, in this order, its own contents, the About box
    // and the options dialog.
    oryx::shell::TMainForm mainForm;
    mainForm.show();
    // Files named on the command line (by the file manager too) open as if
    // chosen in the Open dialog.
    mainForm.OpenFiles(oryx::shell::FileOpener::CommandLineFiles(app.arguments(), QDir::currentPath()));
    return app.exec();
}
