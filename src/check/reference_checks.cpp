#include "check/reference_checks.h"

#include <string>

#include "prov/component_store.h"
#include "prov/read_diagnostics.h"
#include "refs/reference_rule.h"
#include "text/message_value.h"

namespace oryx::check {

ReferenceCheck::ReferenceCheck(const prov::ComponentStore& store, const prov::ReadDiagnostics& diagnostics,
                               const BuiltinSeverities& severities, std::vector<Finding>& out)
    : store_(store), diagnostics_(diagnostics), severities_(severities), out_(out) {
    if (severities.Of(BuiltinCheck::DanglingReference) || severities.Of(BuiltinCheck::PartialReference))
        resolver_ = std::make_unique<const refs::ReferenceResolver>(store);
}

ReferenceCheck::~ReferenceCheck() = default;

void ReferenceCheck::Visit(const prov::ComponentNode& node) {
    const prov::FileLineRange lines = node.FileLines();
    std::string nodePath;  // made at the node's first finding
    for (auto line = lines.begin(); line != lines.end(); ++line) {
        // Without the partial references, only a dangling one is looked for.
        const refs::Resolution resolution = severities_.Of(BuiltinCheck::PartialReference)
                                                ? resolver_->ResolveLine(*line)
                                                : resolver_->ResolveLineIfDangling(*line);
        const bool dangling = resolution.kind == refs::ReferenceKind::Dangling;
        if (!dangling && resolution.kind != refs::ReferenceKind::Partial) continue;
        std::string message =
            text::MessageValue(prov::LineName(*line)) + " refers to " + Quoted(refs::ReferenceValue(*line));
        if (dangling) {
            message += ", which is not in this file";
        } else {
            // Partial references of a node lead to a few components over and
            // over: their quoted paths are made once each.
            if (resolution.target != lastTarget_) {
                lastTarget_ = resolution.target;
                lastTargetQuoted_ = Quoted(prov::ComponentPath(*resolution.target));
            }
            message += "; only " + lastTargetQuoted_ + " is in this file";
        }
        if (nodePath.empty()) nodePath = prov::ComponentPath(node);
        AddBuiltinFinding(dangling ? BuiltinCheck::DanglingReference : BuiltinCheck::PartialReference, severities_,
                          diagnostics_.AttributeLine(store_, line.Id()), nodePath, std::move(message), out_);
    }
}

}  // namespace oryx::check
