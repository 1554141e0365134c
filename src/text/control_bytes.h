#pragma once

#include <string_view>

namespace oryx::text {

// Bytes 0-32, the control bytes and the space: what the files' lines and
// the pieces of their paths are trimmed of.
constexpr bool IsControlByte(char c) { return static_cast<unsigned char>(c) <= 32; }

constexpr std::string_view TrimControlRight(std::string_view text) {
    while (!text.empty() && IsControlByte(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace oryx::text
