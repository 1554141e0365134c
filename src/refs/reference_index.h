#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "prov/component_store.h"
#include "refs/reference_rule.h"

namespace oryx::refs {

// One attribute line that is a reference.
struct Reference {
    std::string_view line;        // as stored, name=value
    ComponentNumber source = 0;   // the component whose line it is
    ComponentNumber target = 0;   // Exact: the component; Partial: the deepest named; Dangling: none
    std::uint32_t lineIndex = 0;  // among the source's file lines (AttributeList::FileLines)
    ReferenceKind kind = ReferenceKind::None;
};

// The references of one store, both ways: the outgoing ones of every line of
// every shown component below the add node (the add node's own lines are
// never sources), and the incoming ones of every component, exact and partial
// (by their deepest component). Built in one walk, in time and memory linear
// in the file; the store must outlive it and stay unchanged.
class ReferenceIndex final {
public:
    explicit ReferenceIndex(const prov::ComponentStore& store);
    ReferenceIndex(const ReferenceIndex&) = delete;
    ReferenceIndex& operator=(const ReferenceIndex&) = delete;

    // The shown components below the add node, in tree order.
    std::size_t ComponentCount() const { return components_.size(); }
    const prov::ComponentNode& Component(ComponentNumber number) const { return *components_[number]; }
    // kNoComponent for the add node, a hidden component or one of another store.
    ComponentNumber Number(const prov::ComponentNode* node) const;
    // One past the last component of the subtree at `number`.
    ComponentNumber SubtreeEnd(ComponentNumber number) const { return subtreeEnds_[number]; }

    // Every reference: sources in tree order, each source's lines in file order.
    std::span<const Reference> All() const { return references_; }
    // The references a component's own lines make, in file order.
    std::span<const Reference> Outgoing(ComponentNumber number) const;
    // Positions in All() of the exact references to the component, in order.
    std::span<const std::uint32_t> ExactTo(ComponentNumber number) const;
    // Positions in All() of the partial references whose deepest component it is.
    std::span<const std::uint32_t> PartialTo(ComponentNumber number) const;
    // Positions in All(), in order, of the exact references to the component
    // or any beneath it and the partial ones whose deepest component is it or
    // one beneath it.
    std::vector<std::uint32_t> ToSubtree(ComponentNumber number) const;

private:
    void NumberComponents(std::size_t nodeCount);
    void ResolveLines(const prov::ComponentStore& store);
    void GroupIncoming();
    std::span<const std::uint32_t> Incoming(std::size_t slot) const;

    const prov::ComponentNode* addNode_ = nullptr;
    std::vector<const prov::ComponentNode*> components_;
    std::vector<ComponentNumber> subtreeEnds_;
    TreeNumbers numbers_;
    std::vector<Reference> references_;
    // Positions in references_, grouped by (target, kind): slot 2n holds the
    // exact references to component n, slot 2n + 1 the partial ones; each
    // group in order. incomingStarts_ has one more entry at the end.
    std::vector<std::uint32_t> incoming_;
    std::vector<std::uint32_t> incomingStarts_;
};

}  // namespace oryx::refs
