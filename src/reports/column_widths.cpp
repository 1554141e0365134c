#include "reports/column_widths.h"

#include <algorithm>

namespace oryx::reports {

std::vector<int> AutoSizeColumns(const ReportRows& rows, std::size_t columnCount, const TextWidthMeasure& textWidth) {
    std::vector<int> widest(columnCount, 0);
    for (const ReportRow& row : rows) {
        if (columnCount > 0) widest[0] = std::max(widest[0], textWidth(row.First()));
        std::size_t column = 1;
        for (std::string_view cell : row.Cells()) {
            if (column >= columnCount) break;
            if (!cell.empty()) widest[column] = std::max(widest[column], textWidth(cell));
            ++column;
        }
    }
    for (int& width : widest) width = width == 0 ? kEmptyColumnWidth : width + kColumnPadding;
    return widest;
}

}  // namespace oryx::reports
