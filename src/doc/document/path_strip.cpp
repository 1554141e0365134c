#include "doc/document/path_strip.h"

#include <QHBoxLayout>
#include <QHelpEvent>
#include <QLabel>
#include <QToolTip>

#include "doc/common/whole_text_tips.h"

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
    label_->installEventFilter(this);
}

bool PathStrip::eventFilter(QObject* watched, QEvent* event) {
    if (watched != label_ || event->type() != QEvent::ToolTip) return QFrame::eventFilter(watched, event);
    const bool cut = label_->fontMetrics().horizontalAdvance(label_->text()) > label_->contentsRect().width() ||
                     label_->text() != text_;
    if (text_.isEmpty() || !cut) return QFrame::eventFilter(watched, event);
    QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), WholeTextTip(text_), label_);
    return true;
}

void PathStrip::Show(const QString& text) {
    text_ = text;
    // A path nested many thousand levels deep would take longer to lay out
    // than to find; the label shows its two ends, Copy takes it whole.
    label_->setText(TwoEnds(text));
}

}  // namespace oryx::doc
