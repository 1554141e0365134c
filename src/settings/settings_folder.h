#pragma once

#include <filesystem>

namespace oryx::settings {

// The folder that holds the settings files, one per registry root:
// $XDG_CONFIG_HOME/ORYX, else ~/.config/ORYX. Empty when neither can be
// worked out; the store then behaves like a folder that cannot be read.
std::filesystem::path SettingsFolder();

// Points every later registry connection at `folder` instead; an empty path
// returns to the user's folder. Tests use it to work in a folder of their own.
void OverrideSettingsFolder(std::filesystem::path folder);

}  // namespace oryx::settings
