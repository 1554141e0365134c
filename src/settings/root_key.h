#pragma once

#include <string_view>

namespace oryx::settings {

// The registry roots, in the order the settings component declares them.
enum class TRootKey {
    hkClassesRoot,
    hkCurrentConfig,
    hkCurrentUser,
    hkDynData,
    hkLocalMachine,
    hkUsers,
};

// The root's name as the text form writes it, "HKEY_LOCAL_MACHINE" and the
// like; it also names the root's file in the settings folder.
std::string_view RootKeyName(TRootKey root);

}  // namespace oryx::settings
