#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace oryx::prov {

class ComponentNode;
class ComponentStore;

// One link of a component's full path. Paths are shared between a parent and
// its children, so a deeply nested file does not store every ancestor's path
// again for each descendant.
struct PathLink {
    const PathLink* prev = nullptr;
    std::string_view segment;
};

std::string MaterializePath(const PathLink* link);

// The attribute list linked to a node's "&PROP" entry. Component lists begin
// with the two bookkeeping lines "&FULLPATH=..." and "&NAME=..." (built on
// demand from the node), then hold the file's name=value lines in file order.
// The store root's list is empty.
class AttributeList final {
public:
    std::size_t LineCount() const { return fileLines_.size() + (bookkeeping_ ? 2 : 0); }
    // Line i; bookkeeping lines are built in `scratch`, file lines are views
    // into the store and need no copy.
    std::string_view Line(std::size_t i, std::string& scratch) const;
    std::string Line(std::size_t i) const;
    // The file's lines alone, without the bookkeeping lines.
    const std::vector<std::string_view>& FileLines() const { return fileLines_; }
    bool HasBookkeeping() const { return bookkeeping_; }
    const ComponentNode& Owner() const { return *owner_; }

private:
    friend class ComponentStore;
    friend class ComponentNode;
    const ComponentNode* owner_ = nullptr;
    bool bookkeeping_ = false;
    std::vector<std::string_view> fileLines_;
};

enum class EntryKind { Parent, Prop, Child };

// One entry of a node, as iteration presents it.
struct NodeEntry {
    std::string_view name;
    EntryKind kind = EntryKind::Child;
    const ComponentNode* child = nullptr;        // Child: the child node; Parent: the parent node
    const AttributeList* attributes = nullptr;   // Prop: the node's attribute list
};

// A component: sorted, case-insensitive child entries plus an attribute list.
// The "&PROP" and "&PARENT" bookkeeping entries are held as fields; iteration
// presents them first, as the sorted order would, and counts them.
class ComponentNode final {
public:
    // Only a ComponentStore can make the key, so nodes live in stores alone.
    class ConstructionKey {
        friend class ComponentStore;
        ConstructionKey() = default;
    };
    explicit ComponentNode(ConstructionKey) {}
    ComponentNode(const ComponentNode&) = delete;
    ComponentNode& operator=(const ComponentNode&) = delete;

    // The name as written in the line that created the node.
    std::string_view Name() const { return name_; }
    // The "&PARENT" link; null for the add node and the store root.
    const ComponentNode* Parent() const { return hasParentEntry_ ? parent_ : nullptr; }
    // Children in the store's order (see CompareNames).
    const std::vector<ComponentNode*>& Children() const { return children_; }
    const AttributeList& Attributes() const { return attributes_; }
    const PathLink* FullPathLink() const { return fullPath_; }
    // The node whose entry links here (the store root for the add node).
    const ComponentNode* Container() const { return parent_; }

    // Entries, bookkeeping included ("&PARENT" when present, "&PROP", then the children).
    std::size_t EntryCount() const;
    NodeEntry Entry(std::size_t i) const;

private:
    friend class ComponentStore;
    friend class AttributeList;

    std::string_view name_;
    ComponentNode* parent_ = nullptr;  // owner, also for the add node (internal only)
    bool hasParentEntry_ = false;
    bool hasPropEntry_ = true;
    const PathLink* fullPath_ = nullptr;
    std::vector<ComponentNode*> children_;
    AttributeList attributes_;
};

// The model of one file: the store root with its "&PROP" entry and the add node.
// Nodes and all text live in the store's own pools, so releasing a store of any
// depth needs no recursion.
class ComponentStore final {
public:
    ComponentStore();
    ~ComponentStore();
    ComponentStore(const ComponentStore&) = delete;
    ComponentStore& operator=(const ComponentStore&) = delete;

    const ComponentNode& Root() const { return *root_; }
    // The node of the root's "add" entry; null only for a released store.
    const ComponentNode* AddNode() const { return addNode_; }

    // Releases everything and builds the fixed entries again (root "&PROP", "add").
    void Reset();
    // Releases everything; the store then holds no entries at all.
    void Clear();
    std::size_t NodeCount() const { return nodes_.size(); }

    // --- building (used by the reader) ---
    ComponentNode& MutableRoot() { return *root_; }
    ComponentNode* MutableAddNode() { return addNode_; }
    // Creates a child of `parent` named `keptName` with full path `path`,
    // appended after parent's children; SortAllChildren restores the order.
    ComponentNode& AppendChild(ComponentNode& parent, std::string_view keptName, const PathLink* path);
    void AppendAttribute(AttributeList& list, std::string_view nameValueLine);
    // Copies bytes into the store's text pool.
    std::string_view Keep(std::string_view text);
    // Keeps a + sep + b as one text.
    std::string_view KeepJoined(std::string_view a, char sep, std::string_view b);
    const PathLink* NewLink(const PathLink* prev, std::string_view keptSegment);
    // Puts every node's children in the store's order (after a bulk append).
    void SortAllChildren();
    static AttributeList& MutableAttributes(ComponentNode& node) { return node.attributes_; }
    // Empties `node` and everything below it: no children, no attribute
    // lines, no bookkeeping entries.
    static void ReleaseSubtree(ComponentNode& node);

private:
    ComponentNode& NewNode();
    char* Allocate(std::size_t size);

    std::deque<ComponentNode> nodes_;
    std::deque<PathLink> links_;
    std::vector<std::unique_ptr<char[]>> textBlocks_;
    char* blockCursor_ = nullptr;
    std::size_t blockLeft_ = 0;
    ComponentNode* root_ = nullptr;
    ComponentNode* addNode_ = nullptr;
};

// ---- Lookups. None changes the store; a missing thing gives null or "". ----

// The attribute list of the node's "&PROP" entry; null when given null.
const AttributeList* GetAttributes(const ComponentNode* node);
// The child whose name equals `name`, ASCII letter case ignored. Names that
// begin with "&" find only children the file itself created with such a name.
const ComponentNode* GetChild(const ComponentNode* node, std::string_view name);
// Walks a space-separated path from `node`; a missing middle piece is skipped,
// a missing last piece gives null.
const ComponentNode* FindComponent(const ComponentNode* node, std::string_view path);
std::string GetFullPath(const ComponentNode* node);
std::string GetAttributeValue(const AttributeList* list, std::string_view name);
// Lines of the node's list whose first character is not "&" (empty lines count).
std::size_t CountAttributes(const ComponentNode* node);
// Releases everything the node owns and leaves it without entries.
void ReleaseNode(ComponentStore& store);
void ReleaseNode(ComponentNode& node);

// The rows the attribute list shows for a node: every line not beginning with
// "&", as (name, own value).
struct AttributeRow {
    std::string_view name;
    std::string_view value;
};
std::vector<AttributeRow> VisibleAttributeRows(const ComponentNode* node);


// Helpers over one "name=value" line.
std::string_view LineName(std::string_view line);   // text before the first "=" (whole line if none)
std::string_view LineValue(std::string_view line);  // text after the first "=" ("" if none)

}  // namespace oryx::prov
