#include "prov/reader.h"

#include <string>
#include <vector>

#include "prov/child_index.h"
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
        index_.Insert(store.MutableAddNode());
        target_ = &ComponentStore::MutableAttributes(*store.MutableAddNode());
        contextNodes_.push_back({store.MutableAddNode(), store.AddNode()->FullPathLink()});
    }

    void StartProvLine(std::string_view working) {
        if (StartsWith(working, "add")) {
            Walk(working);
            pathText_ = MaterializePath(path_);
            setTargetKnown_ = false;
        } else if (StartsWith(working, "set")) {
            if (!setTargetKnown_) {
                setTarget_ = Find(&store_.MutableRoot(), pathText_);
                setTargetKnown_ = true;
            }
            if (setTarget_) target_ = &ComponentStore::MutableAttributes(*setTarget_);
            // The set line repeats the add line's path: drop as many characters.
            AppendPairs(working.size() > pathText_.size() ? working.substr(pathText_.size())
                                                          : std::string_view{});
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
            if (ComponentNode* node = ContextNode()) target_ = &ComponentStore::MutableAttributes(*node);
            AppendPairs(working.substr(working.find(' ') + 1));
        }
    }

private:
    struct ResolvedPrefix {
        ComponentNode* node;
        const PathLink* path;
    };

    // The walk's path grows by the piece, as trim(path + " " + piece) would.
    const PathLink* Extend(const PathLink* path, std::string_view piece, const ComponentNode* found) {
        std::string_view segment = TrimRight(piece);
        if (!path)
            while (!segment.empty() && IsControl(segment.front())) segment.remove_prefix(1);
        if (segment.empty()) return path;
        if (found) {
            const PathLink* own = found->FullPathLink();
            if (own && own->prev == path && own->segment == segment) return own;
        }
        return store_.NewLink(path, store_.Keep(segment));
    }

    // One step of the component walk. Returns the child, or null after
    // creating it (the walk then ends).
    ComponentNode* Step(ComponentNode* current, std::string_view piece) {
        ComponentNode* child = index_.Find(current, piece);
        if (child) {
            path_ = Extend(path_, piece, child);
            return child;
        }
        path_ = Extend(path_, piece, nullptr);
        const std::string_view name =
            (path_ && path_->segment.size() == piece.size() && path_->segment == piece)
                ? path_->segment
                : store_.Keep(piece);
        ComponentNode& created = store_.AppendChild(*current, name, path_);
        index_.Insert(&created);
        target_ = &ComponentStore::MutableAttributes(created);
        lastCreated_ = &created;
        return nullptr;
    }

    // Walks a line of space-ended pieces from the store root, creating at most
    // the first missing piece.
    void Walk(std::string_view walked) {
        path_ = nullptr;
        ComponentNode* current = &store_.MutableRoot();
        std::string_view rest = walked;
        do {
            current = Step(current, NextPiece(rest));
        } while (current && rest.find(' ') != std::string_view::npos);
    }

    // FindComponent over the index: a missing middle piece is skipped.
    ComponentNode* Find(ComponentNode* from, std::string_view path) const {
        ComponentNode* current = from;
        ComponentNode* result = nullptr;
        std::string rest(path);
        rest += ' ';
        std::string_view r = rest;
        do {
            result = index_.Find(current, NextPiece(r));
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
            Walk(walked);
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
            ComponentNode* next = index_.Find(known.node, piece);
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

    ComponentStore& store_;
    ChildIndex index_;
    AttributeList* target_ = nullptr;
    const PathLink* path_ = nullptr;
    ComponentNode* lastCreated_ = nullptr;
    // start-prov
    std::string pathText_;
    bool setTargetKnown_ = false;
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

void ReadProvisioningFile(const std::string& fileName, ComponentStore& store) {
    store.Reset();
    LineFile file(fileName);
    if (file.Empty()) return;
    std::string_view line;
    const bool startProv = file.ReadLine(line) && TrimControl(line) == "start prov";
    file.Rewind();

    Reader reader(store);
    std::string working;
    try {
        while (file.ReadLine(line)) {
            working.assign(TrimControl(line));
            working += ' ';
            if (startProv)
                reader.StartProvLine(working);
            else
                reader.ConfigureLine(working);
        }
    } catch (...) {
        store.SortAllChildren();
        throw;
    }
    store.SortAllChildren();
}

bool IsConfigureFile(const std::string& fileName) {
    LineFile file(fileName);
    std::string_view line;
    return file.ReadLine(line) && line.find("configure") != std::string_view::npos;
}

}  // namespace oryx::prov
