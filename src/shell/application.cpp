#include "shell/application.h"

#include <QIcon>
#include <QStyle>
#include <exception>

#include "doc/dialogs.h"
#include "doc/text_codec.h"

namespace oryx::shell {

OryxApplication::OryxApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName("ORYX");
    // The program's own icon comes with the desktop integration; until then
    // a stock one stands in for the toolkit's logo.
    setWindowIcon(QIcon::fromTheme("text-x-generic", style()->standardIcon(QStyle::SP_FileDialogContentsView)));
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
