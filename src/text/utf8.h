#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace oryx::text {

// The length of the well-formed UTF-8 sequence at the start of `bytes`; 0
// when there is none there: a stray continuation byte, an overlong form, a
// surrogate, a code point past U+10FFFF or a sequence cut off.
constexpr std::size_t Utf8SequenceLength(std::string_view bytes) {
    if (bytes.empty()) return 0;
    const auto byte = [&bytes](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (bytes.size() < length) return 0;
    if (byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
    return length;
}

// Appends the Latin-1 character `latin1` in UTF-8.
inline void AppendLatin1AsUtf8(unsigned char latin1, std::string& out) {
    if (latin1 < 0x80) {
        out += static_cast<char>(latin1);
        return;
    }
    out += static_cast<char>(0xC0 | (latin1 >> 6));
    out += static_cast<char>(0x80 | (latin1 & 0x3F));
}

}  // namespace oryx::text
