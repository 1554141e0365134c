#pragma once

#include <QObject>

#include <functional>

class QAbstractItemView;
class QMenu;
class QWidget;

namespace oryx::doc {

class AttributeList;
class ReportPanel;
class TZTreeView;

// "&Copy" of a document window ("MenuItem1", Ctrl+C within the window, and
// the context menu "menuPropertyPopup" of the tree and the attribute list).
// What it copies follows the focus: from the tree the selected component's
// path, from the attribute list the path and the selected attribute row,
// from a report list its header and selected rows as tab-separated lines.
class CopyCommand final : public QObject {
    Q_OBJECT

public:
    // `componentPath` gives the path of the selected component.
    CopyCommand(QWidget& window, TZTreeView& tree, AttributeList& attributes, const ReportPanel& reports,
                std::function<QString()> componentPath);

    void CopySelection() const;

private:
    TZTreeView& tree_;
    AttributeList& attributes_;
    const ReportPanel& reports_;
    std::function<QString()> componentPath_;
    QMenu* menu_;
};

}  // namespace oryx::doc
