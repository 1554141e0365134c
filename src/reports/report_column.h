#pragma once

#include <string_view>

namespace oryx::reports {

// A column of a report: its caption, and the width a list gives it before
// its rows are measured (0 for the list's default).
struct ColumnInfo {
    std::string_view caption;
    int designWidth = 0;
};

}  // namespace oryx::reports
