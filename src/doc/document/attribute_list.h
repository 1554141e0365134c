#pragma once

#include <QPersistentModelIndex>
#include <QTreeView>

class QTimer;

namespace oryx::prov {
class ComponentNode;
}

namespace oryx::doc {

class AttributeListModel;

// The attribute list of a document window ("ListView1"): the attributes of
// the selected component, one row each. A row under the resting pointer
// becomes the selected row (hot tracking).
class AttributeList final : public QTreeView {
    Q_OBJECT

public:
    explicit AttributeList(QWidget* parent);

    // Shows the attributes of `node`; null empties the list.
    void ShowComponent(const prov::ComponentNode* node);
    // "name = value" of the selected row; empty when none is selected.
    QString SelectedRowText() const;
    AttributeListModel* Model() const { return model_; }

signals:
    // Double-click on a row, Enter on it or Ctrl+click on its value: follow its reference.
    void FollowRequested(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void UpdateColours();

    AttributeListModel* model_;
    QPersistentModelIndex hoverRow_;
    QTimer* hoverTimer_;
};

}  // namespace oryx::doc
