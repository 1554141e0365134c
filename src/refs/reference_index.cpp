#include "refs/reference_index.h"

#include <algorithm>
#include <functional>
#include <stdexcept>

#include "text/hidden_name.h"

namespace oryx::refs {
namespace {

std::uint32_t Count32(std::size_t n) {
    if (n >= UINT32_MAX) throw std::length_error("too many components or references to index");
    return static_cast<std::uint32_t>(n);
}

}  // namespace

ReferenceIndex::ReferenceIndex(const prov::ComponentStore& store) {
    const prov::ComponentNode* add = store.AddNode();
    if (!add) {
        outgoingStarts_.push_back(0);
        incomingStarts_.push_back(0);
        return;
    }
    // The shown components in tree order, without recursion: a file may
    // nest deeper than a stack allows.
    struct Frame {
        const prov::ComponentNode* node;
        std::size_t nextChild;
        ComponentNumber number;
    };
    std::vector<Frame> stack{{add, 0, kNoComponent}};
    while (!stack.empty()) {
        Frame& top = stack.back();
        const auto children = top.node->Children();
        if (top.nextChild == children.size()) {
            if (top.number != kNoComponent) subtreeEnds_[top.number] = Count32(components_.size());
            stack.pop_back();
            continue;
        }
        const prov::ComponentNode* child = children[top.nextChild++];
        if (text::IsHiddenName(child->Name())) continue;
        const ComponentNumber number = Count32(components_.size());
        components_.push_back(child);
        subtreeEnds_.push_back(0);
        stack.push_back({child, 0, number});
    }

    byAddress_.resize(components_.size());
    for (ComponentNumber n = 0; n < byAddress_.size(); ++n) byAddress_[n] = n;
    std::sort(byAddress_.begin(), byAddress_.end(),
              [this](ComponentNumber a, ComponentNumber b) { return std::less<>{}(components_[a], components_[b]); });

    // Outgoing: every line of every component, once.
    const ReferenceResolver resolver(store);
    outgoingStarts_.reserve(components_.size() + 1);
    for (ComponentNumber n = 0; n < components_.size(); ++n) {
        outgoingStarts_.push_back(Count32(references_.size()));
        std::uint32_t lineIndex = 0;
        for (const std::string_view line : components_[n]->Attributes().FileLines()) {
            const Resolution r = resolver.ResolveLine(line);
            if (r.kind != ReferenceKind::None) {
                const ComponentNumber target = r.target ? Number(r.target) : kNoComponent;
                references_.push_back({line, n, target, lineIndex, r.kind});
            }
            ++lineIndex;
        }
    }
    outgoingStarts_.push_back(Count32(references_.size()));

    // Incoming: a counting sort by (target, kind) keeps each group in order.
    incomingStarts_.assign(2 * components_.size() + 1, 0);
    const auto slotOf = [](const Reference& r) {
        return 2 * static_cast<std::size_t>(r.target) + (r.kind == ReferenceKind::Partial ? 1 : 0);
    };
    for (const Reference& r : references_)
        if (r.kind != ReferenceKind::Dangling) ++incomingStarts_[slotOf(r) + 1];
    for (std::size_t s = 1; s < incomingStarts_.size(); ++s) incomingStarts_[s] += incomingStarts_[s - 1];
    incoming_.resize(incomingStarts_.back());
    std::vector<std::uint32_t> next(incomingStarts_.begin(), incomingStarts_.end() - 1);
    for (std::uint32_t i = 0; i < references_.size(); ++i)
        if (references_[i].kind != ReferenceKind::Dangling) incoming_[next[slotOf(references_[i])]++] = i;
}

ComponentNumber ReferenceIndex::Number(const prov::ComponentNode* node) const {
    const auto it = std::lower_bound(byAddress_.begin(), byAddress_.end(), node,
                                     [this](ComponentNumber n, auto* p) { return std::less<>{}(components_[n], p); });
    return it != byAddress_.end() && components_[*it] == node ? *it : kNoComponent;
}

std::span<const Reference> ReferenceIndex::Outgoing(ComponentNumber number) const {
    return std::span<const Reference>(references_)
        .subspan(outgoingStarts_[number], outgoingStarts_[number + 1] - outgoingStarts_[number]);
}

std::span<const std::uint32_t> ReferenceIndex::Incoming(std::size_t slot) const {
    return std::span<const std::uint32_t>(incoming_).subspan(incomingStarts_[slot],
                                                             incomingStarts_[slot + 1] - incomingStarts_[slot]);
}

std::span<const std::uint32_t> ReferenceIndex::ExactTo(ComponentNumber number) const {
    return Incoming(2 * static_cast<std::size_t>(number));
}

std::span<const std::uint32_t> ReferenceIndex::PartialTo(ComponentNumber number) const {
    return Incoming(2 * static_cast<std::size_t>(number) + 1);
}

std::vector<std::uint32_t> ReferenceIndex::ToSubtree(ComponentNumber number) const {
    // The subtree's components are numbered number..SubtreeEnd-1, so their
    // slots are one run of incoming_.
    const std::size_t from = incomingStarts_[2 * static_cast<std::size_t>(number)];
    const std::size_t to = incomingStarts_[2 * static_cast<std::size_t>(SubtreeEnd(number))];
    std::vector<std::uint32_t> found(incoming_.begin() + static_cast<std::ptrdiff_t>(from),
                                     incoming_.begin() + static_cast<std::ptrdiff_t>(to));
    std::sort(found.begin(), found.end());
    return found;
}

}  // namespace oryx::refs
