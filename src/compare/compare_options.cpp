#include "compare/compare_options.h"

#include "prov/reader.h"

namespace oryx::compare {

std::vector<std::string> ParseIgnoredNames(std::string_view list) {
    std::vector<std::string> names;
    while (true) {
        const std::size_t comma = list.find(',');
        const std::string_view name = prov::TrimControl(list.substr(0, comma));
        if (!name.empty()) names.emplace_back(name);
        if (comma == std::string_view::npos) break;
        list.remove_prefix(comma + 1);
    }
    return names;
}

}  // namespace oryx::compare
