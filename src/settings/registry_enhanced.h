#pragma once

#include <chrono>
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
// calls. A key that cannot be opened makes writes do nothing and reads return
// their default; only WriteValue tells whether it stored its value.
//
// Reads never wait. A write waits for another process's lock on the
// settings, but the writes that follow each other closely (those of a
// start-up, those of a close) share about a second of waiting: once it is
// spent, each of them tries once and gives up.
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
    // it addresses a sub-key: "Sub\X" is the value X of the key Sub. False
    // when the value could not be stored (the settings cannot be written, or
    // another process kept them locked).
    bool WriteValue(std::string_view name, const SettingValue& value);
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

    // The waiting that writes in close succession share, and the quiet time
    // after which a write starts a new succession.
    static constexpr std::chrono::milliseconds kLockWaitBudget{1000};
    static constexpr std::chrono::milliseconds kQuietTime{2000};

private:
    std::vector<std::string> Pieces(std::string_view name);
    std::string FullKey(std::string_view name);

    TBrkApart breaker_;
    std::chrono::steady_clock::duration lockWaitLeft_ = kLockWaitBudget;
    std::chrono::steady_clock::time_point lastWrite_{};
};

}  // namespace oryx::settings
