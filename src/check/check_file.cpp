#include "check/check_file.h"

#include <functional>
#include <future>
#include <iterator>
#include <system_error>

#include "check/builtin_checks.h"
#include "check/path_pattern.h"
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

namespace {

// From this many components a store's reference check runs beside its rules:
// it reads every line, the rules mostly names, so the two take about as long.
constexpr std::size_t kSideBySide = 20000;

// The reference check of every shown component, into its own findings.
void CheckReferences(const prov::ComponentStore& store, ReferenceCheck& references, std::stop_token stop) {
    const PathPattern every("**");
    const PathPattern* const patterns[] = {&every};
    WalkMatches(store, patterns, [&](const prov::ComponentNode& node, const std::vector<char>&) {
        if (stop.stop_requested()) throw CheckStopped{};
        references.Visit(node);
    });
}

}  // namespace

std::vector<Finding> CheckStore(const prov::ComponentStore& store, const prov::ReadDiagnostics& diagnostics,
                                const RuleSet& rules, RuleRunner& runner, std::stop_token stop) {
    std::vector<Finding> findings;
    findings.reserve(diagnostics.Notes().size());
    AddReadFindings(diagnostics, rules.builtins, findings);
    std::vector<Finding> referenceFindings;
    ReferenceCheck references(store, diagnostics, rules.builtins, referenceFindings);
    std::future<void> beside;
    if (references.On() && store.NodeCount() >= kSideBySide) {
        // Both threads look line numbers up.
        diagnostics.PrepareLookups(store);
        try {
            beside = std::async(std::launch::async, CheckReferences, std::cref(store), std::ref(references), stop);
        } catch (const std::system_error&) {
            // No thread to be had: the references ride the rules' walk.
        }
    }
    const bool referencesInWalk = references.On() && !beside.valid();
    RuleRunner::ComponentVisit everyComponent;
    if (referencesInWalk || stop.stop_possible())
        everyComponent = [&references, &stop, referencesInWalk](const prov::ComponentNode& node) {
            if (stop.stop_requested()) throw CheckStopped{};
            if (referencesInWalk) references.Visit(node);
        };
    // A rule walk that throws waits for the references' walk (the future's
    // end), which a stop ends soon too.
    runner.Check(store, diagnostics, findings, everyComponent);
    if (beside.valid()) beside.get();
    // Each check's findings stay in their order, and sorting puts them in
    // order by line and check: the two lists may be joined in any order.
    findings.reserve(findings.size() + referenceFindings.size());
    std::move(referenceFindings.begin(), referenceFindings.end(), std::back_inserter(findings));
    SortFindings(findings);
    return findings;
}

}  // namespace oryx::check
