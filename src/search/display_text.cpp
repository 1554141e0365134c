#include "search/display_text.h"

#include <cstdint>
#include <cstring>

namespace oryx::search {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

}  // namespace

bool IsAscii(std::string_view bytes) {
    // Eight bytes at a time, the last eight overlapping those before.
    constexpr std::uint64_t kHighBits = 0x8080808080808080;
    const auto high = [&](std::size_t at) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + at, 8);
        return (word & kHighBits) != 0;
    };
    const std::size_t size = bytes.size();
    if (size < 8) {
        for (char c : bytes)
            if (static_cast<unsigned char>(c) >= 0x80) return false;
        return true;
    }
    for (std::size_t i = 0; i + 8 < size; i += 8)
        if (high(i)) return false;
    return !high(size - 8);
}

bool IsUtf8(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    while (p != end) {
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        std::size_t length = 0;
        std::uint32_t code = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
            code = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            code = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            code = c & 0x07;
        } else {
            return false;  // a stray continuation byte, C0/C1 (always overlong) or F5-FF
        }
        if (static_cast<std::size_t>(end - p) < length) return false;
        for (std::size_t i = 1; i < length; ++i) {
            if (!IsContinuation(p[i])) return false;
            code = (code << 6) | (p[i] & 0x3F);
        }
        if (length == 3 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) return false;
        if (length == 4 && (code < 0x10000 || code > 0x10FFFF)) return false;
        p += length;
    }
    return true;
}

std::string_view DisplayUtf8(std::string_view bytes, std::string& scratch) {
    if (IsAscii(bytes)) return bytes;
    if (IsUtf8(bytes)) {
        if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
        return bytes;
    }
    scratch.clear();
    scratch.reserve(bytes.size() * 2);
    for (char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            scratch += ch;
        } else {
            scratch += static_cast<char>(0xC0 | (c >> 6));
            scratch += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return scratch;
}

std::optional<std::string> Latin1FromUtf8(std::string_view utf8) {
    if (!IsUtf8(utf8)) return std::nullopt;
    std::string latin1;
    latin1.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            latin1 += utf8[i];
        } else if (c == 0xC2 || c == 0xC3) {
            latin1 += static_cast<char>(((c & 0x03) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F));
        } else {
            return std::nullopt;
        }
    }
    return latin1;
}

}  // namespace oryx::search
