#pragma once

#include <cstddef>
#include <string_view>

#include "prov/reader.h"

namespace oryx::prov {

// Calls pair(name, value) for each comma-separated "name value" piece of the
// text after a set line's path. A piece without a space is all value, with an
// empty name; an empty text is one such piece.
template <typename Pair>
void CutSetPairs(std::string_view text, Pair&& pair) {
    std::string_view rest = TrimControl(text);
    while (true) {
        const std::size_t comma = rest.find(',');
        const std::string_view piece = TrimControl(rest.substr(0, comma));
        const std::size_t space = piece.find(' ');
        if (space == std::string_view::npos)
            pair(std::string_view{}, piece);
        else
            pair(TrimControl(piece.substr(0, space)), TrimControl(piece.substr(space + 1)));
        if (comma == std::string_view::npos) break;
        rest.remove_prefix(comma + 1);
    }
}

}  // namespace oryx::prov
