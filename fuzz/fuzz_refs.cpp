// Builds the reference index of the node read from arbitrary bytes and checks
// it against the rule: every exact reference is what the search's exact path
// finds, every group of incoming references is in order and points where it
// says, and the outgoing references of the components make up the whole;
// the resolver that looks for dangling references only finds the same ones.
#include <algorithm>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "prov/component_store.h"
#include "prov/reader.h"
#include "refs/reference_index.h"
#include "refs/reference_rule.h"
#include "search/component_path.h"

namespace {

using oryx::fuzz::Require;
using namespace oryx;

void CheckGroup(const refs::ReferenceIndex& index, std::span<const std::uint32_t> group, refs::ComponentNumber target,
                refs::ReferenceKind kind) {
    Require(std::is_sorted(group.begin(), group.end()), "incoming references in order");
    for (const std::uint32_t i : group) {
        Require(i < index.All().size(), "incoming references are references");
        Require(index.All()[i].target == target && index.All()[i].kind == kind, "incoming references point here");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = fuzz::InputFile(fuzz::Bytes(data, size));
    prov::ComponentStore store;
    prov::ReadProvisioningFile(path, store);
    const refs::ReferenceIndex index(store);

    const refs::ReferenceResolver resolver(store);
    std::size_t outgoing = 0, incoming = 0;
    for (refs::ComponentNumber n = 0; n < index.ComponentCount(); ++n) {
        const prov::ComponentNode& node = index.Component(n);
        for (const std::string_view line : node.Attributes().FileLines()) {
            const refs::Resolution full = resolver.ResolveLine(line), dangling = resolver.ResolveLineIfDangling(line);
            const bool isDangling = dangling.kind == refs::ReferenceKind::Dangling;
            Require(isDangling == (full.kind == refs::ReferenceKind::Dangling) &&
                        (isDangling || dangling.kind == refs::ReferenceKind::None) &&
                        (!isDangling || full.missing == dangling.missing),
                    "the dangling references are the same looked for alone");
        }
        Require(index.Number(&node) == n, "a component's number finds it");
        Require(index.SubtreeEnd(n) > n && index.SubtreeEnd(n) <= index.ComponentCount(), "subtrees nest");
        for (const refs::Reference& r : index.Outgoing(n)) {
            Require(r.source == n, "outgoing references leave their component");
            Require(node.Attributes().FileLines()[r.lineIndex] == r.line, "a reference names its line");
            const std::string_view value = refs::ReferenceValue(r.line);
            const prov::ComponentNode* exact = search::FindComponentAtPath(store, value, search::QueryText::Bytes);
            if (r.kind == refs::ReferenceKind::Exact)
                Require(exact && index.Number(exact) == r.target, "an exact reference is the exact path");
            else
                Require(!exact || value.find('/') == std::string_view::npos, "an exact path is an exact reference");
            if (r.kind == refs::ReferenceKind::Dangling)
                Require(r.target == refs::kNoComponent, "dangling goes nowhere");
        }
        outgoing += index.Outgoing(n).size();
        CheckGroup(index, index.ExactTo(n), n, refs::ReferenceKind::Exact);
        CheckGroup(index, index.PartialTo(n), n, refs::ReferenceKind::Partial);
        incoming += index.ExactTo(n).size() + index.PartialTo(n).size();
    }
    Require(outgoing == index.All().size(), "every reference leaves one component");
    const auto dangling = std::count_if(index.All().begin(), index.All().end(), [](const refs::Reference& r) {
        return r.kind == refs::ReferenceKind::Dangling;
    });
    Require(incoming + static_cast<std::size_t>(dangling) == outgoing, "every reference that arrives arrives once");
    if (index.ComponentCount() > 0) {
        const std::vector<std::uint32_t> all = index.ToSubtree(0);
        Require(std::is_sorted(all.begin(), all.end()), "references below in order");
    }
    return 0;
}
