// oryx: the desktop viewer of provisioning files.
#include "shell/application.h"
#include "shell/main_form.h"

int main(int argc, char** argv) {
    // No argument is read: files are opened through the Open dialog only.
    oryx::shell::OryxApplication app(argc, argv);
    // The main window creates, in this order, its own contents, the About box
    // and the options dialog.
    oryx::shell::TMainForm mainForm;
    mainForm.show();
    return app.exec();
}
