#include "doc/compare/side_by_side_model.h"

#include <QBrush>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPalette>

#include "doc/common/text_codec.h"

namespace oryx::doc {
namespace {

QString RowTip(const compare::AttributeRow& row) {
    switch (row.change) {
    case compare::AttributeChange::Changed: return QStringLiteral("Changed");
    case compare::AttributeChange::Removed: return QStringLiteral("Removed: only in the first file");
    case compare::AttributeChange::Added: return QStringLiteral("Added: only in the second file");
    case compare::AttributeChange::Ignored: return QStringLiteral("Ignored");
    case compare::AttributeChange::Same: break;
    }
    return {};
}

}  // namespace

SideBySideModel::SideBySideModel(const QString& firstFile, const QString& secondFile, QObject* parent)
    : QAbstractTableModel(parent),
      headers_{QStringLiteral("Attribute"), QFileInfo(firstFile).fileName(), QFileInfo(secondFile).fileName()},
      headerTips_{QString(), firstFile, secondFile} {}

void SideBySideModel::ShowRows(std::vector<compare::AttributeRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int SideBySideModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int SideBySideModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 3; }

QVariant SideBySideModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.model() != this || index.row() >= rowCount() || index.column() >= 3) return {};
    const compare::AttributeRow& row = rows_[static_cast<std::size_t>(index.row())];
    const compare::Change change = ChangeMarks::RowChange(row.change);
    switch (role) {
    case Qt::DisplayRole:
        if (index.column() == 0) return DisplayText(row.name);
        return DisplayText(index.column() == 1 ? row.first : row.second);
    case Qt::DecorationRole: return index.column() == 0 ? QVariant(marks_.Icon(change)) : QVariant();
    case Qt::ForegroundRole:
        if (row.change == compare::AttributeChange::Ignored)
            return QGuiApplication::palette().brush(QPalette::Disabled, QPalette::Text);
        return change == compare::Change::Same ? QVariant()
                                               : QVariant(QBrush(ChangeMarks::TextColour(
                                                     change, QGuiApplication::palette().color(QPalette::Base))));
    case Qt::ToolTipRole: {
        const QString tip = RowTip(row);
        return tip.isEmpty() ? QVariant() : QVariant(tip);
    }
    default: return {};
    }
}

QVariant SideBySideModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= 3) return {};
    if (role == Qt::DisplayRole) return headers_[section];
    if (role == Qt::ToolTipRole && !headerTips_[section].isEmpty()) return headerTips_[section];
    return {};
}

}  // namespace oryx::doc
