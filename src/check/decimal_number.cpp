#include "check/decimal_number.h"

namespace oryx::check {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool AllDigits(std::string_view text) {
    for (char c : text)
        if (!IsDigit(c)) return false;
    return !text.empty();
}

}  // namespace

std::optional<DecimalNumber> DecimalNumber::Parse(std::string_view text) {
    DecimalNumber number;
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const std::size_t point = text.find('.');
    std::string_view whole = text.substr(0, point);
    std::string_view fraction = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    if (!AllDigits(whole) || (point != std::string_view::npos && !AllDigits(fraction))) return std::nullopt;
    while (!whole.empty() && whole.front() == '0') whole.remove_prefix(1);
    while (!fraction.empty() && fraction.back() == '0') fraction.remove_suffix(1);
    number.whole_ = whole;
    number.fraction_ = fraction;
    number.negative_ = negative && !(whole.empty() && fraction.empty());
    return number;
}

int DecimalNumber::CompareMagnitude(const DecimalNumber& other) const {
    if (whole_.size() != other.whole_.size()) return whole_.size() < other.whole_.size() ? -1 : 1;
    if (const int c = whole_.compare(other.whole_); c != 0) return c < 0 ? -1 : 1;
    // Fractions without trailing zeros compare as texts.
    if (const int c = fraction_.compare(other.fraction_); c != 0) return c < 0 ? -1 : 1;
    return 0;
}

int DecimalNumber::Compare(const DecimalNumber& other) const {
    if (negative_ != other.negative_) return negative_ ? -1 : 1;
    const int magnitude = CompareMagnitude(other);
    return negative_ ? -magnitude : magnitude;
}

}  // namespace oryx::check
