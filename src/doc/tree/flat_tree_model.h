#pragma once

#include <QAbstractItemModel>

#include <cstddef>
#include <unordered_map>

namespace oryx::doc {

// A tree handed to its view flat: the rows are the visible items in
// depth-first order, each with its depth, and the view (FlatTreeView) draws
// the indentation and expands and collapses through the model. So neither
// ever recurses on the depth of the tree. Each index's internalId names its item.
class FlatTreeModel : public QAbstractItemModel {
public:
    using QAbstractItemModel::QAbstractItemModel;

    // 0 for a top-level item.
    virtual std::size_t Depth(const QModelIndex& index) const = 0;
    // The item has items below it that the tree shows.
    virtual bool HasChildrenToShow(const QModelIndex& index) const = 0;
    virtual bool IsExpandedAt(const QModelIndex& index) const = 0;
    virtual void Expand(const QModelIndex& index) = 0;
    virtual void Collapse(const QModelIndex& index) = 0;

protected:
    // Puts `added`, the rows newly visible below row `row`, right after it.
    template <typename Rows>
    void InsertRowsBelow(Rows& rows, int row, const Rows& added) {
        if (added.empty()) return;
        beginInsertRows({}, row + 1, row + static_cast<int>(added.size()));
        rows.insert(rows.begin() + row + 1, added.begin(), added.end());
        endInsertRows();
    }

    // Takes away the rows below row `row` that are deeper than it: those its
    // collapse hides.
    template <typename Rows>
    void RemoveRowsBelow(Rows& rows, int row) {
        const auto first = static_cast<std::size_t>(row) + 1;
        std::size_t end = first;
        while (end < rows.size() && rows[end].depth > rows[first - 1].depth) ++end;
        if (end == first) return;
        beginRemoveRows({}, row + 1, static_cast<int>(end) - 1);
        rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(first), rows.begin() + static_cast<std::ptrdiff_t>(end));
        endRemoveRows();
    }

    // After the rows were rebuilt: the persistent indexes (current item,
    // selection, open editor) follow their items to their new rows; an item
    // no longer visible loses its index. `idOfRow(i)` is the internalId of row i.
    template <typename IdOfRow>
    void MovePersistentIndexes(std::size_t rowCount, IdOfRow&& idOfRow) {
        const QModelIndexList before = persistentIndexList();
        if (before.isEmpty()) return;
        std::unordered_map<quintptr, int> newRow;
        for (const QModelIndex& old : before) newRow.emplace(old.internalId(), -1);
        std::size_t missing = newRow.size();
        for (std::size_t i = 0; i < rowCount && missing > 0; ++i) {
            const auto it = newRow.find(idOfRow(i));
            if (it != newRow.end() && it->second < 0) {
                it->second = static_cast<int>(i);
                --missing;
            }
        }
        QModelIndexList after;
        after.reserve(before.size());
        for (const QModelIndex& old : before) {
            const int row = newRow[old.internalId()];
            after.append(row < 0 ? QModelIndex() : createIndex(row, 0, old.internalId()));
        }
        changePersistentIndexList(before, after);
    }
};

}  // namespace oryx::doc
