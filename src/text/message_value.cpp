#include "text/message_value.h"

namespace oryx::text {
namespace {

constexpr std::size_t kLongest = 200;
constexpr std::size_t kKept = 96;

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The length a UTF-8 sequence announces in its first byte; 1 for a byte that
// starts none.
std::size_t SequenceLength(unsigned char byte) {
    if (byte >= 0xF0 && byte <= 0xF7) return 4;
    if (byte >= 0xE0) return byte <= 0xEF ? 3 : 1;
    if (byte >= 0xC0) return 2;
    return 1;
}

unsigned char At(std::string_view value, std::size_t i) { return static_cast<unsigned char>(value[i]); }

// The start of the sequence whose continuation bytes reach `at`, if `at`
// lies inside one that starts before it; else `at` itself. Only well-formed
// starts count, so bytes that are no UTF-8 are cut where they are.
std::size_t SequenceStart(std::string_view value, std::size_t at) {
    std::size_t start = at;
    while (start > 0 && at - start < 3 && IsContinuation(At(value, start))) --start;
    if (start == at || IsContinuation(At(value, start))) return at;
    return start + SequenceLength(At(value, start)) > at ? start : at;
}

void AppendClean(std::string& out, std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F) {
            out += c;
            continue;
        }
        out += "\\x";
        out += kHex[byte >> 4];
        out += kHex[byte & 0xF];
    }
}

}  // namespace

std::string MessageValue(std::string_view value) {
    std::string out;
    if (value.size() <= kLongest) {
        AppendClean(out, value);
        return out;
    }
    const std::size_t headEnd = SequenceStart(value, kKept);
    std::size_t tailStart = value.size() - kKept;
    const std::size_t straddling = SequenceStart(value, tailStart);
    if (straddling != tailStart) {
        // Skip the rest of the sequence the tail would begin inside.
        const std::size_t end = straddling + SequenceLength(At(value, straddling));
        while (tailStart < end && IsContinuation(At(value, tailStart))) ++tailStart;
    }
    AppendClean(out, value.substr(0, headEnd));
    out += "...";
    AppendClean(out, value.substr(tailStart));
    return out;
}

}  // namespace oryx::text
