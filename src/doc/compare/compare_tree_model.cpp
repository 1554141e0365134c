#include "doc/compare/compare_tree_model.h"

#include <QBrush>
#include <QGuiApplication>
#include <QPalette>

#include "doc/common/text_codec.h"

namespace oryx::doc {
namespace {

using compare::Change;

bool IsWhole(Change change) { return change == Change::Added || change == Change::Removed; }

QString Capitalized(QString word) {
    if (!word.isEmpty()) word[0] = word[0].toUpper();
    return word;
}

}  // namespace

CompareTreeModel::CompareTreeModel(QObject* parent) : FlatTreeModel(parent) {}

void CompareTreeModel::Show(const compare::Comparison* comparison) {
    beginResetModel();
    comparison_ = comparison;
    std::vector<Row>().swap(rows_);
    expanded_.clear();
    laterSibling_.clear();
    lastFound_ = 0;
    if (comparison_) {
        const std::size_t size = comparison_->Size();
        expanded_.resize(size);
        for (Entry i = 0; i < size; ++i) expanded_[i] = (*comparison_)[i].differenceBelow;
        MarkLaterSiblings();
        AppendVisibleRows(compare::Comparison::kRoot, 0, rows_);
    }
    endResetModel();
}

void CompareTreeModel::SetOnlyDifferences(bool only) {
    if (only == onlyDifferences_) return;
    onlyDifferences_ = only;
    if (!comparison_) return;
    MarkLaterSiblings();
    Relayout();
}

bool CompareTreeModel::IsShown(Entry entry) const {
    if (!onlyDifferences_) return true;
    const compare::ComparedComponent node = (*comparison_)[entry];
    return node.change != Change::Same || node.differenceBelow;
}

bool CompareTreeModel::HasShownChildren(Entry entry) const {
    if (comparison_->ChildCount(entry) == 0) return false;
    if (!onlyDifferences_) return true;
    // The children of an added or removed item are added or removed too.
    const compare::ComparedComponent node = (*comparison_)[entry];
    return node.differenceBelow || IsWhole(node.change);
}

CompareTreeModel::Entry CompareTreeModel::TreeParent(Entry entry) const {
    const Entry parent = comparison_->Parent(entry);
    return parent == compare::Comparison::kRoot ? kNone : parent;
}

void CompareTreeModel::MarkLaterSiblings() {
    laterSibling_.assign(comparison_->Size(), false);
    for (Entry parent = 0; parent < comparison_->Size(); ++parent) {
        bool later = false;
        for (Entry child = comparison_->ChildEnd(parent); child-- > comparison_->ChildBegin(parent);) {
            laterSibling_[child] = later;
            if (IsShown(child)) later = true;
        }
    }
}

// An explicit stack: the files may nest components a million deep.
void CompareTreeModel::AppendVisibleRows(Entry entry, std::uint32_t childDepth, std::vector<Row>& out) const {
    struct Frame {
        Entry next;
        Entry end;
        std::uint32_t depth;
    };
    std::vector<Frame> stack{{comparison_->ChildBegin(entry), comparison_->ChildEnd(entry), childDepth}};
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next == top.end) {
            stack.pop_back();
            continue;
        }
        const Entry child = top.next++;
        const std::uint32_t depth = top.depth;
        if (!IsShown(child)) continue;
        out.push_back({child, depth});
        if (expanded_[child] && HasShownChildren(child))
            stack.push_back({comparison_->ChildBegin(child), comparison_->ChildEnd(child), depth + 1});
    }
}

QModelIndex CompareTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (parent.isValid() || column != 0 || row < 0 || static_cast<std::size_t>(row) >= rows_.size()) return {};
    return createIndex(row, 0, static_cast<quintptr>(rows_[static_cast<std::size_t>(row)].entry));
}

QModelIndex CompareTreeModel::parent(const QModelIndex&) const { return {}; }

int CompareTreeModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int CompareTreeModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 1; }

