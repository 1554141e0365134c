#include "prov/reader.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <optional>
#include <span>
#include <string>
#include <system_error>
#include <unordered_map>
#include <utility>
#include <vector>

#include "prov/child_index.h"
#include "prov/collation.h"
#include "prov/component_store.h"
#include "prov/line_batches.h"
#include "prov/path_trie.h"
#include "prov/processors.h"
#include "prov/read_diagnostics.h"
#include "prov/set_pairs.h"
#include "text/ascii_case.h"
#include "text/control_bytes.h"

namespace oryx::prov {
namespace {

// Cuts `rest` at its first space: returns the text before it and leaves the
// text after it in `rest`. The caller makes sure a space is there.
std::string_view NextPiece(std::string_view& rest) {
    const std::size_t space = rest.find(' ');
    const std::string_view piece = rest.substr(0, space);
    rest.remove_prefix(space + 1);
    return piece;
}

// The text without spaces at its ends.
std::string_view TrimSpaces(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

// Lines that fit no keyword but say nothing either: blank lines, comments
// and the end line.
bool IsQuietLine(std::string_view working) {
    return working == " " || working.front() == '#' || working == "end prov ";
}

// Where what follows a line's keyword begins: after its first space, mostly
// the one right after the keyword.
std::size_t AfterKeyword(std::string_view working, std::string_view keyword) {
    return working.size() > keyword.size() && working[keyword.size()] == ' ' ? keyword.size() + 1
                                                                             : working.find(' ') + 1;
}

// One read of one file into one store.
class Reader final {
public:
    Reader(ComponentStore& store, ReadDiagnostics* diagnostics) : store_(store), diagnostics_(diagnostics) {
        target_ = store.MutableAddNode();
    }

    // `pairs` are the line's set pairs if they were cut ahead.
    void StartProvLine(std::string_view working, bool firstLine, const LineBatch::Pairs& pairs = {}) {
        if (working.starts_with("add")) {
            Walk(working);
            setTargetKnown_ = false;
            if (diagnostics_) NoteAddLine(working);
        } else if (working.starts_with("set")) {
            if (!setTargetKnown_) FindSetTarget();
            if (setTarget_) target_ = setTarget_;
            if (diagnostics_) NoteSetLine(working);
            // The set line repeats the add line's path: drop as many characters.
            AppendPairs(working, std::min(pathLength_, working.size()), pairs);
        } else if (diagnostics_ && !firstLine && !IsQuietLine(working)) {
            diagnostics_->Note(ReadNoteKind::LineIgnored, nullptr, "start-prov");
        }
    }

    // Whether pairs joined ahead went unused since the last call.
    bool TakeJoinedUnused() { return std::exchange(joinedUnused_, false); }

    void ConfigureLine(std::string_view working, bool firstLine, const LineBatch::Pairs& pairs = {}) {
        if (working.starts_with("return")) {
            if (!context_.empty())
                Leave();
            else if (diagnostics_)
                diagnostics_->Note(ReadNoteKind::ReturnAtTop);
        } else if (working.starts_with("configure")) {
            Configure(working);
        } else if (working.starts_with("set")) {
            if (ComponentNode* node = ContextNode()) target_ = node;
            AppendPairs(working, working.find(' ') + 1, pairs);
        } else if (diagnostics_ && !firstLine && !IsQuietLine(working)) {
            diagnostics_->Note(ReadNoteKind::LineIgnored, nullptr, "configure");
        }
    }

private:
    // ---- notes, only when asked for ----

    // The add line just walked: what it created, or that it created nothing.
    void NoteAddLine(std::string_view working) {
        const std::string_view written = TrimSpaces(working.substr(AfterKeyword(working, "add")));
        addPath_.assign(written.begin(), written.end());
        haveAddPath_ = true;
        if (!walkCreated_) {
            const std::string path = ComponentPath(*walkEnd_);
            diagnostics_->Note(ReadNoteKind::AddedAgain, walkEnd_, path.empty() ? std::string("add") : path);
        }
    }

    // A set line of the start-prov format names the path of the add line
    // before it; its pairs go to that line's component whatever it names.
    void NoteSetLine(std::string_view working) {
        if (!haveAddPath_ || addPath_.empty()) return;
        const std::string_view addPath(addPath_.data(), addPath_.size());
        std::string_view rest = working.substr(AfterKeyword(working, "set"));
        // Mostly the set line repeats the path letter for letter.
        if (rest.size() > addPath.size() && rest[addPath.size()] == ' ' && rest.starts_with(addPath)) return;
        const std::size_t pieces = static_cast<std::size_t>(std::count(addPath.begin(), addPath.end(), ' ')) + 1;
        std::size_t end = 0;
        for (std::size_t i = 0; i < pieces && end != std::string_view::npos; ++i)
            end = rest.find(' ', i == 0 ? 0 : end + 1);
        const std::string_view named = TrimSpaces(rest.substr(0, end));
        if (text::EqualIgnoringAsciiCase(named, addPath)) return;
        diagnostics_->Note(ReadNoteKind::SetOtherComponent, target_, std::string(named));
    }

    // A walk created `created`; `rest` is what its line held after the piece.
    void NoteCreated(const ComponentNode& created, bool fromAdd, std::string_view rest) {
        const std::string_view more = TrimSpaces(rest);
        if (!more.empty()) diagnostics_->Note(ReadNoteKind::MissingParent, &created, {}, std::string(more));
        if (!fromAdd) diagnostics_->Note(ReadNoteKind::HiddenTopLevel, &created);
    }

    // The pieces of the context from `from` on, and the new piece, as the
    // walked line holds them.
    std::string ContextFrom(std::size_t from, std::string_view newPiece) const {
        std::string text;
        for (std::size_t i = from; i < context_.size(); ++i) (text += context_[i].piece) += ' ';
        text += newPiece;
        return text;
    }

    // The walk's path grows by the piece, as trim(path + " " + piece) would.
    // Walking a node as its creating line spelled it reuses its own path.
    // `found` is the node the piece names, or null if not known.
    const PathLink* Extend(const PathLink* path, std::string_view piece, const ComponentNode* found) {
        std::string_view segment = text::TrimControlRight(piece);
        if (!path)
            while (!segment.empty() && text::IsControlByte(segment.front())) segment.remove_prefix(1);
        if (segment.empty()) return path;
        const PathLink* own = found ? found->FullPathLink() : nullptr;
        if (own && own->prev == path && own->segment == segment) return own;
        return store_.NewLink(path, store_.Keep(segment));
    }

    // Most components have a handful of children: those are scanned, and
    // only larger families go through the index, which keeps it small.
    static constexpr std::size_t kScannedChildren = 8;

    ComponentNode* FindChild(const ComponentNode* parent, std::string_view name) const {
        if (parent->ChildCount() > kScannedChildren) return index_.Find(parent, name);
        for (ComponentNode* c = ComponentStore::FirstUnsortedChild(*parent); c;
             c = ComponentStore::NextUnsortedSibling(*c))
            if (SameName(c->Name(), name)) return c;
        return nullptr;
    }

    void AddChild(ComponentNode& parent, ComponentNode& child) {
        const std::size_t count = parent.ChildCount();
        if (count == kScannedChildren + 1) {
            // The family outgrows scanning: index it, in order of names.
            std::vector<ComponentNode*> family;
            for (ComponentNode* c = ComponentStore::FirstUnsortedChild(parent); c;
                 c = ComponentStore::NextUnsortedSibling(*c))
                family.push_back(c);
            std::sort(family.begin(), family.end(), [](const ComponentNode* a, const ComponentNode* b) {
                return CompareNames(a->Name(), b->Name()) < 0;
            });
            for (ComponentNode* c : family) index_.Insert(c);
        } else if (count > kScannedChildren + 1) {
            index_.Insert(&child);
        }
    }

    // One step of the component walk. Returns the child, or null after
    // creating it (the walk then ends).
    ComponentNode* Step(ComponentNode* current, std::string_view piece) {
        if (ComponentNode* child = FindChild(current, piece)) {
            path_ = Extend(path_, piece, child);
            return child;
        }
        ComponentNode& created = Create(*current, piece, path_);
        path_ = created.FullPathLink();
        lastCreated_ = &created;
        return nullptr;
    }

    // Walks a line of space-ended pieces from the store root, creating at most
    // the first missing piece. The pieces and nodes of the walk are kept, so
    // the next add line walks a shared prefix for free.
    void Walk(std::string_view walked) {
        path_ = nullptr;
        ComponentNode* current = &store_.MutableRoot();
        std::string_view rest = walked;
        std::size_t k = 0;
        bool same = true;
        walkClean_ = true;
        walkCreated_ = false;
        // Mostly every piece is clean, which one look at the line tells.
        const bool allClean = text::PiecesAreClean(walked);
        // The working line ends in a space, so there is one; each search
        // for the next one also says whether another piece follows.
        std::size_t space = rest.find(' ');
        do {
            const std::string_view piece = rest.substr(0, space);
            rest.remove_prefix(space + 1);
            walkClean_ = walkClean_ && (allClean || text::PiecesAreClean(piece));
            if (same && k < lastWalk_.size() && lastWalk_[k].piece == piece) {
                current = lastWalk_[k].node;
                path_ = lastWalk_[k].path;
            } else {
                if (same) lastWalk_.resize(k);
                same = false;
                ComponentNode* next = Step(current, piece);
                lastWalk_.push_back({std::string(piece), next ? next : lastCreated_, path_});
                if (!next) {
                    current = lastCreated_;
                    walkCreated_ = true;
                    // Mostly the line's last piece made a component below the add node.
                    if (diagnostics_) {
                        const ComponentNode* top = k == 0 ? lastCreated_ : lastWalk_.front().node;
                        if (!rest.empty() || top != store_.AddNode())
                            NoteCreated(*lastCreated_, top == store_.AddNode(), rest);
                    }
                    break;
                }
                current = next;
            }
            ++k;
            space = rest.find(' ');
        } while (space != std::string_view::npos);
        walkEnd_ = current;
        walkLength_ = static_cast<std::size_t>(rest.data() - walked.data()) - 1;
    }

    // The component set lines of the start-prov format apply to: the last add
    // line's path looked up from the root. When that path was walked piece by
    // piece without trimming, the walk already ended on that component.
    void FindSetTarget() {
        setTargetKnown_ = true;
        if (walkClean_ && walkEnd_) {
            setTarget_ = walkEnd_;
            pathLength_ = walkLength_;
            return;
        }
        const std::string pathText = MaterializePath(path_);
        pathLength_ = pathText.size();
        setTarget_ = Find(&store_.MutableRoot(), pathText);
    }

    // FindComponent over the index: a missing middle piece is skipped.
    ComponentNode* Find(ComponentNode* from, std::string_view path) const {
        ComponentNode* current = from;
        ComponentNode* result = nullptr;
        std::string rest(path);
        rest += ' ';
        std::string_view r = rest;
        do {
            result = FindChild(current, NextPiece(r));
            if (result) current = result;
        } while (r.find(' ') != std::string_view::npos);
        return result;
    }

    // ---- configure format ----
    //
    // The context is a stack of pieces. Every line must cost about its own
    // length, however deep the context, so nothing below walks the context:
    //  - the components "add c0 ... ci" (the exact chain) are kept per entry;
    //  - FindComponent of "add c0 ... ck" for set lines, which passes over
    //    missing pieces, is kept as runs: the nodes where its walk moved on;
    //  - walks from other top-level components ("configured..." lines) find
    //    how far the context exists below them by a search over the entries,
    //    through a trie of the components they created, starting from what
    //    the last walk from the same component found.

    void Configure(std::string_view working) {
        // "configure" becomes "add"; after the first space every further
        // space but the closing one becomes "_", so the rest is one name.
        std::string rewritten = "add";
        rewritten.append(working.substr(9));
        const std::size_t first = rewritten.find(' ');
        const std::size_t closing = rewritten.size() - 1;
        for (std::size_t i = rewritten.find(' ', first + 1); i < closing; i = rewritten.find(' ', i + 1))
            rewritten[i] = '_';
        const std::string_view head = std::string_view(rewritten).substr(0, first);
        std::string_view newPiece = std::string_view(rewritten).substr(first + 1);
        if (!newPiece.empty()) newPiece.remove_suffix(1);
        const bool hasNewPiece = first + 1 < rewritten.size();

        // The walked line is head + context + new piece.
        ComponentNode* entered = nullptr;
        const ComponentNode* reachedBelow = nullptr;
        if (head == "add")
            entered = WalkFromAdd(newPiece, hasNewPiece);
        else
            reachedBelow = WalkFromTop(head, newPiece, hasNewPiece);
        if (!hasNewPiece) return;
        Enter(newPiece, entered);
        if (reachedBelow) hints_[reachedBelow] = {context_.size(), context_.back().serial};
    }

    // The walk from the add node. Returns the new piece's component below
    // the whole context, when that exists.
    ComponentNode* WalkFromAdd(std::string_view newPiece, bool hasNewPiece) {
        const std::size_t depth = context_.size();
        const std::size_t known = exact_.size();
        if (known < depth) {
            // The first context piece missing below the add node is created.
            ComponentNode& created = Create(*ExactNode(known), context_[known].piece, AddPathBefore(known));
            if (diagnostics_) NoteCreated(created, true, ContextFrom(known + 1, newPiece));
            exact_.push_back(&created);
            while (!runs_.empty() && runs_.back().start >= known) runs_.pop_back();
            runs_.push_back({known, &created});
            return nullptr;
        }
        if (!hasNewPiece) return nullptr;
        ComponentNode* parent = ExactNode(depth);
        if (ComponentNode* found = FindChild(parent, newPiece)) return found;
        return &Create(*parent, newPiece, AddPathBefore(depth));  // the last piece: nothing after it
    }

    // The walk from another top-level component, which the head names.
    // Returns that component when the new piece exists below it after the
    // whole context.
    const ComponentNode* WalkFromTop(std::string_view head, std::string_view newPiece, bool hasNewPiece) {
        ComponentNode& root = store_.MutableRoot();
        ComponentNode* top = FindChild(&root, head);
        if (!top) {
            ComponentNode& created = Create(root, head, nullptr);
            if (diagnostics_) NoteCreated(created, false, ContextFrom(0, newPiece));
            return nullptr;
        }
        const PathLink* headPath = Extend(nullptr, head, top);
        const std::size_t depth = context_.size();
        const std::size_t known = DepthBelow(top);
        if (known < depth) {
            ComponentNode& created =
                Create(*NodeBelow(top, known), context_[known].piece, TopPathBefore(known, headPath));
            if (diagnostics_) NoteCreated(created, false, ContextFrom(known + 1, newPiece));
            trie_.Remember(top, TrieId(known), &created);
            hints_[top] = {known + 1, context_[known].serial};
            return nullptr;
        }
        if (!hasNewPiece) return nullptr;
        const std::uint32_t piece = trie_.Child(depth == 0 ? PathTrie::kRoot : TrieId(depth - 1), newPiece);
        if (!trie_.Below(top, piece)) {
            ComponentNode& created = Create(*NodeBelow(top, depth), newPiece, TopPathBefore(depth, headPath));
            if (diagnostics_) NoteCreated(created, false, {});
            trie_.Remember(top, piece, &created);
        }
        return top;
    }

    ComponentNode& Create(ComponentNode& parent, std::string_view piece, const PathLink* parentPath) {
        ComponentNode& created = store_.AppendChild(parent, store_.Keep(piece), parentPath);
        AddChild(parent, created);
        target_ = &created;
        if (diagnostics_) diagnostics_->NodeCreated();
        return created;
    }

    // A new piece on the context. `exact`, when known, is its component
    // below the whole context.
    void Enter(std::string_view piece, ComponentNode* exact) {
        const std::size_t depth = context_.size();
        context_.push_back({std::string(piece)});
        context_.back().serial = ++serials_;
        ComponentNode* next = nullptr;
        if (exact_.size() == depth) {
            // FindComponent has followed the exact chain so far.
            next = exact ? exact : FindChild(ExactNode(depth), piece);
            if (next) exact_.push_back(next);
        } else {
            next = FindChild(runs_.empty() ? store_.MutableAddNode() : runs_.back().node, piece);
        }
        if (next) runs_.push_back({depth, next});
    }

    void Leave() {
        context_.pop_back();
        const std::size_t depth = context_.size();
        if (exact_.size() > depth) exact_.pop_back();
        while (!runs_.empty() && runs_.back().start >= depth) runs_.pop_back();
        pathsKnown_ = std::min(pathsKnown_, depth);
        triesKnown_ = std::min(triesKnown_, depth);
    }

    // FindComponent of "add" and the context's pieces: the node that its last
    // piece names, or null.
    ComponentNode* ContextNode() const {
        if (context_.empty()) return store_.MutableAddNode();
        if (!runs_.empty() && runs_.back().start == context_.size() - 1) return runs_.back().node;
        return nullptr;
    }

    // The add node, then "add c0", "add c0 c1", ...: the node below the
    // first `depth` pieces, which the caller knows to exist.
    ComponentNode* ExactNode(std::size_t depth) const {
        return depth == 0 ? store_.MutableAddNode() : exact_[depth - 1];
    }

    // The walk's path "add c0 ... c(depth-1)" as the context spells it.
    const PathLink* AddPathBefore(std::size_t depth) {
        const PathLink* path = store_.AddNode()->FullPathLink();
        if (depth == 0) return path;
        for (; pathsKnown_ < depth; ++pathsKnown_) {
            ContextEntry& entry = context_[pathsKnown_];
            const PathLink* prev = pathsKnown_ == 0 ? path : context_[pathsKnown_ - 1].path;
            entry.path = Extend(prev, entry.piece, pathsKnown_ < exact_.size() ? exact_[pathsKnown_] : nullptr);
        }
        return context_[depth - 1].path;
    }

    // The same path with the head of this line in place of "add".
    const PathLink* TopPathBefore(std::size_t depth, const PathLink* headPath) {
        if (depth == 0) return headPath;
        return store_.NewSplice(AddPathBefore(depth), headPath->segment);
    }

    // The place of the context's first i + 1 pieces in the trie.
    std::uint32_t TrieId(std::size_t i) {
        for (; triesKnown_ <= i; ++triesKnown_)
            context_[triesKnown_].trie = trie_.Child(
                triesKnown_ == 0 ? PathTrie::kRoot : context_[triesKnown_ - 1].trie, context_[triesKnown_].piece);
        return context_[i].trie;
    }

    // How many of the context's pieces exist in a row below `top`. What a
    // walk creates below `top` only ever extends a path from `top`, so that
    // count is found by halving. The search starts from what the last walk
    // from `top` found, if the context still holds those entries; else from
    // the context's end, where walks mostly create, in doubling steps.
    std::size_t DepthBelow(const ComponentNode* top) {
        const auto exists = [&](std::size_t i) { return trie_.Below(top, TrieId(i)) != nullptr; };
        const std::size_t depth = context_.size();
        std::size_t low = 0;   // pieces [0, low) exist
        std::size_t high = 0;  // a piece known to be missing, once found
        const auto hint = hints_.find(top);
        if (hint != hints_.end() && hint->second.depth <= depth &&
            (hint->second.depth == 0 || context_[hint->second.depth - 1].serial == hint->second.serial)) {
            low = hint->second.depth;
            for (std::size_t step = 1;; step *= 2) {
                if (low == depth) return depth;
                const std::size_t probe = std::min(depth, low + step) - 1;
                if (!exists(probe)) {
                    high = probe;
                    break;
                }
                low = probe + 1;
            }
        } else {
            if (depth == 0) return 0;
            if (exists(depth - 1)) return depth;
            high = depth - 1;
            for (std::size_t step = 1;; step *= 2) {
                if (step > high) {
                    if (!exists(0)) return 0;
                    low = 1;
                    break;
                }
                if (exists(high - step)) {
                    low = high - step + 1;
                    break;
                }
                high -= step;
            }
        }
        while (high > low) {
            const std::size_t middle = low + (high - low) / 2;
            if (exists(middle))
                low = middle + 1;
            else
                high = middle;
        }
        if (low > 0) hints_[top] = {low, context_[low - 1].serial};
        return low;
    }

    ComponentNode* NodeBelow(ComponentNode* top, std::size_t depth) {
        return depth == 0 ? top : trie_.Below(top, TrieId(depth - 1));
    }

    // The pairs of the working line from offset `from` on.
    // The pairs cut ahead may have been joined in the store's memory already.
    void AppendPairs(std::string_view working, std::size_t from, const LineBatch::Pairs& pairs) {
        const auto append = [this](std::string_view name, std::string_view value, std::string_view joined = {}) {
            Appended(joined.empty() ? store_.AppendAttribute(*target_, name, value)
                                    : store_.AppendAttributeLine(*target_, joined),
                     name.size());
        };
        if (pairs.CutFrom(from)) {
            if (pairs.Joined()) {
                // The common case, in one go.
                const std::span<const CutPair> cut = pairs.Cut();
                store_.AppendAttributeLines(*target_, cut.size(), [cut](std::size_t i) { return cut[i].JoinedLine(); });
                if (diagnostics_) {
                    diagnostics_->AttributesAppended(cut.size());
                    for (const CutPair& p : cut)
                        if (p.nameSize == 0)
                            diagnostics_->Note(ReadNoteKind::UnnamedAttribute, target_, std::string(p.JoinedLine()));
                }
            } else {
                pairs.ForEach(append);
            }
        } else {
            joinedUnused_ = joinedUnused_ || pairs.Joined();
            CutSetPairs(working.substr(from), append);
        }
    }

    void Appended(std::string_view line, std::size_t nameSize) {
        if (diagnostics_) {
            diagnostics_->AttributeAppended();
            if (nameSize == 0) diagnostics_->Note(ReadNoteKind::UnnamedAttribute, target_, std::string(line));
        }
    }

    struct WalkedPiece {
        std::string piece;
        ComponentNode* node;
        const PathLink* path;
    };

    ComponentStore& store_;
    ReadDiagnostics* diagnostics_;
    ChildIndex index_;
    ComponentNode* target_ = nullptr;
    const PathLink* path_ = nullptr;
    ComponentNode* lastCreated_ = nullptr;
    bool joinedUnused_ = false;
    // start-prov: the last add line's walk and the target of its set lines
    std::vector<WalkedPiece> lastWalk_;
    ComponentNode* walkEnd_ = nullptr;
    std::size_t walkLength_ = 0;
    bool walkClean_ = false;
    bool walkCreated_ = false;
    // for the notes: the path the last add line wrote, after its first piece
    std::vector<char> addPath_;
    bool haveAddPath_ = false;
    std::size_t pathLength_ = 0;
    bool setTargetKnown_ = true;
    ComponentNode* setTarget_ = nullptr;
    // configure: the pieces entered and not left
    struct ContextEntry {
        std::string piece;
        const PathLink* path = nullptr;  // "add c0 ... ci", once worked out
        std::uint32_t trie = 0;          // once worked out
        std::uint64_t serial = 0;        // tells this entry from a later one at its place
    };
    // Below a top-level component the context's first `depth` pieces exist,
    // as long as entry depth - 1 is the one with `serial`.
    struct Hint {
        std::size_t depth;
        std::uint64_t serial;
    };
    // Where FindComponent's walk over the context moved on: from entry
    // `start` on, until the next run, it stands on `node`.
    struct Run {
        std::size_t start;
        ComponentNode* node;
    };
    std::vector<ContextEntry> context_;
    std::vector<ComponentNode*> exact_;  // the node of "add c0 ... ci" for each i that has one
    std::vector<Run> runs_;
    std::size_t pathsKnown_ = 0, triesKnown_ = 0;
    PathTrie trie_;
    std::unordered_map<const ComponentNode*, Hint> hints_;
    std::uint64_t serials_ = 0;
};

// Files from this size up are read ahead on a thread of their own, when
// there is a processor for it.
constexpr std::size_t kReadAheadBytes = 1024 * 1024;

bool ReadsAhead(const LineFile& file, ReadSplit::Mode mode) {
    switch (mode) {
    case ReadSplit::Mode::Serial: return false;
    case ReadSplit::Mode::Parallel: return true;
    case ReadSplit::Mode::Automatic: break;
    }
    if (file.SizeAtOpen() < kReadAheadBytes) return false;
    return UsableProcessors() > 1;
}

// The lines come from a thread that reads them ahead in batches, trimmed,
// with their set pairs cut and joined into attribute lines in the store's
// memory; the walk takes them in file order, and the store's large chunks
// are made ready by another thread.
// False when no thread could be started: nothing was read then.
bool ReadAhead(LineFile& file, const BatchCuts& cuts, ComponentStore& store, Reader& reader, FileShape& shape,
               ReadDiagnostics* diagnostics) {
    const ChunkPrefetch prefetch;
    std::optional<LineBatchReader> started;
    try {
        started.emplace(file, shape.startProv, cuts, store.AheadText());
    } catch (const std::system_error&) {
        return false;
    }
    LineBatchReader& batches = *started;
    while (const LineBatch* batch = batches.Next()) {
        for (std::size_t i = 0, n = batch->LineCount(); i < n; ++i) {
            ++shape.lines;
            if (diagnostics) diagnostics->BeginLine();
            if (shape.startProv)
                reader.StartProvLine(batch->Line(i), shape.lines == 1, batch->LinePairs(i));
            else
                reader.ConfigureLine(batch->Line(i), shape.lines == 1, batch->LinePairs(i));
        }
        if (reader.TakeJoinedUnused()) batches.StopJoining();
    }
    return true;
}

FileShape ReadLines(const std::string& fileName, ComponentStore& store, ReadDiagnostics* diagnostics,
                    const ReadSplit& split) {
    LineFile file(fileName);
    // Emptiness shows in reading, not in the size: files of /proc say 0.
    std::string_view line;
    FileShape shape;
    shape.startProv = file.ReadLine(line) && TrimControl(line) == "start prov";
    file.Rewind();

    Reader reader(store, diagnostics);
    if (ReadsAhead(file, split.mode) && ReadAhead(file, split.cuts, store, reader, shape, diagnostics)) return shape;
    std::string working;
    while (file.ReadLine(line)) {
        ++shape.lines;
        if (diagnostics) diagnostics->BeginLine();
        working.assign(TrimControl(line));
        working += ' ';
        if (shape.startProv)
            reader.StartProvLine(working, shape.lines == 1);
        else
            reader.ConfigureLine(working, shape.lines == 1);
    }
    return shape;
}

}  // namespace

FileShape ReadProvisioningFile(const std::string& fileName, ComponentStore& store, ReadDiagnostics* diagnostics) {
    return ReadProvisioningFile(fileName, store, diagnostics, ReadSplit{});
}

FileShape ReadProvisioningFile(const std::string& fileName, ComponentStore& store, ReadDiagnostics* diagnostics,
                               const ReadSplit& split) {
    store.StartBuilding();
    if (diagnostics) diagnostics->Clear();
    try {
        const FileShape shape = ReadLines(fileName, store, diagnostics, split);
        store.Finish();
        if (diagnostics) diagnostics->Finish();
        return shape;
    } catch (const std::bad_alloc&) {
        // What was built goes: the message and whatever shows it need memory.
        store.StartBuilding();
        store.Finish();
        if (diagnostics) diagnostics->Clear();
        throw NotEnoughMemoryToRead(fileName);
    } catch (...) {
        // The store ends up in order and usable, with what was built.
        store.Finish();
        throw;
    }
}

bool IsConfigureFile(const std::string& fileName) {
    try {
        LineFile file(fileName);
        std::string_view line;
        return file.ReadLine(line) && line.find("configure") != std::string_view::npos;
    } catch (const std::bad_alloc&) {
        throw NotEnoughMemoryToRead(fileName);
    }
}

}  // namespace oryx::prov
