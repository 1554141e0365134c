#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace oryx::text {

// Letter case as every layer compares names, keys and words: the file's bytes
// have no known encoding, so only the ASCII letters have a case and every
// other byte compares as it is.

constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

constexpr char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

constexpr bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
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
