#pragma once

// Names of parameterised GoogleTest cases. Without a name generator a case is
// named by its position, which CTest's test discovery replaces with the
// parameter's printed bytes, pointer values included: names that change from
// build to build.
#include <cctype>
#include <cstddef>
#include <string>
#include <string_view>

namespace oryx::testing {

// The ASCII letters and digits of `text` (anything else "_", at most 32),
// then "_" and the case's position, which keeps every name unique.
inline std::string ParamName(std::string_view text, std::size_t position) {
    std::string name;
    for (const char c : text.substr(0, 32)) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name + '_' + std::to_string(position);
}

}  // namespace oryx::testing
