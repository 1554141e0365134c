#include "prov/component_store.h"

#include <algorithm>
#include <cstring>

#include "prov/collation.h"

namespace oryx::prov {
namespace {

constexpr std::string_view kFullPathName = "&FULLPATH";
constexpr std::string_view kNameName = "&NAME";
constexpr std::size_t kTextBlockSize = 256 * 1024;

}  // namespace

std::string MaterializePath(const PathLink* link) {
    std::size_t size = 0, count = 0;
    for (const PathLink* l = link; l; l = l->prev) {
        size += l->segment.size();
        ++count;
    }
    if (count == 0) return {};
    std::string path(size + count - 1, ' ');
    std::size_t end = path.size();
    for (const PathLink* l = link; l; l = l->prev) {
        end -= l->segment.size();
        std::memcpy(path.data() + end, l->segment.data(), l->segment.size());
        if (end > 0) --end;
    }
    return path;
}

std::string_view AttributeList::Line(std::size_t i, std::string& scratch) const {
    if (bookkeeping_) {
        if (i == 0) {
            scratch = "&FULLPATH=";
            scratch += MaterializePath(owner_->FullPathLink());
            return scratch;
        }
        if (i == 1) {
            scratch = "&NAME=";
            scratch += owner_->Name();
            return scratch;
        }
        i -= 2;
    }
    return fileLines_[i];
}

std::string AttributeList::Line(std::size_t i) const {
    std::string scratch;
    std::string_view line = Line(i, scratch);
    return scratch.data() == line.data() ? scratch : std::string(line);
}

std::size_t ComponentNode::EntryCount() const {
    return children_.size() + (hasPropEntry_ ? 1 : 0) + (hasParentEntry_ ? 1 : 0);
}

NodeEntry ComponentNode::Entry(std::size_t i) const {
    if (hasParentEntry_) {
        if (i == 0) return {"&PARENT", EntryKind::Parent, parent_, nullptr};
        --i;
    }
    if (hasPropEntry_) {
        if (i == 0) return {"&PROP", EntryKind::Prop, nullptr, &attributes_};
        --i;
    }
    const ComponentNode* child = children_[i];
    return {child->name_, EntryKind::Child, child, nullptr};
}

ComponentStore::ComponentStore() { Reset(); }
ComponentStore::~ComponentStore() = default;

ComponentNode& ComponentStore::NewNode() {
    ComponentNode& node = nodes_.emplace_back(ComponentNode::ConstructionKey{});
    node.attributes_.owner_ = &node;
    return node;
}

void ComponentStore::Clear() {
    // The pools own every node and all text, so this is flat whatever the depth.
    nodes_.clear();
    links_.clear();
    textBlocks_.clear();
    blockCursor_ = nullptr;
    blockLeft_ = 0;
    addNode_ = nullptr;
    root_ = &NewNode();
    root_->hasPropEntry_ = false;
}

void ComponentStore::Reset() {
    Clear();
    root_->hasPropEntry_ = true;
    ComponentNode& add = NewNode();
    add.name_ = "add";
    add.parent_ = root_;
    add.fullPath_ = NewLink(nullptr, "add");
    add.attributes_.bookkeeping_ = true;
    root_->children_.push_back(&add);
    addNode_ = &add;
}

char* ComponentStore::Allocate(std::size_t size) {
    if (size > kTextBlockSize / 4) {
        // Big texts get a block of their own; the open block stays open.
        textBlocks_.push_back(std::make_unique<char[]>(size));
        return textBlocks_.back().get();
    }
    if (size > blockLeft_) {
        textBlocks_.push_back(std::make_unique<char[]>(kTextBlockSize));
        blockCursor_ = textBlocks_.back().get();
        blockLeft_ = kTextBlockSize;
    }
    char* dest = blockCursor_;
    blockCursor_ += size;
    blockLeft_ -= size;
    return dest;
}

std::string_view ComponentStore::Keep(std::string_view text) {
    if (text.empty()) return {};
    char* dest = Allocate(text.size());
    std::memcpy(dest, text.data(), text.size());
    return {dest, text.size()};
}

std::string_view ComponentStore::KeepJoined(std::string_view a, char sep, std::string_view b) {
    const std::size_t size = a.size() + 1 + b.size();
    char* dest = Allocate(size);
    if (!a.empty()) std::memcpy(dest, a.data(), a.size());
    dest[a.size()] = sep;
    if (!b.empty()) std::memcpy(dest + a.size() + 1, b.data(), b.size());
    return {dest, size};
}

const PathLink* ComponentStore::NewLink(const PathLink* prev, std::string_view keptSegment) {
    return &links_.emplace_back(PathLink{prev, keptSegment});
}

ComponentNode& ComponentStore::AppendChild(ComponentNode& parent, std::string_view keptName,
                                           const PathLink* path) {
    ComponentNode& node = NewNode();
    node.name_ = keptName;
    node.parent_ = &parent;
    node.hasParentEntry_ = true;
    node.fullPath_ = path;
    node.attributes_.bookkeeping_ = true;
    parent.children_.push_back(&node);
    return node;
}

void ComponentStore::AppendAttribute(AttributeList& list, std::string_view nameValueLine) {
    list.fileLines_.push_back(nameValueLine);
}

void ComponentStore::SortAllChildren() {
    for (ComponentNode& node : nodes_) {
        if (node.children_.size() < 2) continue;
        std::sort(node.children_.begin(), node.children_.end(),
                  [](const ComponentNode* a, const ComponentNode* b) {
                      return CompareNames(a->name_, b->name_) < 0;
                  });
    }
}

void ComponentStore::ReleaseSubtree(ComponentNode& node) {
    std::vector<ComponentNode*> pending{&node};
    while (!pending.empty()) {
        ComponentNode* n = pending.back();
        pending.pop_back();
        pending.insert(pending.end(), n->children_.begin(), n->children_.end());
        std::vector<ComponentNode*>().swap(n->children_);
        std::vector<std::string_view>().swap(n->attributes_.fileLines_);
        n->attributes_.bookkeeping_ = false;
        n->hasPropEntry_ = false;
        n->hasParentEntry_ = false;
    }
}

// ---- Lookups ----

const AttributeList* GetAttributes(const ComponentNode* node) {
    if (!node || node->EntryCount() == node->Children().size()) return nullptr;
    return &node->Attributes();
}

const ComponentNode* GetChild(const ComponentNode* node, std::string_view name) {
    if (!node) return nullptr;
    const auto& children = node->Children();
    auto it = std::lower_bound(children.begin(), children.end(), name,
                               [](const ComponentNode* child, std::string_view n) {
                                   return CompareNames(child->Name(), n) < 0;
                               });
    if (it != children.end() && SameName((*it)->Name(), name)) return *it;
    return nullptr;
}

const ComponentNode* FindComponent(const ComponentNode* node, std::string_view path) {
    // Every piece is followed by a space (one is appended to the path), so a
    // path ending in a space, or holding two in a row, has an empty piece.
    const ComponentNode* current = node;
    const ComponentNode* result = nullptr;
    std::size_t start = 0;
    while (true) {
        const std::size_t space = path.find(' ', start);
        const std::string_view piece =
            path.substr(start, space == std::string_view::npos ? std::string_view::npos : space - start);
        result = GetChild(current, piece);
        if (result) current = result;
        if (space == std::string_view::npos) break;
        start = space + 1;
    }
    return result;
}

std::string GetAttributeValue(const AttributeList* list, std::string_view name) {
    if (!list) return {};
    if (list->HasBookkeeping()) {
        if (SameName(name, kFullPathName)) return MaterializePath(list->Owner().FullPathLink());
        if (SameName(name, kNameName)) return std::string(list->Owner().Name());
    }
    for (std::string_view line : list->FileLines()) {
        const std::size_t eq = line.find('=');
        if (eq != std::string_view::npos && SameName(line.substr(0, eq), name))
            return std::string(line.substr(eq + 1));
    }
    return {};
}

std::string GetFullPath(const ComponentNode* node) {
    return GetAttributeValue(GetAttributes(node), kFullPathName);
}

std::size_t CountAttributes(const ComponentNode* node) {
    const AttributeList* list = GetAttributes(node);
    if (!list) return 0;
    return static_cast<std::size_t>(std::count_if(list->FileLines().begin(), list->FileLines().end(),
                                                  [](std::string_view l) { return l.empty() || l[0] != '&'; }));
}

void ReleaseNode(ComponentStore& store) { store.Clear(); }

void ReleaseNode(ComponentNode& node) { ComponentStore::ReleaseSubtree(node); }

std::vector<AttributeRow> VisibleAttributeRows(const ComponentNode* node) {
    std::vector<AttributeRow> rows;
    const AttributeList* list = GetAttributes(node);
    if (!list) return rows;
    for (std::string_view line : list->FileLines())
        if (line.empty() || line[0] != '&') rows.push_back({LineName(line), LineValue(line)});
    return rows;
}

std::string_view LineName(std::string_view line) { return line.substr(0, line.find('=')); }

std::string_view LineValue(std::string_view line) {
    const std::size_t eq = line.find('=');
    return eq == std::string_view::npos ? std::string_view{} : line.substr(eq + 1);
}

}  // namespace oryx::prov