QVariant CompareTreeModel::data(const QModelIndex& index, int role) const {
    const Entry entry = EntryAt(index);
    if (entry == kNone) return {};
    const compare::ComparedComponent node = (*comparison_)[entry];
    switch (role) {
    case Qt::DisplayRole: return DisplayText(comparison_->Name(entry));
    case Qt::DecorationRole: return marks_.Icon(node.change);
    case Qt::ForegroundRole:
        return node.change == Change::Same ? QVariant()
                                           : QVariant(QBrush(ChangeMarks::TextColour(
                                                 node.change, QGuiApplication::palette().color(QPalette::Base))));
    case Qt::ToolTipRole:
        if (IsWhole(node.change) && comparison_->IsDifference(entry) && node.beneath > 0)
            return (node.beneath == 1 ? QStringLiteral("%1 (%2 component beneath)")
                                      : QStringLiteral("%1 (%2 components beneath)"))
                .arg(Capitalized(ChangeMarks::Word(node.change)))
                .arg(node.beneath);
        if (node.change != Change::Same) return Capitalized(ChangeMarks::Word(node.change));
        return node.differenceBelow ? QStringLiteral("Differences below") : QVariant();
    default: return {};
    }
}

Qt::ItemFlags CompareTreeModel::flags(const QModelIndex& index) const {
    if (EntryAt(index) == kNone) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

CompareTreeModel::Entry CompareTreeModel::EntryAt(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this || index.row() < 0 ||
        static_cast<std::size_t>(index.row()) >= rows_.size())
        return kNone;
    return rows_[static_cast<std::size_t>(index.row())].entry;
}

QModelIndex CompareTreeModel::IndexOf(Entry entry) const {
    if (entry == kNone) return {};
    if (lastFound_ < rows_.size() && rows_[lastFound_].entry == entry)
        return createIndex(static_cast<int>(lastFound_), 0, static_cast<quintptr>(entry));
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].entry == entry) {
            lastFound_ = i;
            return createIndex(static_cast<int>(i), 0, static_cast<quintptr>(entry));
        }
    }
    return {};
}

std::size_t CompareTreeModel::Depth(const QModelIndex& index) const {
    return EntryAt(index) == kNone ? 0 : rows_[static_cast<std::size_t>(index.row())].depth;
}

bool CompareTreeModel::HasChildrenToShow(const QModelIndex& index) const {
    const Entry entry = EntryAt(index);
    return entry != kNone && HasShownChildren(entry);
}

bool CompareTreeModel::IsExpandedAt(const QModelIndex& index) const {
    const Entry entry = EntryAt(index);
    return entry != kNone && IsExpanded(entry);
}

void CompareTreeModel::Expand(const QModelIndex& index) {
    const Entry entry = EntryAt(index);
    if (entry == kNone || expanded_[entry]) return;
    expanded_[entry] = true;
    const int row = index.row();
    std::vector<Row> added;
    if (HasShownChildren(entry)) AppendVisibleRows(entry, rows_[static_cast<std::size_t>(row)].depth + 1, added);
    InsertRowsBelow(rows_, row, added);
    emit dataChanged(index, index);
}

void CompareTreeModel::Collapse(const QModelIndex& index) {
    const Entry entry = EntryAt(index);
    if (entry == kNone || !expanded_[entry]) return;
    expanded_[entry] = false;
    RemoveRowsBelow(rows_, index.row());
    emit dataChanged(index, index);
}

QModelIndex CompareTreeModel::Reveal(Entry entry) {
    if (!comparison_ || entry == kNone || entry == compare::Comparison::kRoot || entry >= comparison_->Size() ||
        !IsShown(entry))
        return {};
    bool changed = false;
    for (Entry above = TreeParent(entry); above != kNone; above = TreeParent(above)) {
        if (!expanded_[above]) {
            expanded_[above] = true;
            changed = true;
        }
    }
    if (changed) Relayout();
    return IndexOf(entry);
}

void CompareTreeModel::Relayout() {
    emit layoutAboutToBeChanged();
    std::vector<Row> rows;
    rows.reserve(rows_.size());
    AppendVisibleRows(compare::Comparison::kRoot, 0, rows);
    rows_.swap(rows);
    std::vector<Row>().swap(rows);
    lastFound_ = 0;

    MovePersistentIndexes(rows_.size(), [this](std::size_t row) { return static_cast<quintptr>(rows_[row].entry); });
    emit layoutChanged();
}

}  // namespace oryx::doc
