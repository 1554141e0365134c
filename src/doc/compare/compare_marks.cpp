#include "doc/compare/compare_marks.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>
#include <cmath>
#include <functional>

namespace oryx::doc {
namespace {

constexpr int kSize = 16;

QIcon Drawn(const std::function<void(QPainter&)>& draw) {
    QPixmap picture(kSize, kSize);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    return QIcon(picture);
}

// A white sign on a filled shape of the change's colour.
QIcon Mark(compare::Change change, const std::function<void(QPainter&)>& shape,
           const std::function<void(QPainter&)>& sign) {
    return Drawn([&](QPainter& painter) {
        painter.setPen(QPen(ChangeMarks::Colour(change).darker(130), 1));
        painter.setBrush(ChangeMarks::Colour(change));
        shape(painter);
        painter.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::FlatCap));
        sign(painter);
    });
}

}  // namespace

ChangeMarks::ChangeMarks()
    : same_(Drawn([](QPainter&) {})),
      added_(Mark(
          compare::Change::Added, [](QPainter& p) { p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 2, 2); },
          [](QPainter& p) {
              p.drawLine(QPointF(4, 8), QPointF(12, 8));
              p.drawLine(QPointF(8, 4), QPointF(8, 12));
          })),
      removed_(Mark(
          compare::Change::Removed, [](QPainter& p) { p.drawEllipse(QRectF(1.5, 1.5, 13, 13)); },
          [](QPainter& p) { p.drawLine(QPointF(4, 8), QPointF(12, 8)); })),
      changed_(Mark(
          compare::Change::Changed,
          [](QPainter& p) {
              QPainterPath diamond;
              diamond.moveTo(8, 0.5);
              diamond.lineTo(15.5, 8);
              diamond.lineTo(8, 15.5);
              diamond.lineTo(0.5, 8);
              diamond.closeSubpath();
              p.drawPath(diamond);
          },
          [](QPainter& p) {
              p.setBrush(Qt::white);
              p.setPen(Qt::NoPen);
              p.drawEllipse(QRectF(5.5, 5.5, 5, 5));
          })) {}

const QIcon& ChangeMarks::Icon(compare::Change change) const {
    switch (change) {
    case compare::Change::Added: return added_;
    case compare::Change::Removed: return removed_;
    case compare::Change::Changed: return changed_;
    case compare::Change::Same: break;
    }
    return same_;
}

QColor ChangeMarks::Colour(compare::Change change) {
    switch (change) {
    case compare::Change::Added: return QColor(0x1b, 0x7a, 0x32);
    case compare::Change::Removed: return QColor(0xb4, 0x23, 0x1d);
    case compare::Change::Changed: return QColor(0x9c, 0x5a, 0x00);
    case compare::Change::Same: break;
    }
    return {};
}

namespace {

double Luminance(const QColor& colour) {
    const auto channel = [](double value) {
        return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) + 0.0722 * channel(colour.blueF());
}

}  // namespace

double ChangeMarks::Contrast(const QColor& a, const QColor& b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor ChangeMarks::TextColour(compare::Change change, const QColor& background) {
    const QColor wanted = Colour(change);
    if (!wanted.isValid() || !background.isValid()) return wanted;
    constexpr double kReadable = 4.5;
    constexpr int kSteps = 20;
    const QColor toward = Luminance(background) < 0.18 ? QColor(Qt::white) : QColor(Qt::black);
    QColor colour = wanted;
    for (int step = 1; step <= kSteps && Contrast(colour, background) < kReadable; ++step) {
        const double t = static_cast<double>(step) / kSteps;
        colour = QColor::fromRgbF(static_cast<float>(wanted.redF() + (toward.redF() - wanted.redF()) * t),
                                  static_cast<float>(wanted.greenF() + (toward.greenF() - wanted.greenF()) * t),
                                  static_cast<float>(wanted.blueF() + (toward.blueF() - wanted.blueF()) * t));
    }
    return colour;
}

QString ChangeMarks::Word(compare::Change change) {
    switch (change) {
    case compare::Change::Added: return QStringLiteral("added");
    case compare::Change::Removed: return QStringLiteral("removed");
    case compare::Change::Changed: return QStringLiteral("changed");
    case compare::Change::Same: break;
    }
    return {};
}

compare::Change ChangeMarks::RowChange(compare::AttributeChange change) {
    switch (change) {
    case compare::AttributeChange::Added: return compare::Change::Added;
    case compare::AttributeChange::Removed: return compare::Change::Removed;
    case compare::AttributeChange::Changed: return compare::Change::Changed;
    case compare::AttributeChange::Same:
    case compare::AttributeChange::Ignored: break;
    }
    return compare::Change::Same;
}

QIcon ChangeMarks::WindowIcon() {
    return Drawn([](QPainter& painter) {
        painter.setPen(QColor(0x20, 0x40, 0x70));
        painter.setBrush(QColor(0xf4, 0xf0, 0xd8));
        painter.drawRect(QRectF(0.5, 2.5, 7, 12));
        painter.drawRect(QRectF(8.5, 2.5, 7, 12));
        painter.setPen(QPen(Colour(compare::Change::Removed), 1.5));
        painter.drawLine(QPointF(2, 7), QPointF(6, 7));
        painter.setPen(QPen(Colour(compare::Change::Added), 1.5));
        painter.drawLine(QPointF(10, 10), QPointF(14, 10));
    });
}

}  // namespace oryx::doc
