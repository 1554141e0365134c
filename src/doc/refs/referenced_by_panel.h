#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QTreeView;

namespace oryx::refs {
struct Reference;
}

namespace oryx::doc {

class ReferencedByModel;

// "Referenced by (N)" below the attribute list: the exact references to the
// selected component, with "Include references below" for those to its
// descendants and the partial ones ending at or beneath it. With none it
// shrinks to its header line.
class ReferencedByPanel final : public QWidget {
    Q_OBJECT

public:
    explicit ReferencedByPanel(QWidget* parent);

    ReferencedByModel* Model() const { return model_; }
    QTreeView* List() const { return list_; }
    QCheckBox* IncludeBelow() const { return below_; }
    QLabel* Header() const { return header_; }
    // Call after the model changed: the count in the header, the list shown or not.
    void Refresh();

signals:
    void OpenRequested(const oryx::refs::Reference& reference);
    void IncludeBelowChanged(bool on);

private:
    ReferencedByModel* model_;
    QLabel* header_;
    QCheckBox* below_;
    QTreeView* list_;
};

}  // namespace oryx::doc
