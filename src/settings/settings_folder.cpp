#include "settings/settings_folder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace oryx::settings {

namespace {

std::filesystem::path& Override() {
    static std::filesystem::path folder;
    return folder;
}

std::filesystem::path HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    // Started without HOME (from a service manager, say): ask the user database.
    std::string buffer(16384, '\0');
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir &&
        *found->pw_dir)
        return found->pw_dir;
    return {};
}

}  // namespace

std::filesystem::path SettingsFolder() {
    if (!Override().empty()) return Override();
    // The base directory convention ignores a relative XDG_CONFIG_HOME.
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config == '/')
        return std::filesystem::path(config) / "ORYX";
    const std::filesystem::path home = HomeFolder();
    if (home.empty()) return {};
    return home / ".config" / "ORYX";
}

void OverrideSettingsFolder(std::filesystem::path folder) { Override() = std::move(folder); }

}  // namespace oryx::settings
