#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <iterator>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "prov/chunk_pool.h"
#include "prov/text_pool.h"

namespace oryx::prov {

class ComponentNode;
class ComponentStore;

// One link of a component's full path as its creating line spelled it. Links
// are shared between a parent and its children, so a deeply nested file does
// not store every ancestor's path again for each descendant.
//
// A splice link lets paths that differ only in their first piece share the
// rest: its prev is a link whose segment is that first piece and whose own
// prev is the shared path, whose first piece it replaces.
// Splice links point their segment here, and no other link does.
extern const char kSpliceMark[1];

struct PathLink {
    const PathLink* prev = nullptr;
    std::string_view segment;

    bool IsSplice() const { return segment.data() == kSpliceMark; }
};

// Calls visit(segment, first) for each piece of the path, last piece first;
// `first` is true for the path's first piece.
template <typename Visit>
void ForEachPathSegment(const PathLink* link, Visit visit) {
    std::string_view head;
    bool spliced = false;
    while (link) {
        if (link->IsSplice()) {
            if (!spliced) head = link->prev->segment;
            spliced = true;
            link = link->prev->prev;
            continue;
        }
        const bool first = link->prev == nullptr;
        visit(first && spliced ? head : link->segment, first);
        link = link->prev;
    }
}

std::string MaterializePath(const PathLink* link);

// A run of attribute lines kept one after the other: their texts follow each
// other from `text` on, and ends[i] is where line i ends, counted from `text`.
// Each line costs its text and four bytes.
struct LineRun {
    const char* text = nullptr;
    const std::uint32_t* ends = nullptr;
    std::uint32_t count = 0;
};

// Names one attribute line of a store: its slot in the store's line table.
struct AttributeLineId {
    const std::uint32_t* slot = nullptr;
};

// The file's own attribute lines of one node, in file order.
class FileLineRange final {
public:
    class Iterator final {
    public:
        // Lines are made from the store's tables as they are read, so the
        // iterator yields them by value.
        using iterator_concept = std::forward_iterator_tag;
        using iterator_category = std::input_iterator_tag;
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::string_view;

        Iterator() = default;
        std::string_view operator*() const {
            const std::uint32_t begin = slot_ == runBegin_ ? 0 : slot_[-1];
            return {text_ + begin, *slot_ - begin};
        }
        AttributeLineId Id() const { return {slot_}; }
        Iterator& operator++();
        Iterator operator++(int) {
            Iterator old = *this;
            ++*this;
            return old;
        }
        bool operator==(const Iterator& other) const { return slot_ == other.slot_; }

    private:
        friend class FileLineRange;
        void Enter(const LineRun& run);

        const FileLineRange* range_ = nullptr;
        std::size_t run_ = 0;
        const char* text_ = nullptr;
        const std::uint32_t* runBegin_ = nullptr;
        const std::uint32_t* slot_ = nullptr;
        const std::uint32_t* runEnd_ = nullptr;
    };

    Iterator begin() const;
    Iterator end() const { return {}; }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    std::string_view operator[](std::size_t i) const;

private:
    friend class AttributeList;
    // The lines are the runs of `all` when given, else the run `only`.
    FileLineRange(LineRun only, const std::vector<LineRun>* all, std::size_t size)
        : only_(only), all_(all), size_(size) {}
    LineRun Run(std::size_t i) const { return all_ ? (*all_)[i] : only_; }
    std::size_t RunCount() const { return all_ ? all_->size() : (only_.count == 0 ? 0 : 1); }

