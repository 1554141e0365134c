#pragma once

#include <QAbstractTableModel>
#include <QColor>

#include <vector>

#include "prov/component_store.h"
#include "refs/reference_rule.h"

namespace oryx::doc {

// The attribute list of one component: "Attribute" and "Value", one row per
// attribute line not beginning with "&", each with its own value. The rows
// are views into the store, which outlives the model's contents. With a
// resolver, a value that is a reference is coloured as a link (a dangling
// one in red) and says in its tooltip where a partial or dangling one fails.
class AttributeListModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit AttributeListModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    // Shows the attributes of `node`; null empties the list.
    void ShowComponent(const prov::ComponentNode* node);
    const std::vector<prov::AttributeRow>& Rows() const { return rows_; }
    // Resolves the rows' values from the next ShowComponent on; null for none.
    void SetResolver(const refs::ReferenceResolver* resolver) { resolver_ = resolver; }
    void SetColours(const QColor& link, const QColor& dangling);
    // The reference of a row's value (kind None when it is none).
    refs::Resolution RowReference(int row) const;
    // The row of the node's file line `lineIndex` (see AttributeList::FileLines); -1 when none shows it.
    int RowOfLine(std::size_t lineIndex) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    bool IsCell(const QModelIndex& index) const {
        return index.isValid() && index.model() == this && index.row() < rowCount() && index.column() < 2;
    }

    std::vector<prov::AttributeRow> rows_;
    std::vector<refs::Resolution> references_;
    std::vector<std::size_t> lineIndexes_;
    const refs::ReferenceResolver* resolver_ = nullptr;
    QColor link_, dangling_;
};

}  // namespace oryx::doc
