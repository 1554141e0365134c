#pragma once

#include <QLabel>

namespace oryx::doc {

// A one-line label that may be narrower than its text: the text then ends in
// "…" and its tooltip holds it whole. text() is always the whole text.
class ElidedLabel final : public QLabel {
    Q_OBJECT

public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    QSize minimumSizeHint() const override;
    // True when the label is too narrow for its whole text.
    bool IsElided() const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace oryx::doc