    LineRun only_;
    const std::vector<LineRun>* all_;
    std::size_t size_;
};

// The attribute list linked to a node's "&PROP" entry. Component lists begin
// with the two bookkeeping lines "&FULLPATH=..." and "&NAME=..." (built on
// demand from the node), then hold the file's name=value lines in file order.
// The store root's list is empty. Every node is its own attribute list.
class AttributeList {
public:
    std::size_t LineCount() const { return lineCount_ + (bookkeeping_ ? 2 : 0); }
    // Line i; bookkeeping lines are built in `scratch`, file lines are views
    // into the store and need no copy.
    std::string_view Line(std::size_t i, std::string& scratch) const;
    std::string Line(std::size_t i) const;
    // The file's lines alone, without the bookkeeping lines.
    FileLineRange FileLines() const {
        if (manyRuns_) return {{}, allRuns_, lineCount_};
        return {{firstText_, firstEnds_, lineCount_}, nullptr, lineCount_};
    }
    bool HasBookkeeping() const { return bookkeeping_; }
    const ComponentNode& Owner() const;

protected:
    AttributeList() = default;
    ~AttributeList() = default;

private:
    friend class ComponentStore;
    // The lines: one run from firstText_ and firstEnds_ with every line; or,
    // rarely, the runs of allRuns_ (owned by the store). The first run is not
    // a LineRun, so its count is lineCount_ and no padding is lost.
    const char* firstText_ = nullptr;
    union {
        const std::uint32_t* firstEnds_ = nullptr;
        std::vector<LineRun>* allRuns_;  // when manyRuns_
    };
    std::uint32_t lineCount_ = 0;
    bool manyRuns_ = false;
    bool bookkeeping_ = false;
};

enum class EntryKind { Parent, Prop, Child };

// One entry of a node, as iteration presents it.
struct NodeEntry {
    std::string_view name;
    EntryKind kind = EntryKind::Child;
    const ComponentNode* child = nullptr;       // Child: the child node; Parent: the parent node
    const AttributeList* attributes = nullptr;  // Prop: the node's attribute list
};

// A component: sorted, case-insensitive child entries plus an attribute list.
// The "&PROP" and "&PARENT" bookkeeping entries are held as fields; iteration
// presents them first and counts them.
class ComponentNode final : public AttributeList {
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
    std::string_view Name() const { return {ownPath_.segment.data(), nameSize_}; }
    // The "&PARENT" link; null for the add node and the store root.
    const ComponentNode* Parent() const { return hasParentEntry_ ? parent_ : nullptr; }
    // The node whose entry links here (the store root for the add node).
    const ComponentNode* Container() const { return parent_; }
    // Children in the store's order (see CompareNames).
    std::span<ComponentNode* const> Children() const { return {children_, childCount_}; }
    std::size_t ChildCount() const { return childCount_; }
    const AttributeList& Attributes() const { return *this; }
    // The full path as the creating line spelled it. A name of control bytes
    // alone adds nothing to its parent's path.
    const PathLink* FullPathLink() const { return ownPath_.segment.empty() ? ownPath_.prev : &ownPath_; }

    // Entries, bookkeeping included ("&PARENT" when present, "&PROP", then the children).
    std::size_t EntryCount() const;
    NodeEntry Entry(std::size_t i) const;

private:
    friend class ComponentStore;

    // First, so they share the padding at the end of the attribute list.
    bool hasParentEntry_ = false;
    bool hasPropEntry_ = true;
    std::uint32_t nameSize_ = 0;
    std::uint32_t childCount_ = 0;
    ComponentNode* parent_ = nullptr;
    // The creating walk's path before this node, and this node's own piece
    // of it: the name without trailing control bytes, pointing at the name.
    PathLink ownPath_;
    // While the file is read, children are a list through nextSibling_;
    // afterwards `children_` points at their sorted run in the store's pool.
    union {
        ComponentNode* firstChild_ = nullptr;
        ComponentNode** children_;
    };
    ComponentNode* nextSibling_ = nullptr;
};

// The model of one file: the store root with its "&PROP" entry and the add
// node. Nodes, lines and text live in the store's pools, so releasing a store
// of any depth needs no recursion.
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
    // Like Reset, but leaves the store open for building until Finish.
    void StartBuilding();
    // Releases everything; the store root then holds no entries at all.
    void Clear();
    // Exchanges the whole contents with `other`; every node, line and text
    // stays where it is and belongs to the other store afterwards.
    void Swap(ComponentStore& other) noexcept;
    std::size_t NodeCount() const { return nodes_.Size(); }
    // Where the nodes and the attribute lines lie in memory: runs of
    // consecutive items, in the order they were made (the store root first,
    // then the add node, then the components the file created).
    template <typename T>
    struct ItemRun {
        const T* first;
        std::size_t count;
    };
    std::vector<ItemRun<ComponentNode>> NodeRuns() const;
    // The attribute lines' slots (see AttributeLineId), in the order made.
    std::vector<ItemRun<std::uint32_t>> AttributeLineRuns() const;

