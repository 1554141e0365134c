#include "doc/refs/referenced_by_model.h"

#include "doc/common/text_codec.h"

namespace oryx::doc {

void ReferencedByModel::Show(const refs::ReferenceIndex* index, std::vector<std::uint32_t> positions) {
    beginResetModel();
    index_ = index;
    positions_ = index ? std::move(positions) : std::vector<std::uint32_t>{};
    endResetModel();
}

const refs::Reference* ReferencedByModel::At(int row) const {
    if (!index_ || row < 0 || static_cast<std::size_t>(row) >= positions_.size()) return nullptr;
    return &index_->All()[positions_[static_cast<std::size_t>(row)]];
}

int ReferencedByModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(positions_.size());
}

int ReferencedByModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 2; }

QVariant ReferencedByModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || index.column() > 1) return {};
    const refs::Reference* r = At(index.row());
    if (!r) return {};
    if (index.column() == 1) return DisplayText(r->line);
    return DisplayText(prov::ComponentPath(index_->Component(r->source)));
}

QVariant ReferencedByModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    if (section == 0) return QStringLiteral("Source");
    if (section == 1) return QStringLiteral("Line");
    return {};
}

}  // namespace oryx::doc
