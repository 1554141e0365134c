#include "check/check_file.h"

#include "check/builtin_checks.h"
#include "check/reference_checks.h"
#include "prov/component_store.h"
#include "prov/read_diagnostics.h"
#include "prov/reader.h"

namespace oryx::check {

std::vector<Finding> CheckFile(const std::string& file, const RuleSet& rules, RuleRunner& runner) {
    prov::ComponentStore store;
    prov::ReadDiagnostics diagnostics;
    prov::ReadProvisioningFile(file, store, &diagnostics);
    return CheckStore(store, diagnostics, rules, runner);
}

std::vector<Finding> CheckStore(const prov::ComponentStore& store, const prov::ReadDiagnostics& diagnostics,
                                const RuleSet& rules, RuleRunner& runner, std::stop_token stop) {
    std::vector<Finding> findings;
    findings.reserve(diagnostics.Notes().size());
    AddReadFindings(diagnostics, rules.builtins, findings);
    ReferenceCheck references(store, diagnostics, rules.builtins, findings);
    RuleRunner::ComponentVisit everyComponent;
    if (stop.stop_possible())
        everyComponent = [&references, &stop](const prov::ComponentNode& node) {
            if (stop.stop_requested()) throw CheckStopped{};
            if (references.On()) references.Visit(node);
        };
    else if (references.On())
        everyComponent = [&references](const prov::ComponentNode& node) { references.Visit(node); };
    runner.Check(store, diagnostics, findings, everyComponent);
    SortFindings(findings);
    return findings;
}

}  // namespace oryx::check
