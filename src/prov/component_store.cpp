#include "prov/component_store.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <future>
#include <limits>
#include <new>
#include <span>
#include <stdexcept>
#include <system_error>
#include <type_traits>

#include "prov/collation.h"
#include "prov/processors.h"
#include "text/ascii_case.h"
#include "text/control_bytes.h"
#include "text/hidden_name.h"

namespace oryx::prov {
namespace {

constexpr std::string_view kFullPathName = "&FULLPATH";
constexpr std::string_view kNameName = "&NAME";
// Stores with this many children and more are put in order on two threads.
constexpr std::size_t kSortedInHalves = 100000;

}  // namespace

static_assert(std::is_trivially_destructible_v<ComponentNode>, "node chunks are freed without running destructors");
// What a large file pays for each component it makes.
static_assert(sizeof(void*) != 8 || sizeof(ComponentNode) <= 80, "a node's fields fill its padding");

const char kSpliceMark[1] = {};

std::string MaterializePath(const PathLink* link) {
    std::size_t size = 0, count = 0;
    ForEachPathSegment(link, [&](std::string_view segment, bool) {
        size += segment.size();
        ++count;
    });
    if (count == 0) return {};
    std::string path(size + count - 1, ' ');
    std::size_t end = path.size();
    ForEachPathSegment(link, [&](std::string_view segment, bool) {
        end -= segment.size();
        std::memcpy(path.data() + end, segment.data(), segment.size());
        if (end > 0) --end;
    });
    return path;
}

// ---- FileLineRange ----

void FileLineRange::Iterator::Enter(const LineRun& run) {
    text_ = run.text;
    runBegin_ = slot_ = run.ends;
    runEnd_ = run.ends + run.count;
}

FileLineRange::Iterator FileLineRange::begin() const {
    Iterator it;
    if (size_ == 0) return it;
    it.range_ = this;
    it.Enter(Run(0));
    return it;
}

FileLineRange::Iterator& FileLineRange::Iterator::operator++() {
    if (++slot_ != runEnd_) return *this;
    if (++run_ < range_->RunCount())
        Enter(range_->Run(run_));
    else
        *this = Iterator();
    return *this;
}

std::string_view FileLineRange::operator[](std::size_t i) const {
    for (std::size_t r = 0;; ++r) {
        const LineRun run = Run(r);
        if (i < run.count) {
            const std::uint32_t begin = i == 0 ? 0 : run.ends[i - 1];
            return {run.text + begin, run.ends[i] - begin};
        }
        i -= run.count;
    }
}

// ---- AttributeList ----

const ComponentNode& AttributeList::Owner() const { return static_cast<const ComponentNode&>(*this); }

std::string_view AttributeList::Line(std::size_t i, std::string& scratch) const {
    if (bookkeeping_) {
        if (i == 0) {
            scratch = "&FULLPATH=";
            scratch += MaterializePath(Owner().FullPathLink());
            return scratch;
        }
        if (i == 1) {
            scratch = "&NAME=";
            scratch += Owner().Name();
            return scratch;
        }
        i -= 2;
    }
    return FileLines()[i];
}

std::string AttributeList::Line(std::size_t i) const {
    std::string scratch;
    const std::string_view line = Line(i, scratch);
    return line.data() == scratch.data() ? scratch : std::string(line);
}

// ---- ComponentNode ----

std::size_t ComponentNode::EntryCount() const {
    return childCount_ + (hasPropEntry_ ? 1 : 0) + (hasParentEntry_ ? 1 : 0);
}

NodeEntry ComponentNode::Entry(std::size_t i) const {
    if (hasParentEntry_) {
        if (i == 0) return {"&PARENT", EntryKind::Parent, parent_, nullptr};
        --i;
    }
    if (hasPropEntry_) {
        if (i == 0) return {"&PROP", EntryKind::Prop, nullptr, this};
        --i;
    }
    const ComponentNode* child = children_[i];
    return {child->Name(), EntryKind::Child, child, nullptr};
}

// ---- ComponentStore ----

ComponentStore::ComponentStore() { Reset(); }

void ComponentStore::Reset() {
    StartBuilding();
    Finish();
}
ComponentStore::~ComponentStore() = default;

std::vector<ComponentStore::ItemRun<ComponentNode>> ComponentStore::NodeRuns() const {
    std::vector<ItemRun<ComponentNode>> runs;
    nodes_.ForEachChunk([&](const ComponentNode* first, std::size_t count) { runs.push_back({first, count}); });
    return runs;
}

std::vector<ComponentStore::ItemRun<std::uint32_t>> ComponentStore::AttributeLineRuns() const {
    std::vector<ItemRun<std::uint32_t>> runs;
    lineEnds_.ForEachChunk([&](const std::uint32_t* first, std::size_t count) { runs.push_back({first, count}); });
    return runs;
}

ComponentNode& ComponentStore::NewNode() { return *nodes_.Emplace(ComponentNode::ConstructionKey{}); }

void ComponentStore::Clear() {
    // The pools own every node, line and text, so this is flat whatever the depth.
    nodes_.Clear();
    lineEnds_.Clear();
    lineRuns_.clear();
    links_.Clear();
    text_.Clear();
    aheadText_.Clear();
    childPool_.reset();
    building_ = false;
    addNode_ = nullptr;
    root_ = &NewNode();
    root_->hasPropEntry_ = false;
    root_->children_ = nullptr;
}

void ComponentStore::Swap(ComponentStore& other) noexcept {
    using std::swap;
    swap(nodes_, other.nodes_);
    swap(lineEnds_, other.lineEnds_);
    swap(links_, other.links_);
    swap(lineRuns_, other.lineRuns_);
    swap(text_, other.text_);
    swap(aheadText_, other.aheadText_);
    swap(childPool_, other.childPool_);
    swap(building_, other.building_);
    swap(root_, other.root_);
    swap(addNode_, other.addNode_);
}

void ComponentStore::StartBuilding() {
    Clear();
    building_ = true;
    root_->hasPropEntry_ = true;
    ComponentNode& add = NewNode();
    add.ownPath_ = {nullptr, "add"};
    add.nameSize_ = 3;
    add.parent_ = root_;
    add.bookkeeping_ = true;
    root_->firstChild_ = &add;
    root_->childCount_ = 1;
    addNode_ = &add;
}

std::string_view ComponentStore::Keep(std::string_view text) { return text_.Keep(text); }

const PathLink* ComponentStore::NewLink(const PathLink* prev, std::string_view keptSegment) {
    assert(building_ && "paths are made only while the reader builds the store");
    return links_.Emplace(PathLink{prev, keptSegment});
}

const PathLink* ComponentStore::NewSplice(const PathLink* path, std::string_view keptHead) {
    assert(building_ && "paths are made only while the reader builds the store");
    const PathLink* head = links_.Emplace(PathLink{path, keptHead});
    return links_.Emplace(PathLink{head, std::string_view(kSpliceMark, 0)});
}

ComponentNode& ComponentStore::AppendChild(ComponentNode& parent, std::string_view keptName,
                                           const PathLink* parentPath) {
    // Finish sorts children once; a child added later would never be found.
    assert(building_ && "children are added only before Finish");
    ComponentNode& node = NewNode();
    node.ownPath_ = {parentPath, text::TrimControlRight(keptName)};
    node.nameSize_ = static_cast<std::uint32_t>(keptName.size());
    node.parent_ = &parent;
    node.hasParentEntry_ = true;
    node.bookkeeping_ = true;
    // The list is put in order by Finish, so the newest child goes first.
    node.nextSibling_ = parent.firstChild_;
    parent.firstChild_ = &node;
    ++parent.childCount_;
    return node;
}

std::string_view ComponentStore::AppendAttribute(ComponentNode& node, std::string_view name, std::string_view value) {
    assert(building_ && "attribute lines are added only before Finish");
    const std::size_t size = name.size() + 1 + value.size();
    if (size > std::numeric_limits<std::uint32_t>::max()) throw std::length_error("an attribute line is too long");
    return AppendAttributeLine(node, text_.KeepJoined(name, value));
}

std::string_view ComponentStore::AppendAttributeLine(ComponentNode& node, std::string_view line) {
    assert(building_ && "attribute lines are added only before Finish");
    const char* const text = line.data();
    const std::size_t size = line.size();
    if (size > std::numeric_limits<std::uint32_t>::max()) throw std::length_error("an attribute line is too long");
    std::uint32_t* slot = lineEnds_.Emplace(std::uint32_t{0});
    if (node.lineCount_ == std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("a component has too many attribute lines");
    // Lines of one component mostly follow each other in the file, so one
    // run usually holds them all: the run goes on while both the text and the
    // slot follow its last line and its ends still fit in 32 bits.
    const LineRun last =
        node.manyRuns_ ? node.allRuns_->back() : LineRun{node.firstText_, node.firstEnds_, node.lineCount_};
    ++node.lineCount_;
    if (last.count > 0 && last.ends + last.count == slot) {
        const std::uint32_t end = last.ends[last.count - 1];
        if (last.text + end == text && size <= std::numeric_limits<std::uint32_t>::max() - end) {
            *slot = static_cast<std::uint32_t>(end + size);
            if (node.manyRuns_) ++node.allRuns_->back().count;
            return {text, size};
        }
    }
    *slot = static_cast<std::uint32_t>(size);
    if (last.count == 0) {
        node.firstText_ = text;
        node.firstEnds_ = slot;
    } else {
        if (!node.manyRuns_) {
            node.allRuns_ = &lineRuns_.emplace_back(1, last);
            node.manyRuns_ = true;
        }
        node.allRuns_->push_back({text, slot, 1});
    }
    return {text, size};
}

namespace {

// Large families are sorted on keys held beside the pointers, so most
// comparisons touch no node.
void SortChildren(ComponentNode** begin, ComponentNode** end,
                  std::vector<std::pair<std::uint64_t, ComponentNode*>>& keyed) {
    const auto byName = [](const ComponentNode* a, const ComponentNode* b) {
        return CompareNames(a->Name(), b->Name()) < 0;
    };
    // Files mostly add siblings in or against the order of names.
    if (std::is_sorted(begin, end, byName)) return;
    if (std::is_sorted(begin, end, [&](const ComponentNode* a, const ComponentNode* b) { return byName(b, a); })) {
        std::reverse(begin, end);
        return;
    }
    if (end - begin < 64) {
        std::sort(begin, end, byName);
        return;
    }
    // Siblings often share a prefix (Card/...): keys start after it, where
    // the names differ.
    std::string_view common = (*begin)->Name();
    for (ComponentNode** c = begin + 1; c != end && !common.empty(); ++c) {
        const std::string_view name = (*c)->Name();
        std::size_t n = 0;
        while (n < common.size() && n < name.size() && text::AsciiLower(common[n]) == text::AsciiLower(name[n])) ++n;
        common = common.substr(0, n);
    }
    keyed.clear();
    keyed.reserve(static_cast<std::size_t>(end - begin));
    for (ComponentNode** c = begin; c != end; ++c)
        keyed.emplace_back(NameSortKey((*c)->Name().substr(common.size())), *c);
    std::sort(keyed.begin(), keyed.end(), [&](const auto& a, const auto& b) {
        if (a.first != b.first) return a.first < b.first;
        return byName(a.second, b.second);
    });
    for (const auto& k : keyed) *begin++ = k.second;
}

}  // namespace

void ComponentStore::Finish() {
    if (!building_) return;
    building_ = false;
    // Every node but the root is the child of one node.
    const std::size_t total = nodes_.Size() - 1;
    childPool_ = MakeChunk<ComponentNode*>(std::max<std::size_t>(1, total));
    // Each node's family goes to the pool after those of the nodes before it,
    // newest child first as in the lists. Two passes in the order the nodes
    // were made do it without following the lists: the first leaves each
    // family's end in the parent, the second fills the families from there.
    ComponentNode** end = childPool_.get();
    nodes_.ForEach([&](ComponentNode& node) {
        end += node.childCount_;
        node.children_ = end;
    });
    nodes_.ForEach([](ComponentNode& node) {
        if (node.parent_) *--node.parent_->children_ = &node;
    });

    struct NodeRun {
        ComponentNode* first;
        std::size_t count;
    };
    const auto sort = [](std::span<const NodeRun> runs) {
        std::vector<std::pair<std::uint64_t, ComponentNode*>> keyed;
        for (const NodeRun& run : runs)
            for (ComponentNode* node = run.first; node != run.first + run.count; ++node)
                if (node->childCount_ > 1) SortChildren(node->children_, node->children_ + node->childCount_, keyed);
    };
    std::vector<NodeRun> runs;
    nodes_.ForEachChunk([&](ComponentNode* first, std::size_t count) { runs.push_back({first, count}); });
    if (total < kSortedInHalves || UsableProcessors() < 2) {
        sort(runs);
        return;
    }
    // A large store's families are put in order in two halves at once: the
    // first half of the nodes, and the rest.
    std::vector<NodeRun> second;
    std::size_t before = 0;
    for (std::size_t r = 0; r < runs.size(); ++r) {
        if (2 * (before + runs[r].count) < nodes_.Size()) {
            before += runs[r].count;
            continue;
        }
        const std::size_t split = (nodes_.Size() + 1) / 2 - before;
        second.push_back({runs[r].first + split, runs[r].count - split});
        second.insert(second.end(), runs.begin() + static_cast<std::ptrdiff_t>(r) + 1, runs.end());
        runs.resize(r + 1);
        runs.back().count = split;
        break;
    }
    std::future<void> secondHalf;
    try {
        secondHalf = std::async(std::launch::async, sort, std::span<const NodeRun>(second));
    } catch (const std::system_error&) {
        sort(second);  // no thread to be had
    }
    sort(runs);
    if (secondHalf.valid()) secondHalf.get();
}

void ComponentStore::ReleaseSubtree(ComponentNode& node) {
    std::vector<ComponentNode*> pending{&node};
    while (!pending.empty()) {
        ComponentNode* n = pending.back();
        pending.pop_back();
        const auto children = n->Children();
        pending.insert(pending.end(), children.begin(), children.end());
        n->childCount_ = 0;
        n->firstText_ = nullptr;
        n->firstEnds_ = nullptr;
        n->manyRuns_ = false;
        n->lineCount_ = 0;
        n->bookkeeping_ = false;
        n->hasPropEntry_ = false;
        n->hasParentEntry_ = false;
    }
}

// ---- Lookups ----

const AttributeList* GetAttributes(const ComponentNode* node) {
    if (!node || node->EntryCount() == node->Children().size()) return nullptr;
    return node;
}

const ComponentNode* GetChild(const ComponentNode* node, std::string_view name) {
    if (!node) return nullptr;
    const auto children = node->Children();
    const auto it = std::lower_bound(
        children.begin(), children.end(), name,
        [](const ComponentNode* child, std::string_view n) { return CompareNames(child->Name(), n) < 0; });
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
        if (eq != std::string_view::npos && SameName(line.substr(0, eq), name)) return std::string(line.substr(eq + 1));
    }
    return {};
}

std::string GetFullPath(const ComponentNode* node) { return GetAttributeValue(GetAttributes(node), kFullPathName); }

std::string ComponentPath(const ComponentNode& node) {
    std::vector<std::string_view> names;
    for (const ComponentNode* n = &node; n->Parent(); n = n->Parent()) names.push_back(n->Name());
    std::string path;
    for (auto name = names.rbegin(); name != names.rend(); ++name) {
        if (name != names.rbegin()) path += ' ';
        path += *name;
    }
    return path;
}

const ComponentNode* FindSameComponent(const ComponentNode& root, const ComponentNode* node) {
    // Names, not the full path: a name may hold a space, and a path whose
    // middle piece has gone must not lead to another component.
    std::vector<std::string_view> names;
    for (const ComponentNode* n = node; n && n->Container(); n = n->Container()) names.push_back(n->Name());
    if (!node || names.empty()) return nullptr;
    const ComponentNode* found = &root;
    for (auto name = names.rbegin(); found && name != names.rend(); ++name) found = GetChild(found, *name);
    return found;
}

std::size_t CountAttributes(const ComponentNode* node) {
    const AttributeList* list = GetAttributes(node);
    if (!list) return 0;
    const auto lines = list->FileLines();
    return static_cast<std::size_t>(
        std::count_if(lines.begin(), lines.end(), [](std::string_view l) { return !text::IsHiddenName(l); }));
}

void ReleaseNode(ComponentStore& store) { store.Clear(); }

void ReleaseNode(ComponentNode& node) { ComponentStore::ReleaseSubtree(node); }

std::vector<AttributeRow> VisibleAttributeRows(const ComponentNode* node) {
    std::vector<AttributeRow> rows;
    const AttributeList* list = GetAttributes(node);
    if (!list) return rows;
    for (std::string_view line : list->FileLines())
        if (!text::IsHiddenName(line)) rows.push_back({LineName(line), LineValue(line)});
    return rows;
}

std::string_view LineName(std::string_view line) { return line.substr(0, line.find('=')); }

std::string_view LineValue(std::string_view line) {
    const std::size_t eq = line.find('=');
    return eq == std::string_view::npos ? std::string_view{} : line.substr(eq + 1);
}

}  // namespace oryx::prov
