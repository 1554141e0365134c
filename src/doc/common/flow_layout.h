#pragma once

#include <QLayout>
#include <QList>

namespace oryx::doc {

// Lays its items out in a line, left to right, going on to a new line when
// the next one does not fit; an item wider than the whole line gets the
// line's width. The height follows the width, so nothing is cut when the
// room is narrow or the text large.
class FlowLayout final : public QLayout {
public:
    explicit FlowLayout(QWidget* parent = nullptr);
    ~FlowLayout() override;

    void addItem(QLayoutItem* item) override;
    int count() const override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    Qt::Orientations expandingDirections() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect& rect) override;

private:
    // Places the items in `rect` unless only measuring; the height used.
    int Arrange(const QRect& rect, bool place) const;

    QList<QLayoutItem*> items_;
};

}  // namespace oryx::doc
