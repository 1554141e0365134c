#include "prov/reader.h"

#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include "prov/child_index.h"
#include "prov/collation.h"
#include "prov/component_store.h"

namespace oryx::prov {
namespace {

bool IsControl(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string_view TrimRight(std::string_view text) {
    while (!text.empty() && IsControl(text.back())) text.remove_suffix(1);
    return text;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// Cuts `rest` at its first space: returns the text before it and leaves the
// text after it in `rest`. The caller makes sure a space is there.
std::string_view NextPiece(std::string_view& rest) {
    const std::size_t space = rest.find(' ');
    const std::string_view piece = rest.substr(0, space);
    rest.remove_prefix(space + 1);
    return piece;
}

// One read of one file into one store.
class Reader final {
public:
    explicit Reader(ComponentStore& store) : store_(store) {
        target_ = store.MutableAddNode();
        contextNodes_.push_back({store.MutableAddNode(), store.AddNode()->FullPathLink()});
    }

    void StartProvLine(std::string_view working) {
        if (StartsWith(working, "add")) {
            Walk(working, true);
            setTargetKnown_ = false;
        } else if (StartsWith(working, "set")) {
            if (!setTargetKnown_) FindSetTarget();
            if (setTarget_) target_ = setTarget_;
            // The set line repeats the add line's path: drop as many characters.
            AppendPairs(working.size() > pathLength_ ? working.substr(pathLength_) : std::string_view{});
        }
    }

    void ConfigureLine(std::string_view working) {
        if (StartsWith(working, "return")) {
            if (!context_.empty()) {
                context_.pop_back();
                if (contextNodes_.size() > context_.size() + 1) contextNodes_.resize(context_.size() + 1);
            }
        } else if (StartsWith(working, "configure")) {
            Configure(working);
        } else if (StartsWith(working, "set")) {
            if (ComponentNode* node = ContextNode()) target_ = node;
            AppendPairs(working.substr(working.find(' ') + 1));
        }
    }

private:
    struct ResolvedPrefix {
        ComponentNode* node;
        const PathLink* path;
    };

    // The walk's path grows by the piece, as trim(path + " " + piece) would.
    // Walking a node as its creating line spelled it reuses its own path.
    const PathLink* Extend(const PathLink* path, std::string_view piece, const ComponentNode* found) {
        std::string_view segment = TrimRight(piece);
        if (!path)
            while (!segment.empty() && IsControl(segment.front())) segment.remove_prefix(1);
        if (segment.empty()) return path;
        const PathLink* own = found->FullPathLink();
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
        ComponentNode& created = store_.AppendChild(*current, store_.Keep(piece), path_);
        path_ = created.FullPathLink();
        AddChild(*current, created);
        target_ = &created;
        lastCreated_ = &created;
        return nullptr;
    }

    // Walks a line of space-ended pieces from the store root, creating at most
    // the first missing piece. With `remember`, the pieces and nodes of this
    // walk are kept, so the next add line walks a shared prefix for free.
    void Walk(std::string_view walked, bool remember) {
        path_ = nullptr;
        ComponentNode* current = &store_.MutableRoot();
        std::string_view rest = walked;
        std::size_t k = 0;
        bool same = remember;
        walkClean_ = true;
        do {
            const std::string_view piece = NextPiece(rest);
            walkClean_ = walkClean_ && IsClean(piece);
            if (same && k < lastWalk_.size() && lastWalk_[k].piece == piece) {
                current = lastWalk_[k].node;
                path_ = lastWalk_[k].path;
            } else {
                if (same) lastWalk_.resize(k);
                same = false;
                ComponentNode* next = Step(current, piece);
                if (remember) lastWalk_.push_back({std::string(piece), next ? next : lastCreated_, path_});
                if (!next) {
                    current = lastCreated_;
                    break;
                }
                current = next;
            }
            ++k;
        } while (rest.find(' ') != std::string_view::npos);
        walkEnd_ = current;
        walkLength_ = static_cast<std::size_t>(rest.data() - walked.data()) - 1;
    }

    static bool IsClean(std::string_view piece) {
        if (piece.empty()) return false;
        for (char c : piece)
            if (IsControl(c)) return false;
        return true;
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

    void Configure(std::string_view working) {
        // "configure" becomes "add"; after the first space every further
        // space but the closing one becomes "_", so the rest is one name.
        std::string rewritten = "add";
        rewritten.append(working.substr(9));
        const std::size_t first = rewritten.find(' ');
        for (std::size_t i = first + 1; i + 1 < rewritten.size(); ++i)
            if (rewritten[i] == ' ') rewritten[i] = '_';
        const std::string_view head = std::string_view(rewritten).substr(0, first);
        std::string_view newPiece = std::string_view(rewritten).substr(first + 1);
        if (!newPiece.empty()) newPiece.remove_suffix(1);
        const bool hasNewPiece = first + 1 < rewritten.size();

        if (head == "add") {
            WalkContext(newPiece, hasNewPiece);
        } else {
            // The keyword ran into other letters (configured ...): walk the
            // rewritten line with the context inserted after its first space.
            std::string walked(head);
            walked += ' ';
            for (const std::string& piece : context_) (walked += piece) += ' ';
            if (hasNewPiece) (walked += newPiece) += ' ';
            Walk(walked, false);
        }
        if (hasNewPiece) context_.emplace_back(newPiece);
    }

    // The walk of "add " + context + new piece. The nodes of the context's
    // prefixes are remembered, so a deep context costs one step per line.
    void WalkContext(std::string_view newPiece, bool hasNewPiece) {
        ResolvedPrefix known = contextNodes_.back();
        path_ = known.path;
        for (std::size_t i = contextNodes_.size() - 1; i < context_.size(); ++i) {
            ComponentNode* next = Step(known.node, context_[i]);
            if (!next) {
                contextNodes_.push_back({lastCreated_, path_});
                return;
            }
            known = {next, path_};
            contextNodes_.push_back(known);
        }
        if (!hasNewPiece) return;
        ComponentNode* next = Step(known.node, newPiece);
        contextNodes_.push_back({next ? next : lastCreated_, path_});
    }

    // The component the context names, or null.
    ComponentNode* ContextNode() {
        while (contextNodes_.size() <= context_.size()) {
            ResolvedPrefix known = contextNodes_.back();
            const std::string& piece = context_[contextNodes_.size() - 1];
            ComponentNode* next = FindChild(known.node, piece);
            if (!next) break;
            contextNodes_.push_back({next, Extend(known.path, piece, next)});
        }
        if (contextNodes_.size() == context_.size() + 1) return contextNodes_.back().node;
        std::string path = "add";
        for (const std::string& piece : context_) (path += ' ') += piece;
        return Find(&store_.MutableRoot(), path);
    }

    void AppendPairs(std::string_view text) {
        std::string_view rest = TrimControl(text);
        while (true) {
            const std::size_t comma = rest.find(',');
            AppendPair(TrimControl(rest.substr(0, comma)));
            if (comma == std::string_view::npos) break;
            rest.remove_prefix(comma + 1);
        }
    }

    void AppendPair(std::string_view pair) {
        const std::size_t space = pair.find(' ');
        std::string_view name, value = pair;
        if (space != std::string_view::npos) {
            name = TrimControl(pair.substr(0, space));
            value = TrimControl(pair.substr(space + 1));
        }
        store_.AppendAttribute(*target_, store_.KeepJoined(name, '=', value));
    }

    struct WalkedPiece {
        std::string piece;
        ComponentNode* node;
        const PathLink* path;
    };

    ComponentStore& store_;
    ChildIndex index_;
    ComponentNode* target_ = nullptr;
    const PathLink* path_ = nullptr;
    ComponentNode* lastCreated_ = nullptr;
    // start-prov: the last add line's walk and the target of its set lines
    std::vector<WalkedPiece> lastWalk_;
    ComponentNode* walkEnd_ = nullptr;
    std::size_t walkLength_ = 0;
    bool walkClean_ = false;
    std::size_t pathLength_ = 0;
    bool setTargetKnown_ = true;
    ComponentNode* setTarget_ = nullptr;
    // configure: the pieces entered and not left, and the nodes of the
    // prefixes "add", "add c0", "add c0 c1", ... as far as they are known
    std::vector<std::string> context_;
    std::vector<ResolvedPrefix> contextNodes_;
};

}  // namespace

std::string_view TrimControl(std::string_view text) {
    while (!text.empty() && IsControl(text.front())) text.remove_prefix(1);
    return TrimRight(text);
}

namespace {

void ReadLines(const std::string& fileName, ComponentStore& store) {
    LineFile file(fileName);
    // Emptiness shows in reading, not in the size: files of /proc say 0.
    std::string_view line;
    const bool startProv = file.ReadLine(line) && TrimControl(line) == "start prov";
    file.Rewind();

    Reader reader(store);
    std::string working;
    while (file.ReadLine(line)) {
        working.assign(TrimControl(line));
        working += ' ';
        if (startProv)
            reader.StartProvLine(working);
        else
            reader.ConfigureLine(working);
    }
}

}  // namespace

void ReadProvisioningFile(const std::string& fileName, ComponentStore& store) {
    store.StartBuilding();
    try {
        ReadLines(fileName, store);
        store.Finish();
    } catch (const std::bad_alloc&) {
        // What was built goes: the message and whatever shows it need memory.
        store.StartBuilding();
        store.Finish();
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
