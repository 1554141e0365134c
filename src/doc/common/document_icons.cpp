#include "doc/common/document_icons.h"

#include <QPainter>
#include <QPixmap>

namespace oryx::doc {

QIcon ConfigureFileIcon() {
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(0x20, 0x40, 0x70));
    painter.setBrush(QColor(0xf4, 0xf0, 0xd8));
    painter.drawRect(QRectF(2.5, 0.5, 11, 15));
    painter.setPen(QPen(QColor(0x20, 0x60, 0xa0), 1.5));
    for (int y = 4; y <= 12; y += 4) painter.drawLine(QPointF(5, y), QPointF(11, y));
    painter.setBrush(QColor(0xc0, 0x30, 0x30));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QRectF(8, 8, 7, 7));
    return QIcon(picture);
}

}  // namespace oryx::doc
