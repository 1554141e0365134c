#include "reports/column_widths.h"

#include <algorithm>

namespace oryx::reports {

std::vector<int> AutoSizeColumns(const ReportRows& rows, std::size_t columnCount,
                                 const TextWidthMeasure& textWidth) {
    std::vector<int> widest(columnCount, 0);
    for (const ReportRow& row : rows) {
        if (columnCount > 0) widest[0] = std::max(widest[0], textWidth(row.first));
        const std::size_t further = std::min(row.cells.size(), columnCount > 0 ? columnCount - 1 : 0);
        for (std::size_t c = 0; c < further; ++c) {
            if (!row.cells[c].empty()) widest[c + 1] = std::max(widest[c + 1], textWidth(row.cells[c]));
        }
    }
    for (int& width : widest) width = width == 0 ? kEmptyColumnWidth : width + kColumnPadding;
    return widest;
}

}  // namespace oryx::reports
