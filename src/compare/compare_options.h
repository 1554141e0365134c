#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace oryx::compare {

// What a comparison leaves out or treats as equal. A comparison keeps its
// own copy, so a caller can change the options and compare again.
struct CompareOptions {
    // Attribute names left out of the comparison, ASCII letter case ignored.
    std::vector<std::string> ignoredNames;
    // Values that differ only in ASCII letter case count as equal.
    bool ignoreValueCase = false;
};

// The names of a comma-separated list ("adminState, customerIdentifier"),
// each trimmed of spaces; empty items are dropped.
std::vector<std::string> ParseIgnoredNames(std::string_view list);

}  // namespace oryx::compare
