#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

#include "prov/reader.h"
#include "text/control_bytes.h"

namespace oryx::prov {

// Calls pair(name, value) for each comma-separated "name value" piece of the
// text after a set line's path, each trimmed of control bytes and split at
// its first space. A piece without a space is all value, with an empty name;
// an empty text is one such piece.
template <typename Pair>
void CutSetPairs(std::string_view text, Pair&& pair) {
    using text::IsControlByte;
    const std::string_view rest = TrimControl(text);
    const char* const s = rest.data();
    const std::size_t size = rest.size();
    // Offsets into the rest, or `size` for none.
    const auto find = [s, size](char c, std::size_t from, std::size_t to) {
        const void* at = from < to ? std::memchr(s + from, c, to - from) : nullptr;
        return at ? static_cast<std::size_t>(static_cast<const char*>(at) - s) : size;
    };
    std::size_t start = 0;
    while (true) {
        while (start < size && IsControlByte(s[start])) ++start;
        const std::size_t comma = find(',', start, size);
        std::size_t end = comma;
        while (end > start && IsControlByte(s[end - 1])) --end;
        const std::size_t space = find(' ', start, end);
        if (space < end) {
            // Neither trim passes the piece's first or last byte: they are
            // not control bytes.
            std::size_t nameEnd = space;
            while (IsControlByte(s[nameEnd - 1])) --nameEnd;
            std::size_t value = space + 1;
            while (IsControlByte(s[value])) ++value;
            pair(std::string_view(s + start, nameEnd - start), std::string_view(s + value, end - value));
        } else {
            pair(std::string_view{}, std::string_view(s + start, end - start));
        }
        if (comma == size) break;
        start = comma + 1;
    }
}

}  // namespace oryx::prov
