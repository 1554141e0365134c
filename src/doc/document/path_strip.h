#pragma once

#include <QFrame>
#include <QString>

class QLabel;

namespace oryx::doc {

// The strip above the attribute list ("Panel3") naming the selected
// component: "Index Of: " and its path.
class PathStrip final : public QFrame {
    Q_OBJECT

public:
    explicit PathStrip(QWidget* parent);

    // Shows the text; empty for none.
    void Show(const QString& text);
    // The whole text, also where the label shows only the ends of a very long path.
    const QString& Text() const { return text_; }
    QLabel* Label() const { return label_; }

protected:
    // A path cut off at the right edge shows whole in the label's tooltip.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString text_;
    QLabel* label_;
};

}  // namespace oryx::doc
