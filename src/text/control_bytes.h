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

// True when every piece of `spaced`, split at single spaces, is clean: none
// is empty and none holds a control byte. That is, no byte is 0-31, and no
// space starts the text or follows another space; one may end it.
bool PiecesAreClean(std::string_view spaced);

}  // namespace oryx::text
