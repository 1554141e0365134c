#pragma once

#include <optional>
#include <string_view>

namespace oryx::check {

// A number as rules and values write it: an optional sign, digits and an
// optional decimal fraction ("-12", "+0.5"). Compared exactly, however many
// digits it has.
class DecimalNumber final {
public:
    // nullopt when `text` is not such a number.
    static std::optional<DecimalNumber> Parse(std::string_view text);

    // Negative, zero or positive as this is below, equal to or above `other`.
    int Compare(const DecimalNumber& other) const;

private:
    DecimalNumber() = default;
    int CompareMagnitude(const DecimalNumber& other) const;

    bool negative_ = false;      // never for zero
    std::string_view whole_;     // without leading zeros
    std::string_view fraction_;  // without trailing zeros
};

}  // namespace oryx::check
