#pragma once

#include <QAbstractTableModel>

#include <cstdint>
#include <vector>

#include "refs/reference_index.h"

namespace oryx::doc {

// The references to one component, one row each: "Source" (the referring
// component's path) and "Line" (the attribute line as stored). Rows are
// positions in the index, so 100,000 referrers cost 100,000 numbers.
class ReferencedByModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit ReferencedByModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    // Shows the references at `positions` of `index`; a null index empties the list.
    void Show(const refs::ReferenceIndex* index, std::vector<std::uint32_t> positions);
    const refs::Reference* At(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    const refs::ReferenceIndex* index_ = nullptr;
    std::vector<std::uint32_t> positions_;
};

}  // namespace oryx::doc
