#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>

namespace oryx::settings {

// A money amount: a 64-bit fixed-point number with four decimal places,
// 12.5 being held as 125000.
struct Currency {
    std::int64_t scaled = 0;
    friend bool operator==(const Currency&, const Currency&) = default;
};

// A point in time as a day count with the time of day as its fraction.
struct DateTime {
    double days = 0;
    friend bool operator==(const DateTime&, const DateTime&) = default;
};

enum class SettingKind { Empty, Integer, Boolean, String, Currency, DateTime, Float };

// The tagged value passed to and returned from the settings store. Integers,
// booleans and strings are stored; currency and date-time are written as
// binary data that a read never returns; empty and floating-point values are
// accepted and not stored at all.
class SettingValue final {
public:
    using Variant = std::variant<std::monostate, std::int32_t, bool, std::string, Currency, DateTime, double>;

    SettingValue() = default;
    SettingValue(std::int32_t v) : data_(v) {}
    SettingValue(bool v) : data_(v) {}
    SettingValue(std::string v) : data_(std::move(v)) {}
    SettingValue(std::string_view v) : data_(std::string(v)) {}
    SettingValue(const char* v) : data_(std::string(v ? v : "")) {}
    SettingValue(Currency v) : data_(v) {}
    SettingValue(DateTime v) : data_(v) {}
    SettingValue(double v) : data_(v) {}

    SettingKind Kind() const { return static_cast<SettingKind>(data_.index()); }
    bool IsEmpty() const { return Kind() == SettingKind::Empty; }
    bool IsInteger() const { return Kind() == SettingKind::Integer; }
    bool IsBoolean() const { return Kind() == SettingKind::Boolean; }
    bool IsString() const { return Kind() == SettingKind::String; }

    // Each throws std::bad_variant_access when the value is of another kind.
    std::int32_t AsInteger() const { return std::get<std::int32_t>(data_); }
    bool AsBoolean() const { return std::get<bool>(data_); }
    const std::string& AsString() const { return std::get<std::string>(data_); }
    Currency AsCurrency() const { return std::get<Currency>(data_); }
    DateTime AsDateTime() const { return std::get<DateTime>(data_); }
    double AsFloat() const { return std::get<double>(data_); }

    // For std::visit; the alternatives are in SettingKind order.
    const Variant& Value() const { return data_; }

    friend bool operator==(const SettingValue&, const SettingValue&) = default;

private:
    Variant data_;
};

static_assert(
    std::is_same_v<std::variant_alternative_t<static_cast<std::size_t>(SettingKind::String), SettingValue::Variant>,
                   std::string>);
static_assert(std::is_same_v<
              std::variant_alternative_t<static_cast<std::size_t>(SettingKind::Float), SettingValue::Variant>, double>);

}  // namespace oryx::settings
