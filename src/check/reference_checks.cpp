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
    for (auto line = lines.begin(); line != lines.end(); ++line) {
        const refs::Resolution resolution = resolver_->ResolveLine(*line);
        const bool dangling = resolution.kind == refs::ReferenceKind::Dangling;
        if (!dangling && resolution.kind != refs::ReferenceKind::Partial) continue;
        std::string message =
            text::MessageValue(prov::LineName(*line)) + " refers to " + Quoted(refs::ReferenceValue(*line));
        if (dangling)
            message += ", which is not in this file";
        else
            message += "; only " + Quoted(prov::ComponentPath(*resolution.target)) + " is in this file";
        AddBuiltinFinding(dangling ? BuiltinCheck::DanglingReference : BuiltinCheck::PartialReference, severities_,
                          diagnostics_.AttributeLine(store_, &*line), prov::ComponentPath(node), std::move(message),
                          out_);
    }
}

}  // namespace oryx::check
