#include "doc/report/report_table_model.h"

#include "doc/common/text_codec.h"

namespace oryx::doc {

ReportTableModel::ReportTableModel(std::span<const reports::ColumnInfo> columns, bool editableFirstColumn,
                                   QObject* parent)
    : QAbstractTableModel(parent), columns_(columns), editableFirstColumn_(editableFirstColumn) {}

void ReportTableModel::SetRows(reports::ReportRows rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int ReportTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ReportTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant ReportTableModel::data(const QModelIndex& index, int role) const {
    if (!IsCell(index)) return {};
    if (role == Qt::DecorationRole && decoration_)
        return decoration_(rows_[static_cast<std::size_t>(index.row())], index.column());
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    const reports::ReportRow& row = rows_[static_cast<std::size_t>(index.row())];
    if (index.column() == 0) return DisplayText(row.First());
    const auto cell = static_cast<std::size_t>(index.column() - 1);
    return cell < row.CellCount() ? DisplayText(row.Cell(cell)) : QString();
}

bool ReportTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!IsCell(index) || role != Qt::EditRole || index.column() != 0 || !editableFirstColumn_) return false;
    rows_[static_cast<std::size_t>(index.row())].SetFirst(TextBytes(value.toString()));
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

Qt::ItemFlags ReportTableModel::flags(const QModelIndex& index) const {
    if (!IsCell(index)) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (editableFirstColumn_ && index.column() == 0) flags |= Qt::ItemIsEditable;
    return flags;
}

QVariant ReportTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        static_cast<std::size_t>(section) >= columns_.size())
        return {};
    return DisplayText(columns_[static_cast<std::size_t>(section)].caption);
}

}  // namespace oryx::doc
