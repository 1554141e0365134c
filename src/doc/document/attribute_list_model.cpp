#include "doc/document/attribute_list_model.h"

#include <algorithm>

#include <QFont>

#include "doc/common/text_codec.h"
#include "text/hidden_name.h"

namespace oryx::doc {

void AttributeListModel::ShowComponent(const prov::ComponentNode* node) {
    beginResetModel();
    rows_ = prov::VisibleAttributeRows(node);
    references_.clear();
    lineIndexes_.clear();
    if (node) {
        std::size_t lineIndex = 0;
        for (const std::string_view line : node->Attributes().FileLines()) {
            if (!text::IsHiddenName(line)) {
                lineIndexes_.push_back(lineIndex);
                references_.push_back(resolver_ ? resolver_->ResolveLine(line) : refs::Resolution{});
            }
            ++lineIndex;
        }
    }
    endResetModel();
}

void AttributeListModel::SetColours(const QColor& link, const QColor& dangling) {
    link_ = link;
    dangling_ = dangling;
    if (!rows_.empty()) emit dataChanged(index(0, 1), index(rowCount() - 1, 1), {Qt::ForegroundRole});
}

refs::Resolution AttributeListModel::RowReference(int row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= references_.size()) return {};
    return references_[static_cast<std::size_t>(row)];
}

int AttributeListModel::RowOfLine(std::size_t lineIndex) const {
    const auto it = std::lower_bound(lineIndexes_.begin(), lineIndexes_.end(), lineIndex);
    return it != lineIndexes_.end() && *it == lineIndex ? static_cast<int>(it - lineIndexes_.begin()) : -1;
}

int AttributeListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int AttributeListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 2; }

QVariant AttributeListModel::data(const QModelIndex& index, int role) const {
    if (!IsCell(index)) return {};
    const prov::AttributeRow& row = rows_[static_cast<std::size_t>(index.row())];
    if (role == Qt::DisplayRole) return DisplayText(index.column() == 0 ? row.name : row.value);
    if (index.column() != 1) return {};
    const refs::Resolution r = RowReference(index.row());
    if (r.kind == refs::ReferenceKind::None) return {};
    switch (role) {
    case Qt::ForegroundRole: {
        const QColor& colour = r.kind == refs::ReferenceKind::Dangling ? dangling_ : link_;
        return colour.isValid() ? QVariant(colour) : QVariant();
    }
    case Qt::FontRole: {
        if (r.kind == refs::ReferenceKind::Dangling) return {};
        QFont font;
        font.setUnderline(true);
        return font;
    }
    case Qt::ToolTipRole:
        if (r.kind == refs::ReferenceKind::Partial)
            return QStringLiteral("%1 is not in this file; goes to %2")
                .arg(DisplayText(r.missing), DisplayText(prov::ComponentPath(*r.target)));
        if (r.kind == refs::ReferenceKind::Dangling)
            return QStringLiteral("No component %1 in this file").arg(DisplayText(r.missing));
        return {};
    default: return {};
    }
}

QVariant AttributeListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    if (section == 0) return QStringLiteral("Attribute");
    if (section == 1) return QStringLiteral("Value");
    return {};
}

}  // namespace oryx::doc
