#include "shell/application.h"

#include <QtGlobal>

#include <atomic>
#include <exception>

#include "doc/common/command.h"
#include "shell/images.h"

namespace oryx::shell {

namespace {
std::atomic<int> uncaughtErrors{0};
}

OryxApplication::OryxApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName("ORYX");
    setWindowIcon(ProgramIcon());
}

bool OryxApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ++uncaughtErrors;
        qCritical("error outside any command, delivering event %d: %s", static_cast<int>(event->type()), error.what());
        doc::ShowError(error);
    }
    return false;
}

int OryxApplication::UncaughtErrorCount() { return uncaughtErrors; }

}  // namespace oryx::shell
