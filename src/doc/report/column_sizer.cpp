#include "doc/report/column_sizer.h"

#include <QFontMetricsF>
#include <QHeaderView>
#include <QStyle>
#include <QStyleOptionHeader>

#include <algorithm>
#include <cmath>

namespace oryx::doc {
namespace {

constexpr int kFirstPrintable = 32;
constexpr int kPrintableCount = 95;

}  // namespace

ColumnSizer::ColumnSizer(const QFont& font, const reports::ReportRows& rows, std::size_t columnCount)
    : measure_(font),
      rows_(rows),
      widest_(columnCount, 0),
      font_(font),
      pairGap_(static_cast<std::size_t>(kPrintableCount * kPrintableCount), -1) {
    const QFontMetricsF metrics(font_);
    for (int c = kFirstPrintable; c < kFirstPrintable + kPrintableCount; ++c)
        advance_[static_cast<std::size_t>(c)] = metrics.horizontalAdvance(QChar(c));
}

qreal ColumnSizer::PairGap(unsigned char a, unsigned char b) {
    qreal& gap = pairGap_[static_cast<std::size_t>((a - kFirstPrintable) * kPrintableCount + (b - kFirstPrintable))];
    if (gap < 0) {
        const QString pair = QString(QChar(a)) + QChar(b);
        gap = std::max<qreal>(0, QFontMetricsF(font_).horizontalAdvance(pair) - advance_[a] - advance_[b]);
    }
    return gap;
}

int ColumnSizer::ColumnOf(std::string_view text) {
    // The cells come row by row; look in the row of the last cell, then the next.
    for (std::size_t r = row_; r < rows_.size() && r <= row_ + 1; ++r) {
        const reports::ReportRow& row = rows_[r];
        // AutoSizeColumns passes the row's own cells, known by where they lie.
        auto isText = [&](std::string_view cell) { return cell.data() == text.data() && cell.size() == text.size(); };
        int column = -1;
        if (isText(row.First())) {
            column = 0;
        } else {
            int c = 1;
            for (std::string_view cell : row.Cells()) {
                if (isText(cell)) {
                    column = c;
                    break;
                }
                ++c;
            }
        }
        if (column >= 0) {
            row_ = r;
            return static_cast<std::size_t>(column) < widest_.size() ? column : -1;
        }
    }
    return -1;
}

qreal ColumnSizer::UpperBound(std::string_view text) {
    qreal sum = 0;
    unsigned char previous = 0;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < kFirstPrintable || byte >= kFirstPrintable + kPrintableCount) return -1;
        sum += advance_[byte];
        if (previous) {
            // Known pairs without a call: this loop runs for every character of a report.
            const qreal gap = pairGap_[static_cast<std::size_t>((previous - kFirstPrintable) * kPrintableCount +
                                                                (byte - kFirstPrintable))];
            sum += gap >= 0 ? gap : PairGap(previous, byte);
        }
        previous = byte;
    }
    // Widths are rounded to whole pixels, and rounding keeps the order.
    return std::floor(sum + 0.5);
}

int ColumnSizer::operator()(std::string_view text) {
    if (text.empty()) return 0;
    const int column = ColumnOf(text);
    if (column < 0) return measure_.Width(text);
    int& widest = widest_[static_cast<std::size_t>(column)];
    const qreal bound = UpperBound(text);
    // Not wider than the widest so far: the column's width stays as it is.
    if (bound >= 0 && bound <= widest) return widest;
    widest = std::max(widest, measure_.Width(text));
    return widest;
}

int CaptionWidth(const QHeaderView& header, int section) {
    const QAbstractItemModel* model = header.model();
    if (!model) return 0;
    QStyleOptionHeader option;
    option.initFrom(&header);
    option.section = section;
    option.orientation = header.orientation();
    option.text = model->headerData(section, header.orientation(), Qt::DisplayRole).toString();
    option.textAlignment = header.defaultAlignment();
    if (header.isSortIndicatorShown()) option.sortIndicator = QStyleOptionHeader::SortDown;
    return header.style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), &header).width();
}

}  // namespace oryx::doc
