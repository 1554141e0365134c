#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace oryx::prov {

class ComponentNode;
class ComponentStore;

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
    // lines on the first call.
    std::uint32_t NodeLine(const ComponentStore& store, const ComponentNode& node) const;
    // The line of an attribute line, given as the store holds it (an element
    // of a node's FileLines()); 0 when it is not the store's.
    std::uint32_t AttributeLine(const ComponentStore& store, const std::string_view* line) const;

    // The memory the line numbers hold.
    std::size_t LineNumberBytes() const { return marks_.capacity() * sizeof(std::uint32_t); }

    // ---- recording, by the reader ----
    void Clear();
    // The file is read: the line numbers keep no room to grow.
    void Finish() { marks_.shrink_to_fit(); }
    // A line of the file begins; lines are counted from 1.
    void BeginLine() { marks_.push_back(attributes_ & kCountMask); }
    std::uint32_t Line() const { return static_cast<std::uint32_t>(marks_.size()); }
    void NodeCreated() { marks_.back() |= kNodeMark; }
    void AttributeAppended() { ++attributes_; }
    void Note(ReadNoteKind kind, const ComponentNode* node = nullptr, std::string named = {}, std::string rest = {}) {
        notes_.push_back({kind, Line(), node, std::move(named), std::move(rest)});
    }

private:
    // Each line's mark: the attribute lines made before it, and whether the
    // line made a component (every line makes at most one).
    static constexpr std::uint32_t kNodeMark = 0x80000000u;
    static constexpr std::uint32_t kCountMask = 0x7fffffffu;

    std::vector<std::uint32_t> marks_;
    std::uint64_t attributes_ = 0;
    std::vector<ReadNote> notes_;
    mutable std::vector<std::uint32_t> nodeLines_;  // by node ordinal - 2, built when first asked
    mutable bool nodeLinesBuilt_ = false;
};

}  // namespace oryx::prov
