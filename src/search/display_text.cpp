#include "search/display_text.h"

#include <cstdint>
#include <cstring>

#include "text/utf8.h"

namespace oryx::search {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

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
    while (!bytes.empty()) {
        const std::size_t length = text::Utf8SequenceLength(bytes);
        if (length == 0) return false;
        bytes.remove_prefix(length);
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
    for (char c : bytes) text::AppendLatin1AsUtf8(static_cast<unsigned char>(c), scratch);
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
