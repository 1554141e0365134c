#include "doc/path_strip.h"

#include <QHBoxLayout>
#include <QLabel>

namespace oryx::doc {

PathStrip::PathStrip(QWidget* parent) : QFrame(parent), label_(new QLabel(this)) {
    setObjectName(QStringLiteral("Panel3"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setFixedHeight(17);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 0, 2, 0);
    label_->setObjectName(QStringLiteral("Label1"));
    // A long path is cut off at the right edge; it never widens the window.
    label_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    label_->setMinimumWidth(1);
    layout->addWidget(label_);
}

void PathStrip::Show(const QString& text) {
    text_ = text;
    // A path nested many thousand levels deep would take longer to lay out
    // than to find; the label shows its two ends, Copy takes it whole.
    constexpr qsizetype kShownEnd = 2000;
    if (text.size() > 2 * kShownEnd + 1)
        label_->setText(text.left(kShownEnd) + QChar(0x2026) + text.right(kShownEnd));
    else
        label_->setText(text);
}

}  // namespace oryx::doc
