#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "reports/report_rows.h"

namespace oryx::reports {

// Measures a text in pixels; an empty text must measure 0.
using TextWidthMeasure = std::function<int(std::string_view)>;

inline constexpr int kEmptyColumnWidth = 35;
inline constexpr int kColumnPadding = 5;

// The widths AutoSizeColumns gives the `columnCount` columns of a list holding
// `rows`: the widest cell plus 5 pixels, or 35 pixels for a column without a
// non-empty cell. Headers are not measured, so a narrow column cuts its header.
std::vector<int> AutoSizeColumns(const ReportRows& rows, std::size_t columnCount, const TextWidthMeasure& textWidth);

}  // namespace oryx::reports