    // --- building (used by the reader) ---
    ComponentNode& MutableRoot() { return *root_; }
    ComponentNode* MutableAddNode() { return addNode_; }
    // Creates a child of `parent` whose full path is `parentPath` extended by
    // the name; Finish puts every node's children in order.
    ComponentNode& AppendChild(ComponentNode& parent, std::string_view keptName, const PathLink* parentPath);
    // Keeps the line "name=value" as the node's next attribute line and
    // returns it.
    std::string_view AppendAttribute(ComponentNode& node, std::string_view name, std::string_view value);
    // Keeps `line`, already in the store's memory (see AheadText), as the
    // node's next attribute line.
    std::string_view AppendAttributeLine(ComponentNode& node, std::string_view line);
    // Keeps line(0) ... line(count - 1), each a std::string_view already in
    // the store's memory, as the node's next attribute lines. Lines that
    // follow each other in memory cost least.
    template <typename Line>
    void AppendAttributeLines(ComponentNode& node, std::size_t count, Line&& line);
    // A text pool of the store for one other thread: while the store is built,
    // that thread may keep the lines there that the building thread then
    // appends with AppendAttributeLine, as long as nothing else touches it.
    TextPool& AheadText() { return aheadText_; }
    // Copies bytes into the store's text pool.
    std::string_view Keep(std::string_view text);
    const PathLink* NewLink(const PathLink* prev, std::string_view keptSegment);
    // The path `path` with its first piece replaced by `keptHead`.
    const PathLink* NewSplice(const PathLink* path, std::string_view keptHead);
    // Ends building: children sorted into the pool. Lookups work only after it.
    void Finish();
    // While building: the children of a node, newest first, in no order.
    static ComponentNode* FirstUnsortedChild(const ComponentNode& parent) { return parent.firstChild_; }
    static ComponentNode* NextUnsortedSibling(const ComponentNode& child) { return child.nextSibling_; }
    // Empties `node` and everything below it: no children, no attribute
    // lines, no bookkeeping entries.
    static void ReleaseSubtree(ComponentNode& node);

private:
    ComponentNode& NewNode();

    ChunkPool<ComponentNode> nodes_;
    ChunkPool<std::uint32_t> lineEnds_;
    ChunkPool<PathLink> links_;
    std::deque<std::vector<LineRun>> lineRuns_;
    TextPool text_;
    TextPool aheadText_;
    ChunkPtr<ComponentNode*> childPool_;
    bool building_ = false;
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
// The component's path as the tree shows it and `oryx-cli attrs` takes it:
// the names from the top of the tree down to the component, joined by single
// spaces, without the add node ("AtmIf/31 Vcc/0.100"). Empty for the add node.
std::string ComponentPath(const ComponentNode& node);
// The node of `root`'s tree reached by the names of the nodes that lead from
// the root of another store to `node`, each name found as GetChild finds it;
// null when one is missing or `node` is null. The same component in a file
// read again.
const ComponentNode* FindSameComponent(const ComponentNode& root, const ComponentNode* node);
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

template <typename Line>
void ComponentStore::AppendAttributeLines(ComponentNode& node, std::size_t count, Line&& line) {
    constexpr std::uint32_t kMax = UINT32_MAX;
    std::size_t i = 0;
    while (i < count) {
        // One line the ordinary way, which may start a run or a block of the
        // line table ...
        const std::string_view first = line(i++);
        AppendAttributeLine(node, first);
        // ... then the lines that follow it in memory and fit in the block
        // extend its run in place.
        const char* next = first.data() + first.size();
        std::uint32_t end = lineEnds_.Back();
        std::uint32_t extended = 0;
        for (const std::size_t room = lineEnds_.Room(); i < count && extended < room; ++i, ++extended) {
            const std::string_view text = line(i);
            if (text.data() != next || text.size() > kMax - end || node.lineCount_ + extended == kMax) break;
            end += static_cast<std::uint32_t>(text.size());
            next += text.size();
            lineEnds_.Emplace(end);  // in the same block: it has room
        }
        node.lineCount_ += extended;
        if (node.manyRuns_) node.allRuns_->back().count += extended;
    }
}

}  // namespace oryx::prov
