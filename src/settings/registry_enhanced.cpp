#include "settings/registry_enhanced.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

#include "settings/registry.h"

namespace oryx::settings {

namespace {

// The value's bytes as they lie in memory, which is what the binary value holds.
template <typename T>
std::string_view BytesOf(const T& v) {
    static_assert(sizeof(T) == 8 && std::is_trivially_copyable_v<T>);
    return std::string_view(reinterpret_cast<const char*>(&v), sizeof v);
}

}  // namespace

TRegistryEnhanced::TRegistryEnhanced() {
    breaker_.BreakString = "\\";
    breaker_.AllowEmptyString = false;
}

std::string TRegistryEnhanced::TrimKey(std::string_view s) {
    if (!s.empty() && s.back() == '\\') s.remove_suffix(1);
    if (s.size() > 1 && s.front() == '\\') s.remove_prefix(1);
    return std::string(s);
}

std::vector<std::string> TRegistryEnhanced::Pieces(std::string_view name) {
    breaker_.BaseString = name;
    breaker_.BreakApart();
    return breaker_.StringList;
}

std::string TRegistryEnhanced::ValuePath(std::string_view name) {
    const std::vector<std::string> pieces = Pieces(name);
    std::string path;
    if (pieces.size() < 2) return path;
    for (std::size_t i = 0; i + 1 < pieces.size(); ++i) path += "\\" + pieces[i];
    return path;
}

std::string TRegistryEnhanced::ValueName(std::string_view name) {
    std::vector<std::string> pieces = Pieces(name);
    if (pieces.size() < 2) return std::string(name);
    return std::move(pieces.back());
}

std::string TRegistryEnhanced::FullKey(std::string_view name) { return "\\" + TrimKey(Key) + ValuePath(name); }

bool TRegistryEnhanced::WriteValue(std::string_view name, const SettingValue& value) {
    if (Key.empty()) return true;
    const auto start = std::chrono::steady_clock::now();
    if (start - lastWrite_ >= kQuietTime) lockWaitLeft_ = kLockWaitBudget;
    Registry registry(RootKey);
    bool stored = registry.OpenKey(FullKey(name), true, lockWaitLeft_);
    lockWaitLeft_ -= std::min(lockWaitLeft_, registry.LockWaited());
    if (stored) {
        const std::string valueName = ValueName(name);
        switch (value.Kind()) {
        case SettingKind::Integer: stored = registry.WriteInteger(valueName, value.AsInteger()); break;
        case SettingKind::Boolean: stored = registry.WriteInteger(valueName, value.AsBoolean() ? 1 : 0); break;
        case SettingKind::String: stored = registry.WriteString(valueName, value.AsString()); break;
        case SettingKind::Currency: stored = registry.WriteBinary(valueName, BytesOf(value.AsCurrency().scaled)); break;
        case SettingKind::DateTime: stored = registry.WriteBinary(valueName, BytesOf(value.AsDateTime().days)); break;
        case SettingKind::Empty:
        case SettingKind::Float: break;
        }
        stored = registry.CloseKey() && stored;
    }
    lastWrite_ = std::chrono::steady_clock::now();
    return stored;
}

SettingValue TRegistryEnhanced::ReadValue(std::string_view name, const SettingValue& defaultValue) {
    SettingValue result = defaultValue;
    if (Key.empty()) return result;
    Registry registry(RootKey);
    if (!registry.OpenKeyToRead(FullKey(name))) return defaultValue;
    const std::string valueName = ValueName(name);
    switch (registry.GetDataType(valueName)) {
    case RegDataType::String:
        if (auto text = registry.ReadString(valueName)) result = std::move(*text);
        break;
    case RegDataType::Integer:
        if (auto number = registry.ReadInteger(valueName)) result = *number;
        break;
    default: break;
    }
    registry.CloseKey();
    return result;
}

}  // namespace oryx::settings
