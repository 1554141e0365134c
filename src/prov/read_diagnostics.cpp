#include "prov/read_diagnostics.h"

#include "prov/component_store.h"

namespace oryx::prov {

namespace {

// The store root and the add node come first in the store and no line made them.
constexpr std::size_t kFixedNodes = 2;

}  // namespace

void ReadDiagnostics::Clear() {
    marks_.Clear();
    attributes_ = 0;
    notes_.clear();
    nodeLines_.clear();
    nodeLinesBuilt_ = false;
    nodeOrdinals_ = {};
    lineOrdinals_ = {};
}

std::uint32_t ReadDiagnostics::NodeLine(const ComponentStore& store, const ComponentNode& node) const {
    if (!nodeLinesBuilt_) {
        nodeLinesBuilt_ = true;
        for (std::size_t i = 0; i < marks_.Size(); ++i)
            if (marks_[i] & kNodeMark) nodeLines_.push_back(static_cast<std::uint32_t>(i + 1));
    }
    if (!nodeOrdinals_.Built()) nodeOrdinals_.Build(store.NodeRuns());
    const std::size_t ordinal = nodeOrdinals_.Of(&node);
    if (ordinal == Ordinals<ComponentNode>::kNone || ordinal < kFixedNodes ||
        ordinal - kFixedNodes >= nodeLines_.size())
        return 0;
    return nodeLines_[ordinal - kFixedNodes];
}

std::uint32_t ReadDiagnostics::AttributeLine(const ComponentStore& store, AttributeLineId line) const {
    if (!lineOrdinals_.Built()) lineOrdinals_.Build(store.AttributeLineRuns());
    const std::size_t ordinal = lineOrdinals_.Of(line.slot);
    if (ordinal == Ordinals<std::uint32_t>::kNone) return 0;
    if (ordinal >= attributes_ || ordinal > kCountMask) return 0;
    // The last line whose count of attribute lines before it is at most the
    // ordinal: the marks' counts never fall.
    std::size_t low = 0, high = marks_.Size();  // the first line with a larger count lies in [low, high]
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if ((marks_[middle] & kCountMask) <= ordinal)
            low = middle + 1;
        else
            high = middle;
    }
    return static_cast<std::uint32_t>(low);
}

}  // namespace oryx::prov
