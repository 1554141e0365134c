#include "refs/reference_index.h"

#include <algorithm>
#include <array>
#include <memory>
#include <stdexcept>

#include "prov/collation.h"
#include "text/hidden_name.h"

namespace oryx::refs {
namespace {

std::uint32_t Count32(std::size_t n) {
    if (n >= UINT32_MAX) throw std::length_error("too many components or references to index");
    return static_cast<std::uint32_t>(n);
}

// The last resolutions of values, by their bytes, kept beside the entry so a
// hit reads no other line: a node names the same few components over and
// over. A value that misses is resolved again, so a file that makes values
// collide costs no more than one without the cache.
class ResolutionCache final {
public:
    static constexpr std::size_t kLongest = 40;

    struct Entry {
        std::array<char, kLongest> bytes{};
        std::uint8_t size = 0;
        bool used = false;
        ReferenceKind kind = ReferenceKind::None;
        ComponentNumber number = kNoComponent;

        bool Holds(std::string_view value) const {
            return used && size == value.size() && std::equal(value.begin(), value.end(), bytes.begin());
        }
        void Keep(std::string_view value, const Resolution& r) {
            std::copy(value.begin(), value.end(), bytes.begin());
            size = static_cast<std::uint8_t>(value.size());
            used = true;
            kind = r.kind;
            number = r.number;
        }
    };

    // Null for a value too long to keep.
    Entry* Slot(std::string_view value) {
        if (value.size() > kLongest) return nullptr;
        std::uint64_t hash = 1469598103934665603ULL;
        for (const char c : value) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
        return &entries_[(hash ^ (hash >> 29)) & (kSize - 1)];
    }

private:
    static constexpr std::size_t kSize = 4096;
    std::array<Entry, kSize> entries_{};
};

}  // namespace

ReferenceIndex::ReferenceIndex(const prov::ComponentStore& store) : addNode_(store.AddNode()) {
    if (addNode_) {
        NumberComponents(store.NodeCount());
        ResolveLines(store);
    }
    GroupIncoming();
}

void ReferenceIndex::NumberComponents(std::size_t nodeCount) {
    // The shown components in tree order, without recursion: a file may
    // nest deeper than a stack allows.
    struct Frame {
        const prov::ComponentNode* node;
        std::size_t nextChild;
        ComponentNumber number;
        std::uint32_t childBlock;
    };
    components_.reserve(nodeCount);
    subtreeEnds_.reserve(nodeCount);
    numbers_.firstChild.reserve(nodeCount);
    numbers_.childNumbers.reserve(nodeCount);
    numbers_.childNumbers.assign(addNode_->ChildCount(), kNoComponent);
    std::vector<Frame> stack{{addNode_, 0, kNoComponent, 0}};
    while (!stack.empty()) {
        Frame& top = stack.back();
        const auto children = top.node->Children();
        if (top.nextChild == children.size()) {
            if (top.number != kNoComponent) subtreeEnds_[top.number] = Count32(components_.size());
            stack.pop_back();
            continue;
        }
        const std::size_t at = top.nextChild++;
        const prov::ComponentNode* child = children[at];
        if (text::IsHiddenName(child->Name())) continue;
        const ComponentNumber number = Count32(components_.size());
        numbers_.childNumbers[top.childBlock + at] = number;
        const std::uint32_t block = Count32(numbers_.childNumbers.size());
        numbers_.childNumbers.resize(block + child->ChildCount(), kNoComponent);
        components_.push_back(child);
        subtreeEnds_.push_back(0);
        // The lines that may be references, resolved once every component
        // has its number: most lines hold no "/", and no reference lacks one.
        std::uint32_t lineIndex = 0;
        for (const std::string_view line : child->Attributes().FileLines()) {
            if (line.find('/') != std::string_view::npos && !text::IsHiddenName(line))
                references_.push_back({line, number, kNoComponent, lineIndex, ReferenceKind::None});
            ++lineIndex;
        }
        numbers_.firstChild.push_back(block);
        stack.push_back({child, 0, number, block});
    }
}

void ReferenceIndex::ResolveLines(const prov::ComponentStore& store) {
    const ReferenceResolver resolver(store);
    const auto cache = std::make_unique<ResolutionCache>();
    std::size_t kept = 0;
    for (Reference& candidate : references_) {
        const std::string_view value = ReferenceValue(candidate.line);
        ResolutionCache::Entry* entry = cache->Slot(value);
        if (entry && entry->Holds(value)) {
            candidate.kind = entry->kind;
            candidate.target = entry->number;
        } else {
            const Resolution r = resolver.ResolveValue(value, &numbers_);
            if (entry) entry->Keep(value, r);
            candidate.kind = r.kind;
            candidate.target = r.number;
        }
        if (candidate.kind != ReferenceKind::None) references_[kept++] = candidate;
    }
    references_.resize(kept);
    references_.shrink_to_fit();
}

void ReferenceIndex::GroupIncoming() {
    // A counting sort by (target, kind) keeps each group in order.
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
    // Up to the add node, then down again through the children's positions.
    std::vector<const prov::ComponentNode*> chain;
    for (; node && node != addNode_; node = node->Parent()) chain.push_back(node);
    if (!node || chain.empty()) return kNoComponent;
    std::uint32_t block = 0;
    ComponentNumber number = kNoComponent;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        const prov::ComponentNode* parent = it == chain.rbegin() ? addNode_ : *(it - 1);
        const auto children = parent->Children();
        auto at = std::lower_bound(children.begin(), children.end(), *it,
                                   [](const prov::ComponentNode* child, const prov::ComponentNode* wanted) {
                                       return prov::CompareNames(child->Name(), wanted->Name()) < 0;
                                   });
        while (at != children.end() && *at != *it && prov::SameName((*at)->Name(), (*it)->Name())) ++at;
        if (at == children.end() || *at != *it) return kNoComponent;
        number = numbers_.childNumbers[block + static_cast<std::size_t>(at - children.begin())];
        if (number == kNoComponent) return kNoComponent;
        block = numbers_.firstChild[number];
    }
    return number;
}

std::span<const Reference> ReferenceIndex::Outgoing(ComponentNumber number) const {
    const auto [from, to] =
        std::equal_range(references_.begin(), references_.end(), number, [](const auto& a, const auto& b) {
            if constexpr (std::is_same_v<std::decay_t<decltype(a)>, Reference>)
                return a.source < b;
            else
                return a < b.source;
        });
    return {from, to};
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
