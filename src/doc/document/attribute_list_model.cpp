#include "doc/document/attribute_list_model.h"

#include "doc/common/text_codec.h"

namespace oryx::doc {

void AttributeListModel::ShowComponent(const prov::ComponentNode* node) {
    beginResetModel();
    rows_ = prov::VisibleAttributeRows(node);
    endResetModel();
}

int AttributeListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int AttributeListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 2; }

QVariant AttributeListModel::data(const QModelIndex& index, int role) const {
    if (!IsCell(index) || role != Qt::DisplayRole) return {};
    const prov::AttributeRow& row = rows_[static_cast<std::size_t>(index.row())];
    return DisplayText(index.column() == 0 ? row.name : row.value);
}

QVariant AttributeListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    if (section == 0) return QStringLiteral("Attribute");
    if (section == 1) return QStringLiteral("Value");
    return {};
}

}  // namespace oryx::doc
