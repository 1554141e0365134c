#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace oryx::prov {

class ComponentNode;
class ComponentStore;
struct AttributeLineId;

// What the reader passed over or took otherwise than the line says. The
// reader records these beside the store only when a caller asks for them;
// they never change what is read.
enum class ReadNoteKind {
    SetOtherComponent,  // start-prov: a set line names another path than the last add line
    MissingParent,      // a walk created a component and its line went on below it
    AddedAgain,         // start-prov: an add line whose every piece exists
    HiddenTopLevel,     // a walk not from "add" made a component beside the add node
    UnnamedAttribute,   // a pair made a line with an empty name
    LineIgnored,        // a line that fits no keyword of its format
    ReturnAtTop,        // configure: a return with nothing entered
};

// One note. `node` is the component it is about (null for none); `named`
// and `rest` hold what the line says, as the note's kind needs:
//   SetOtherComponent  named: the path the set line names; node: where its pairs went
//   MissingParent      node: the component created; rest: the pieces after it
//   AddedAgain         named: the add line's path; node: the component it names
//   HiddenTopLevel     node: the component made
//   UnnamedAttribute   named: the line made ("=value"); node: its component
struct ReadNote {
    ReadNoteKind kind;
    std::uint32_t line = 0;
    const ComponentNode* node = nullptr;
    std::string named;
    std::string rest;
};

// Filled by ReadProvisioningFile when passed: the notes in line order, and
// the line of every component and attribute line the file made, at 4 bytes
// per line of the file.
class ReadDiagnostics final {
public:
    const std::vector<ReadNote>& Notes() const { return notes_; }

    // The line (from 1) that made the component; 0 for the store root, the add
    // node or a node of another store. Builds an index of the components'
    // lines on the first call; each call then costs a binary search. The
    // store must be the one read and not read again since.
    std::uint32_t NodeLine(const ComponentStore& store, const ComponentNode& node) const;
    // The line of an attribute line, given as the store holds it (an element
    // of a node's FileLines()); 0 when it is not the store's.
    std::uint32_t AttributeLine(const ComponentStore& store, AttributeLineId line) const;
    // Builds the indexes the two lookups above build on their first call, so
    // that several threads may then look up at once.
    void PrepareLookups(const ComponentStore& store) const;

    // The memory the line numbers hold.
    std::size_t LineNumberBytes() const { return marks_.Bytes(); }

    // ---- recording, by the reader ----
    void Clear();
    // The file is read: the line numbers keep no room to grow.
    void Finish() { marks_.Fit(); }
    // A line of the file begins; lines are counted from 1.
    void BeginLine() { marks_.Push(static_cast<std::uint32_t>(attributes_ & kCountMask)); }
    std::uint32_t Line() const { return static_cast<std::uint32_t>(marks_.Size()); }
    void NodeCreated() { marks_.Back() |= kNodeMark; }
    void AttributeAppended() { ++attributes_; }
    void AttributesAppended(std::size_t count) { attributes_ += count; }
    void Note(ReadNoteKind kind, const ComponentNode* node = nullptr, std::string named = {}, std::string rest = {}) {
        notes_.push_back({kind, Line(), node, std::move(named), std::move(rest)});
    }

private:
    void PrepareNodeLines(const ComponentStore& store) const;

    // Each line's mark: the attribute lines made before it, and whether the
    // line made a component (every line makes at most one).
    static constexpr std::uint32_t kNodeMark = 0x80000000u;
    static constexpr std::uint32_t kCountMask = 0x7fffffffu;

    // The marks in chunks that never move: growing them copies nothing, and
    // each page is written once.
    class Marks final {
    public:
        Marks() = default;
        Marks(const Marks&) = delete;
        Marks& operator=(const Marks&) = delete;
        void Clear() {
            chunks_.clear();
            next_ = end_ = nullptr;
            lastCapacity_ = 0;
        }
        void Push(std::uint32_t mark) {
            if (next_ == end_) AddChunk();
            *next_++ = mark;
        }
        std::uint32_t& Back() { return next_[-1]; }
        std::uint32_t operator[](std::size_t i) const { return chunks_[i / kChunk][i % kChunk]; }
        std::size_t Size() const {
            return chunks_.empty()
                       ? 0
                       : (chunks_.size() - 1) * kChunk + static_cast<std::size_t>(next_ - chunks_.back().get());
        }
        std::size_t Bytes() const {
            return chunks_.empty() ? 0 : ((chunks_.size() - 1) * kChunk + lastCapacity_) * sizeof(std::uint32_t);
        }
        // The last chunk keeps no room to grow; nothing is pushed after.
        void Fit() {
            const std::size_t used = Size() % kChunk;
            if (used == 0) return;
            auto fitted = std::make_unique_for_overwrite<std::uint32_t[]>(used);
            std::copy(chunks_.back().get(), chunks_.back().get() + used, fitted.get());
            chunks_.back() = std::move(fitted);
            next_ = end_ = chunks_.back().get() + used;
            lastCapacity_ = used;
        }

    private:
        void AddChunk() {
            chunks_.push_back(std::make_unique_for_overwrite<std::uint32_t[]>(kChunk));
            next_ = chunks_.back().get();
            end_ = next_ + kChunk;
            lastCapacity_ = kChunk;
        }

        static constexpr std::size_t kChunk = std::size_t{1} << 16;
        std::vector<std::unique_ptr<std::uint32_t[]>> chunks_;
        std::uint32_t* next_ = nullptr;  // where the next mark goes, in the last chunk
        std::uint32_t* end_ = nullptr;
        std::size_t lastCapacity_ = 0;
    };

    Marks marks_;
    std::uint64_t attributes_ = 0;
    std::vector<ReadNote> notes_;
    // The place of an item in the order its store made it, found by its
    // address among the runs the store keeps its items in.
    template <typename T>
    class Ordinals final {
    public:
        static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
        template <typename Run>
        void Build(const std::vector<Run>& runs) {
            std::size_t before = 0;
            for (const Run& run : runs) {
                runs_.push_back({run.first, run.count, before});
                before += run.count;
            }
            std::sort(runs_.begin(), runs_.end(),
                      [](const Placed& a, const Placed& b) { return std::less<const T*>()(a.first, b.first); });
            built_ = true;
        }
        bool Built() const { return built_; }
        std::size_t Of(const T* item) const {
            auto after = std::upper_bound(runs_.begin(), runs_.end(), item, [](const T* at, const Placed& run) {
                return std::less<const T*>()(at, run.first);
            });
            if (after == runs_.begin()) return kNone;
            --after;
            if (!std::less<const T*>()(item, after->first + after->count)) return kNone;
            return after->before + static_cast<std::size_t>(item - after->first);
        }

    private:
        struct Placed {
            const T* first;
            std::size_t count;
            std::size_t before;  // items made before the run
        };
        std::vector<Placed> runs_;
        bool built_ = false;
    };

    mutable std::vector<std::uint32_t> nodeLines_;  // by node ordinal - 2, built when first asked
    mutable bool nodeLinesBuilt_ = false;
    mutable Ordinals<ComponentNode> nodeOrdinals_;
    mutable Ordinals<std::uint32_t> lineOrdinals_;
};

}  // namespace oryx::prov
