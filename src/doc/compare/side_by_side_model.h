#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <vector>

#include "compare/attribute_comparison.h"
#include "doc/compare/compare_marks.h"

namespace oryx::doc {

// One compared component's attributes side by side: "Attribute", the value in
// the first file and the value in the second, one row per occurrence of a
// name as the comparison pairs them. Rows that differ carry the mark of their
// change; ignored rows are greyed. The rows are views into both stores, which
// outlive the model's contents.
class SideBySideModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    // The headers of the two value columns name the files.
    SideBySideModel(const QString& firstFile, const QString& secondFile, QObject* parent = nullptr);

    void ShowRows(std::vector<compare::AttributeRow> rows);
    const std::vector<compare::AttributeRow>& Rows() const { return rows_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QString headers_[3];
    QString headerTips_[3];
    std::vector<compare::AttributeRow> rows_;
    ChangeMarks marks_;
};

}  // namespace oryx::doc
