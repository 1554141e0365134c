#include "shell/application.h"

#include <exception>

#include "doc/common/dialogs.h"
#include "doc/common/text_codec.h"
#include "shell/images.h"

namespace oryx::shell {

OryxApplication::OryxApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName("ORYX");
    setWindowIcon(ProgramIcon());
}

bool OryxApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowError(error);
    }
    return false;
}

void OryxApplication::ShowError(const std::exception& error) {
    // The guards of the failed operation are gone by now, so the hourglass
    // is back before the box appears.
    doc::CurrentDialogs().Message(nullptr, doc::MessageKind::Error, "Error", doc::DisplayText(error.what()));
}

}  // namespace oryx::shell
