#pragma once

#include <QAbstractTableModel>

#include <vector>

#include "prov/component_store.h"

namespace oryx::doc {

// The attribute list of one component: "Attribute" and "Value", one row per
// attribute line not beginning with "&", each with its own value. The rows
// are views into the store, which outlives the model's contents.
class AttributeListModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit AttributeListModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    // Shows the attributes of `node`; null empties the list.
    void ShowComponent(const prov::ComponentNode* node);
    const std::vector<prov::AttributeRow>& Rows() const { return rows_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    bool IsCell(const QModelIndex& index) const {
        return index.isValid() && index.model() == this && index.row() < rowCount() && index.column() < 2;
    }

    std::vector<prov::AttributeRow> rows_;
};

}  // namespace oryx::doc
