#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

namespace oryx::text {

// Letter case as every layer compares names, keys and words: the file's bytes
// have no known encoding, so only the ASCII letters have a case and every
// other byte compares as it is.

constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

constexpr char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Eight bytes at once with their ASCII capitals made small (bit 0x20 set).
constexpr std::uint64_t AsciiLowerWord(std::uint64_t w) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL, kHigh = 0x8080808080808080ULL;
    const std::uint64_t ascii = ~w & kHigh;
    // High bit set where a byte (below 0x80) is >= 'A', and where it is > 'Z'.
    const std::uint64_t fromA = ((w & ~kHigh) + kOnes * (0x80 - 'A')) & kHigh;
    const std::uint64_t pastZ = ((w & ~kHigh) + kOnes * (0x80 - 'Z' - 1)) & kHigh;
    const std::uint64_t capital = fromA & ~pastZ & ascii;
    return w | (capital >> 2);
}

constexpr bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    if (!std::is_constant_evaluated() && a.size() >= 8) {
        // Eight bytes at a time, the last eight overlapping the word before.
        const auto word = [](std::string_view text, std::size_t at) {
            std::uint64_t w;
            std::memcpy(&w, text.data() + at, sizeof w);
            return w;
        };
        for (std::size_t i = 0;; i += 8) {
            if (i + 8 > a.size()) i = a.size() - 8;
            const std::uint64_t x = word(a, i), y = word(b, i);
            if (x != y && AsciiLowerWord(x) != AsciiLowerWord(y)) return false;
            if (i + 8 == a.size()) return true;
        }
    }
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}

// FNV-1a over the bytes with ASCII case folded, going on from `hash`: names
// that compare equal ignoring case hash alike.
inline constexpr std::uint64_t kFoldedHashStart = 1469598103934665603ULL;
inline constexpr std::uint64_t kFoldedHashPrime = 1099511628211ULL;

constexpr std::uint64_t HashIgnoringAsciiCase(std::string_view text, std::uint64_t hash = kFoldedHashStart) {
    for (const char c : text) hash = (hash ^ static_cast<unsigned char>(AsciiLower(c))) * kFoldedHashPrime;
    return hash;
}

inline std::string AsciiLowered(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = AsciiLower(c);
    return lower;
}

}  // namespace oryx::text
