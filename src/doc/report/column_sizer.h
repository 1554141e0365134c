#pragma once

#include <QFont>

#include <array>
#include <string_view>
#include <vector>

#include "doc/common/text_measure.h"
#include "reports/report_rows.h"

class QHeaderView;

namespace oryx::doc {

// The text measure that AutoSizeColumns runs over a report's rows. A column
// only needs its widest cell, so a cell that cannot be wider than the widest
// one measured so far in its column is not measured: its width is bounded
// from the advances of its characters plus whatever each pair of neighbours
// lays out wider than its two advances (kerning). Columns of unique texts (a
// next hop per VCC) then cost a sum per cell instead of a layout per cell.
//
// The column of a text is known from which cell of the rows it is; a text
// that is no cell of the rows is measured in full.
class ColumnSizer final {
public:
    ColumnSizer(const QFont& font, const reports::ReportRows& rows, std::size_t columnCount);

    int operator()(std::string_view text);

private:
    int ColumnOf(std::string_view text);
    // A width no smaller than the text's; negative when no bound is known.
    qreal UpperBound(std::string_view text);
    qreal PairGap(unsigned char a, unsigned char b);

    TextMeasure measure_;
    const reports::ReportRows& rows_;
    std::vector<int> widest_;
    std::size_t row_ = 0;
    const QFont font_;
    std::array<qreal, 128> advance_{};
    // Printable ASCII pairs, index (a - 32) * 95 + (b - 32); negative until measured.
    std::vector<qreal> pairGap_;
};

// The width the header's section needs to show its caption whole: the
// caption and the header's margins, as the style lays the section out.
int CaptionWidth(const QHeaderView& header, int section);

}  // namespace oryx::doc
