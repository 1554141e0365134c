#include "doc/common/command.h"

#include "doc/common/dialogs.h"
#include "doc/common/text_codec.h"

namespace oryx::doc {

void ShowError(const std::exception& error) {
    CurrentDialogs().Message(nullptr, MessageKind::Error, "Error", DisplayText(error.what()));
}

bool RunCommand(const std::function<void()>& work) {
    try {
        work();
        return true;
    } catch (const std::exception& error) {
        // The failed command's guards (hourglass, busy caption) are gone by
        // now, so the box appears over a window that is itself again.
        ShowError(error);
    }
    return false;
}

}  // namespace oryx::doc
