#include "doc/common/whole_text_tips.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QStyledItemDelegate>
#include <QTextDocument>
#include <QToolTip>
#include <QTreeView>

namespace oryx::doc {
namespace {

// Draws as the standard delegate does; only the tooltip is its own.
class WholeTextDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override {
        if (event->type() != QEvent::ToolTip || !IsCut(view, option, index))
            return QStyledItemDelegate::helpEvent(event, view, option, index);
        QToolTip::showText(event->globalPos(), WholeTextTip(index.data(Qt::DisplayRole).toString()), view->viewport(),
                           option.rect);
        return true;
    }

private:
    bool IsCut(const QAbstractItemView* view, const QStyleOptionViewItem& option, const QModelIndex& index) const {
        if (index.data(Qt::DisplayRole).toString().isEmpty()) return false;
        // The width the cell asks for holds a margin on either side of the
        // text; a text that is not elided may run into the right one.
        int needed = sizeHint(option, index).width();
        if (view->textElideMode() == Qt::ElideNone) {
            const QWidget* widget = option.widget ? option.widget : view;
            needed -= widget->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
        }
        return needed > option.rect.width();
    }
};

// Shows the whole text of a header section narrower than its text.
class HeaderTips final : public QObject {
public:
    explicit HeaderTips(QHeaderView& header) : QObject(&header), header_(header) {
        header_.viewport()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ToolTip || watched != header_.viewport()) return false;
        const auto* help = static_cast<QHelpEvent*>(event);
        const int section = header_.logicalIndexAt(help->pos());
        if (section < 0 || !header_.model()) return false;
        const QString text = header_.model()->headerData(section, header_.orientation()).toString();
        QStyleOptionHeader option;
        option.initFrom(&header_);
        option.section = section;
        option.text = text;
        const int needed =
            header_.style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), &header_).width();
        if (text.isEmpty() || needed <= header_.sectionSize(section)) return false;
        const QRect rect(header_.sectionViewportPosition(section), 0, header_.sectionSize(section), header_.height());
        QToolTip::showText(help->globalPos(), WholeTextTip(text), header_.viewport(), rect);
        return true;
    }

private:
    QHeaderView& header_;
};

}  // namespace

void ShowWholeTextTips(QTreeView& view) {
    view.setItemDelegate(new WholeTextDelegate(&view));
    new HeaderTips(*view.header());
}

QString TwoEnds(const QString& text) {
    constexpr qsizetype kShownEnd = 2000;
    return text.size() > 2 * kShownEnd + 1 ? text.left(kShownEnd) + QChar(0x2026) + text.right(kShownEnd) : text;
}

QString WholeTextTip(const QString& text) {
    // A tooltip is laid out whole; a value of megabytes would stall the window.
    const QString shown = TwoEnds(text);
    if (!Qt::mightBeRichText(shown)) return shown;
    return QStringLiteral("<p style='white-space:pre-wrap'>") + shown.toHtmlEscaped() + QStringLiteral("</p>");
}

}  // namespace oryx::doc
