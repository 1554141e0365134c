#pragma once

#include <QAbstractTableModel>

#include <functional>
#include <span>

#include "reports/report_column.h"
#include "reports/report_rows.h"

namespace oryx::doc {

// A report list's rows as a table: the first cell, then the further cells,
// one column each. The view draws only the rows on screen, so a report of a
// hundred thousand rows shows at once. With an editable first column an
// edited text replaces the row's first cell, so a later export writes it.
class ReportTableModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    ReportTableModel(std::span<const reports::ColumnInfo> columns, bool editableFirstColumn, QObject* parent = nullptr);

    void SetRows(reports::ReportRows rows);
    // What the cells show beside their text (an icon), from the row.
    using Decoration = std::function<QVariant(const reports::ReportRow& row, int column)>;
    void SetDecoration(Decoration decoration) { decoration_ = std::move(decoration); }
    const reports::ReportRows& Rows() const { return rows_; }
    std::span<const reports::ColumnInfo> Columns() const { return columns_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    bool IsCell(const QModelIndex& index) const {
        return index.isValid() && index.model() == this && index.row() < rowCount() && index.column() < columnCount();
    }

    std::span<const reports::ColumnInfo> columns_;
    bool editableFirstColumn_;
    reports::ReportRows rows_;
    Decoration decoration_;
};

}  // namespace oryx::doc
