// oryx: the desktop viewer of provisioning files.
#include <QDir>
#include <cstdio>
#include <cstring>

#include "shell/application.h"
#include "shell/file_opener.h"
#include "shell/main_form.h"

namespace {

// --version and --help are answered before the application object exists, so
// they need no display. After "--" every argument is a file.
int EarlyAnswer(int argc, char** argv) {
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::fputs("oryx " ORYX_VERSION "\n", stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(
                "usage: oryx [--version] [--help] [--] [FILE...]\n"
                "Opens each FILE in a window of its own (see oryx(1)).\n",
                stdout);
            return 0;
        }
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (const int status = EarlyAnswer(argc, argv); status >= 0) return status;
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
