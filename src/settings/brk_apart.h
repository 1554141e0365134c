#pragma once

#include <string>
#include <vector>

namespace oryx::settings {

// Splits a text at a separator. Set the three inputs, call BreakApart, read
// StringList.
class TBrkApart final {
public:
    std::string BreakString;
    std::string BaseString;
    bool AllowEmptyString = false;
    std::vector<std::string> StringList;

    // Refills StringList with the pieces of BaseString between occurrences of
    // BreakString. An empty BreakString never matches, so the whole text is
    // one piece; empty pieces are kept only when AllowEmptyString is set.
    void BreakApart();
};

}  // namespace oryx::settings
