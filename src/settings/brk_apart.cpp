#include "settings/brk_apart.h"

#include <string_view>

namespace oryx::settings {

void TBrkApart::BreakApart() {
    StringList.clear();
    std::string_view rest = BaseString;
    for (;;) {
        const std::size_t at = BreakString.empty() ? std::string_view::npos : rest.find(BreakString);
        const std::string_view piece = rest.substr(0, at);
        if (!piece.empty() || AllowEmptyString) StringList.emplace_back(piece);
        if (at == std::string_view::npos) return;
        rest.remove_prefix(at + BreakString.size());
    }
}

}  // namespace oryx::settings
