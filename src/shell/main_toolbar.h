#pragma once

class QMainWindow;
class QMenu;
class QToolButton;

namespace oryx::shell {

// Adds the toolbar ("ToolBar1"): Open with the recent files' drop-down, Save,
// Print, Expand All, Collapse All, Exit, and the Reports drop-down. The
// buttons show the window's own actions of the same names. Returns the
// Reports button.
QToolButton* AddMainToolBar(QMainWindow& window, QMenu* recentFiles, QMenu* reports);

}  // namespace oryx::shell
