#include "doc/tree/component_tree_model.h"

#include <algorithm>
#include <string_view>

#include "doc/common/text_codec.h"
#include "prov/collation.h"
#include "prov/component_store.h"
#include "text/hidden_name.h"

namespace oryx::doc {

ComponentTreeModel::ComponentTreeModel(QObject* parent) : FlatTreeModel(parent) {
    // Only the weight is set, so the view's own font supplies the rest.
    boldFont_.setBold(true);
}

void ComponentTreeModel::Build(const prov::ComponentStore& store) {
    beginResetModel();
    rows_.clear();
    defaultExpanded_ = false;
    expandExceptions_.clear();
    removed_.clear();
    captions_.clear();
    bold_.clear();
    ForgetFilter();
    addNode_ = store.AddNode();
    if (addNode_) AppendVisibleRows(addNode_, 0, rows_);
    endResetModel();
}

void ComponentTreeModel::Clear() {
    beginResetModel();
    std::vector<Row>().swap(rows_);
    expandExceptions_.clear();
    removed_.clear();
    captions_.clear();
    bold_.clear();
    ForgetFilter();
    addNode_ = nullptr;
    endResetModel();
}

QModelIndex ComponentTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (parent.isValid() || column != 0 || row < 0 || static_cast<std::size_t>(row) >= rows_.size()) return {};
    return createIndex(row, 0, const_cast<Node*>(rows_[static_cast<std::size_t>(row)].node));
}

QModelIndex ComponentTreeModel::parent(const QModelIndex&) const { return {}; }

int ComponentTreeModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ComponentTreeModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 1; }

QVariant ComponentTreeModel::data(const QModelIndex& index, int role) const {
    const Node* node = NodeAt(index);
    if (!node) return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: return Caption(node);
    case Qt::FontRole: return IsBold(node) ? QVariant(boldFont_) : QVariant();
    case DepthRole: return static_cast<qlonglong>(rows_[static_cast<std::size_t>(index.row())].depth);
    case HasChildrenRole: return HasVisibleChildren(node);
    case ExpandedRole: return IsExpanded(node) && HasVisibleChildren(node);
    case LaterSiblingRole: return HasLaterSibling(node);
    default: return {};
    }
}

bool ComponentTreeModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    const Node* node = NodeAt(index);
    if (!node || role != Qt::EditRole) return false;
    captions_[node] = value.toString();
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

Qt::ItemFlags ComponentTreeModel::flags(const QModelIndex& index) const {
    if (!NodeAt(index)) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemNeverHasChildren;
}

const ComponentTreeModel::Node* ComponentTreeModel::NodeAt(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this || index.row() < 0 ||
        static_cast<std::size_t>(index.row()) >= rows_.size())
        return nullptr;
    return rows_[static_cast<std::size_t>(index.row())].node;
}

QModelIndex ComponentTreeModel::IndexOf(const Node* node) const {
    if (!node) return {};
    // The item asked for last is usually asked for again (bolding follows the selection).
    if (lastFound_ < rows_.size() && rows_[lastFound_].node == node)
        return createIndex(static_cast<int>(lastFound_), 0, const_cast<Node*>(node));
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].node == node) {
            lastFound_ = i;
            return createIndex(static_cast<int>(i), 0, const_cast<Node*>(node));
        }
    }
    return {};
}

std::size_t ComponentTreeModel::Depth(const QModelIndex& index) const {
    return NodeAt(index) ? rows_[static_cast<std::size_t>(index.row())].depth : 0;
}

bool ComponentTreeModel::HasChildrenToShow(const QModelIndex& index) const {
    const Node* node = NodeAt(index);
    return node && HasVisibleChildren(node);
}

bool ComponentTreeModel::IsExpandedAt(const QModelIndex& index) const {
    const Node* node = NodeAt(index);
    return node && IsExpanded(node);
}

bool ComponentTreeModel::HasItems() const {
    if (!filtered_) return !rows_.empty();
    if (!addNode_) return false;
    return std::any_of(addNode_->Children().begin(), addNode_->Children().end(), [this](const Node* child) {
        return !text::IsHiddenName(child->Name()) && !IsRemovedItem(child);
    });
}

QString ComponentTreeModel::Caption(const Node* node) const {
    if (!captions_.empty()) {
        const auto it = captions_.find(node);
        if (it != captions_.end()) return it->second;
    }
    return DisplayText(node->Name());
}

bool ComponentTreeModel::IsHiddenChild(const Node* child) const {
    const std::string_view name = child->Name();
    if (text::IsHiddenName(name)) return true;
    if (filtered_ && shown_.count(child) == 0) return true;
    return !removed_.empty() && removed_.count(child) != 0;
}

