#pragma once

#include <QIcon>

namespace oryx::shell {

// The program's icon, drawn for ORYX (resources/icons/oryx.svg).
QIcon ProgramIcon();
// One toolbar image with its enabled and its disabled look, by name: "open",
// "save", "print", "expand", "collapse", "exit" or "reports".
QIcon ToolbarImage(const char* name);

}  // namespace oryx::shell
