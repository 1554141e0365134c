#pragma once

#include <QWidget>

#include <memory>

#include "compare/comparison.h"

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QTreeView;

namespace oryx::prov {
class ComponentStore;
}

namespace oryx::doc {

class CompareTreeModel;
class CompareTreeView;
class DocumentHost;
class OpenFileMark;
class SideBySideModel;

// The window that compares two provisioning files: one tree of both files'
// components with each difference marked, the attributes of the selected
// component side by side, the counts of oryx-cli diff, stepping from one
// difference to the next, the options of the comparison and the export of
// the differences as CSV. It owns both files' stores and their comparison.
class CompareWindow final : public QWidget {
    Q_OBJECT

public:
    using Entry = compare::Comparison::Index;

    // Reads both files (at once) and compares them; throws
    // oryx::prov::FileError when one cannot be read (no window remains then).
    CompareWindow(DocumentHost* host, const QString& firstFile, const QString& secondFile, QWidget* parent = nullptr);
    ~CompareWindow() override;

    const compare::Comparison& Comparison() const { return *comparison_; }

    // F8 and Shift+F8: select the next or the previous difference, depth
    // first from the selected component, and scroll to it.
    void NextDifference();
    void PreviousDifference();
    // "Export Differences to CSV...": oryx-cli diff's CSV of the shown
    // comparison, written as a whole to the file chosen in the save dialog.
    void ExportDifferencesCsv();

    // The controls, for this window's tests.
    CompareTreeView* Tree() const { return tree_; }
    QTreeView* Attributes() const { return attributes_; }
    QLabel* Summary() const { return summary_; }
    QLabel* PathLabel() const { return pathLabel_; }
    QCheckBox* OnlyDifferencesBox() const { return onlyDifferences_; }
    QLineEdit* IgnoredAttributesField() const { return ignoredAttributes_; }
    QCheckBox* IgnoreCaseBox() const { return ignoreCase_; }

private:
    QWidget* BuildCommandBar();
    void BuildLayout();
    QAction* AddWindowAction(const QString& text, const QKeySequence& key, void (CompareWindow::*run)());
    // Compares again when the option fields ask for other options than the
    // comparison on show was made with.
    void CompareAgain();
    void ShowEntry(Entry entry);
    void StepToDifference(bool forward);
    // When the window closes: the comparison and the stores go, and the host is told.
    void Release();

    DocumentHost* host_;
    QString firstFile_;
    QString secondFile_;
    std::unique_ptr<OpenFileMark> firstMark_;  // no save replaces a compared file while the window is open
    std::unique_ptr<OpenFileMark> secondMark_;
    std::unique_ptr<prov::ComponentStore> firstStore_;
    std::unique_ptr<prov::ComponentStore> secondStore_;
    std::unique_ptr<compare::Comparison> comparison_;

    CompareTreeModel* treeModel_ = nullptr;
    CompareTreeView* tree_ = nullptr;
    SideBySideModel* attributeModel_ = nullptr;
    QTreeView* attributes_ = nullptr;
    QLabel* summary_ = nullptr;
    QLabel* pathLabel_ = nullptr;
    QCheckBox* onlyDifferences_ = nullptr;
    QLineEdit* ignoredAttributes_ = nullptr;
    QCheckBox* ignoreCase_ = nullptr;
    QAction* exportAction_ = nullptr;
};

}  // namespace oryx::doc