ComponentTreeModel::Children ComponentTreeModel::ChildrenOf(const Node* node) const {
    if (!filtered_) return {node->Children().data(), node->Children().size()};
    const auto shown = shownChildren_.find(node);
    if (shown == shownChildren_.end()) return {};
    return shown->second;
}

const ComponentTreeModel::Node* ComponentTreeModel::LastShownChild(const Node* node) const {
    const auto known = lastShownChild_.find(node);
    if (known != lastShownChild_.end()) return known->second;
    const Node* last = nullptr;
    const Children children = ChildrenOf(node);
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        if (!IsHiddenChild(*it)) {
            last = *it;
            break;
        }
    }
    lastShownChild_.emplace(node, last);
    return last;
}

const ComponentTreeModel::Node* ComponentTreeModel::TreeParent(const Node* node) const {
    const Node* parent = node ? node->Parent() : nullptr;
    return parent == addNode_ ? nullptr : parent;
}

bool ComponentTreeModel::HasVisibleChildren(const Node* node) const {
    // The filter hides most children of a large family; the answer is kept.
    if (filtered_) return LastShownChild(node) != nullptr;
    for (const Node* child : node->Children())
        if (!IsHiddenChild(child)) return true;
    return false;
}

bool ComponentTreeModel::HasLaterSibling(const Node* node) const {
    const Node* parent = node->Parent();
    if (!parent) return false;
    if (filtered_) return LastShownChild(parent) != node;
    const auto& siblings = parent->Children();
    // Siblings are in name order, so the item is found by its name.
    auto it = std::lower_bound(
        siblings.begin(), siblings.end(), node->Name(),
        [](const Node* child, std::string_view name) { return prov::CompareNames(child->Name(), name) < 0; });
    while (it != siblings.end() && *it != node && prov::CompareNames((*it)->Name(), node->Name()) == 0) ++it;
    if (it == siblings.end() || *it != node) it = std::find(siblings.begin(), siblings.end(), node);
    if (it == siblings.end()) return false;
    for (++it; it != siblings.end(); ++it)
        if (!IsHiddenChild(*it)) return true;
    return false;
}

bool ComponentTreeModel::IsExpanded(const Node* node) const {
    if (expandExceptions_.empty()) return defaultExpanded_;
    return defaultExpanded_ != (expandExceptions_.count(node) != 0);
}

bool ComponentTreeModel::IsRemoved(const Node* node) const {
    if (removed_.empty()) return false;
    for (const Node* n = node; n && n != addNode_; n = n->Parent())
        if (removed_.count(n)) return true;
    return false;
}

// Visits the shown descendants of `node` depth first, each with its depth,
// going below a child only when `descend` says so. An explicit stack: files
// nest components a million deep.
template <typename Visit, typename Descend>
void ComponentTreeModel::WalkShown(const Node* node, std::size_t childDepth, Visit&& visit, Descend&& descend) const {
    // The children of the n-th frame have depth childDepth + n.
    struct Frame {
        Children children;
        std::size_t next;
    };
    std::vector<Frame> stack{{ChildrenOf(node), 0}};
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next == top.children.size()) {
            stack.pop_back();
            continue;
        }
        const Node* child = top.children[top.next++];
        const std::size_t depth = childDepth + stack.size() - 1;
        if (IsHiddenChild(child)) continue;
        visit(child, depth);
        if (!child->Children().empty() && descend(child)) stack.push_back({ChildrenOf(child), 0});
    }
}

void ComponentTreeModel::ForEachDescendant(const Node* node, const std::function<void(const Node*)>& visit) const {
    WalkShown(
        node, 0, [&](const Node* child, std::size_t) { visit(child); }, [](const Node*) { return true; });
}

void ComponentTreeModel::SetExpandedFlag(const Node* node, bool expanded) {
    if (expanded == defaultExpanded_)
        expandExceptions_.erase(node);
    else
        expandExceptions_.insert(node);
}

void ComponentTreeModel::AppendVisibleRows(const Node* node, std::size_t childDepth, std::vector<Row>& out) const {
    WalkShown(
        node, childDepth,
        [&](const Node* child, std::size_t depth) {
            out.push_back({child, depth});
        },
        [&](const Node* child) { return IsExpanded(child); });
}

void ComponentTreeModel::EmitRowChanged(int row) {
    const QModelIndex changed = index(row, 0);
    if (changed.isValid()) emit dataChanged(changed, changed);
}

void ComponentTreeModel::Expand(const QModelIndex& index) {
    const Node* node = NodeAt(index);
    if (!node || IsExpanded(node)) return;
    SetExpandedFlag(node, true);
    const int row = index.row();
    std::vector<Row> added;
    AppendVisibleRows(node, rows_[static_cast<std::size_t>(row)].depth + 1, added);
    InsertRowsBelow(rows_, row, added);
    EmitRowChanged(row);
}

