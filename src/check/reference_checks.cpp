#include "check/reference_checks.h"

#include <string>

#include "check/path_pattern.h"
#include "prov/component_store.h"
#include "prov/read_diagnostics.h"
#include "refs/reference_rule.h"
#include "text/message_value.h"

namespace oryx::check {

void AddReferenceFindings(const prov::ComponentStore& store, const prov::ReadDiagnostics& diagnostics,
                          const BuiltinSeverities& severities, std::vector<Finding>& out) {
    if (!severities.Of(BuiltinCheck::DanglingReference) && !severities.Of(BuiltinCheck::PartialReference)) return;
    const refs::ReferenceResolver resolver(store);
    const PathPattern every("**");
    const PathPattern* const patterns[] = {&every};
    WalkMatches(store, patterns, [&](const prov::ComponentNode& node, const std::vector<char>&) {
        const prov::FileLineRange lines = node.FileLines();
        for (auto line = lines.begin(); line != lines.end(); ++line) {
            const refs::Resolution resolution = resolver.ResolveLine(*line);
            const bool dangling = resolution.kind == refs::ReferenceKind::Dangling;
            if (!dangling && resolution.kind != refs::ReferenceKind::Partial) continue;
            std::string message =
                text::MessageValue(prov::LineName(*line)) + " refers to " + Quoted(refs::ReferenceValue(*line));
            if (dangling)
                message += ", which is not in this file";
            else
                message += "; only " + Quoted(prov::ComponentPath(*resolution.target)) + " is in this file";
            AddBuiltinFinding(dangling ? BuiltinCheck::DanglingReference : BuiltinCheck::PartialReference, severities,
                              diagnostics.AttributeLine(store, &*line), prov::ComponentPath(node), std::move(message),
                              out);
        }
    });
}

}  // namespace oryx::check
