#pragma once

#include <string>
#include <string_view>

namespace oryx::text {

// Appends a path or an attribute line to an output line whose fields a TAB
// separates (such as oryx-cli find's "PATH<TAB>LINE"), with each TAB inside
// written as the two characters \t, so that a TAB in the line can only be
// the separator. Nothing else changes: a backslash stays as it is, and such
// lines cannot hold CR or LF.
inline void AppendTabEscaped(std::string& out, std::string_view text) {
    for (std::size_t tab; (tab = text.find('\t')) != std::string_view::npos;) {
        out.append(text.substr(0, tab));
        out += "\\t";
        text.remove_prefix(tab + 1);
    }
    out.append(text);
}

}  // namespace oryx::text
