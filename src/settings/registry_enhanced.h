#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "settings/brk_apart.h"
#include "settings/root_key.h"
#include "settings/setting_value.h"

namespace oryx::settings {

// Reads and writes named settings below one registry key. Every call opens
// its own connection, picks the data type from the value's kind, and
// releases the connection before it returns; nothing stays open between
// calls. No call reports an error: a key that cannot be opened makes writes
// do nothing and reads return their default.
//
//   TRegistryEnhanced Reg;
//   Reg.RootKey = TRootKey::hkLocalMachine;
//   Reg.Key = "\\SOFTWARE\\Vendor\\App\\";
//   Reg.WriteValue("Width", 80);
//   SettingValue width = Reg.ReadValue("Width", 75);  // integer 80
class TRegistryEnhanced final {
public:
    std::vector<std::string> EntriesFound;  // kept for its users; nothing here fills it
    std::string Key;                        // below the root; leading and trailing "\" optional
    TRootKey RootKey = TRootKey::hkCurrentUser;

    TRegistryEnhanced();

    // Stores integers and booleans (as 1 or 0) as 32-bit integer values,
    // strings as string values, currency and date-time as 8 bytes of binary
    // data. Empty and floating-point values store nothing. A name with "\" in
    // it addresses a sub-key: "Sub\X" is the value X of the key Sub.
    void WriteValue(std::string_view name, const SettingValue& value);
    // The integer or string stored under the name, else `defaultValue`.
    // Booleans come back as integers; binary data is never returned.
    SettingValue ReadValue(std::string_view name, const SettingValue& defaultValue);

    // Drops one "\" from the end, then one from the start unless it is the
    // only character left.
    static std::string TrimKey(std::string_view s);
    // The sub-key part of a value name, "\a\b" for a\b\c; empty for a name
    // with fewer than two pieces between its "\".
    std::string ValuePath(std::string_view name);
    // The value's own name, c for a\b\c; a name with fewer than two pieces
    // comes back unchanged.
    std::string ValueName(std::string_view name);

private:
    std::vector<std::string> Pieces(std::string_view name);
    std::string FullKey(std::string_view name);

    TBrkApart breaker_;
};

}  // namespace oryx::settings