void ComponentTreeModel::Collapse(const QModelIndex& index) {
    const Node* node = NodeAt(index);
    if (!node || !IsExpanded(node)) return;
    SetExpandedFlag(node, false);
    RemoveRowsBelow(rows_, index.row());
    EmitRowChanged(index.row());
}

QModelIndex ComponentTreeModel::Reveal(const Node* node) {
    if (!node || !addNode_ || node == addNode_ || IsRemoved(node)) return {};
    if (filtered_ && shown_.count(node) == 0) return {};
    bool changed = false;
    for (const Node* above = TreeParent(node); above; above = TreeParent(above)) {
        if (!IsExpanded(above)) {
            SetExpandedFlag(above, true);
            changed = true;
        }
    }
    if (changed) Relayout();
    return IndexOf(node);
}

void ComponentTreeModel::ExpandAll() { SetAllExpanded(true); }

void ComponentTreeModel::CollapseAll() { SetAllExpanded(false); }

void ComponentTreeModel::SetAllExpanded(bool expanded) {
    defaultExpanded_ = expanded;
    expandExceptions_.clear();
    if (filtered_) {
        // The whole tree as well, for when the filter goes.
        unfilteredDefaultExpanded_ = expanded;
        unfilteredExceptions_.clear();
    }
    Relayout();
}

void ComponentTreeModel::ShowOnly(const std::vector<const Node*>& items) {
    if (!addNode_) return;
    if (!filtered_) {
        filtered_ = true;
        unfilteredDefaultExpanded_ = defaultExpanded_;
        unfilteredExceptions_.swap(expandExceptions_);
    }
    defaultExpanded_ = true;
    expandExceptions_.clear();
    shown_.clear();
    shownChildren_.clear();
    shown_.reserve(items.size() * 2);
    shownChildren_.reserve(items.size());
    // Each item with the items above it; a walk up stops where an earlier
    // one passed. In tree order, each newly shown item follows its shown
    // siblings, so the lists of shown children come out in tree order too.
    std::vector<const Node*> added;
    for (const Node* item : items) {
        added.clear();
        for (const Node* n = item; n && n != addNode_ && shown_.insert(n).second; n = n->Parent()) added.push_back(n);
        for (auto n = added.rbegin(); n != added.rend(); ++n) shownChildren_[(*n)->Parent()].push_back(*n);
    }
    lastShownChild_.clear();
    Relayout();
}

void ComponentTreeModel::ClearFilter() {
    if (!filtered_) return;
    defaultExpanded_ = unfilteredDefaultExpanded_;
    expandExceptions_.swap(unfilteredExceptions_);
    ForgetFilter();
    Relayout();
}

void ComponentTreeModel::ForgetFilter() {
    filtered_ = false;
    std::unordered_set<const Node*>().swap(shown_);
    std::unordered_map<const Node*, std::vector<const Node*>>().swap(shownChildren_);
    std::unordered_set<const Node*>().swap(unfilteredExceptions_);
    lastShownChild_.clear();
}

void ComponentTreeModel::Relayout() {
    emit layoutAboutToBeChanged();
    std::vector<Row> rows;
    rows.reserve(rows_.size());
    if (addNode_) AppendVisibleRows(addNode_, 0, rows);
    rows_.swap(rows);
    std::vector<Row>().swap(rows);

    MovePersistentIndexes(rows_.size(),
                          [this](std::size_t row) { return reinterpret_cast<quintptr>(rows_[row].node); });
    emit layoutChanged();
}

void ComponentTreeModel::RemoveItem(const QModelIndex& index) {
    const Node* node = NodeAt(index);
    if (!node) return;
    const auto row = static_cast<std::size_t>(index.row());
    const std::size_t depth = rows_[row].depth;
    std::size_t end = row + 1;
    while (end < rows_.size() && rows_[end].depth > depth) ++end;
    beginRemoveRows({}, static_cast<int>(row), static_cast<int>(end) - 1);
    removed_.insert(node);
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(row), rows_.begin() + static_cast<std::ptrdiff_t>(end));
    endRemoveRows();
    // A removed item is gone for good, and so is its display state.
    std::erase_if(bold_, [this](const Node* bold) { return IsRemoved(bold); });
    lastShownChild_.clear();
    // The item above may have lost its last child, and the sibling before it
    // its connecting line.
    if (!rows_.empty()) emit dataChanged(this->index(0, 0), this->index(rowCount() - 1, 0));
    emit ItemRemoved(node);
}

void ComponentTreeModel::SetBold(const Node* node, bool bold) {
    if (!node) return;
    if (bold ? !bold_.insert(node).second : bold_.erase(node) == 0) return;
    const QModelIndex shown = IndexOf(node);
    if (shown.isValid()) emit dataChanged(shown, shown, {Qt::FontRole});
}

}  // namespace oryx::doc
