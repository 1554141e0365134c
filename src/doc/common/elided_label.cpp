#include "doc/common/elided_label.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include "doc/common/whole_text_tips.h"

namespace oryx::doc {

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QSize ElidedLabel::minimumSizeHint() const { return {0, QLabel::minimumSizeHint().height()}; }

bool ElidedLabel::IsElided() const { return fontMetrics().horizontalAdvance(text()) > contentsRect().width(); }

bool ElidedLabel::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        if (IsElided())
            QToolTip::showText(help->globalPos(), WholeTextTip(text()), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QLabel::event(event);
}

void ElidedLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect room = contentsRect();
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
    painter.drawText(room, static_cast<int>(alignment()) | Qt::TextSingleLine,
                     fontMetrics().elidedText(TwoEnds(text()), Qt::ElideRight, room.width()));
}

}  // namespace oryx::doc
