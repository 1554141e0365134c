#include "check/check_file.h"

#include <functional>
#include <future>
#include <iterator>
#include <optional>
#include <system_error>

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

namespace {

// From this many components a store's reference check is shared with a
// second thread: that thread starts on it at once, and the calling thread
// joins in after the rules' walk.
constexpr std::size_t kSideBySide = 20000;

}  // namespace

std::vector<Finding> CheckStore(const prov::ComponentStore& store, const prov::ReadDiagnostics& diagnostics,
                                const RuleSet& rules, RuleRunner& runner, std::stop_token stop) {
    std::vector<Finding> findings;
    findings.reserve(diagnostics.Notes().size());
    AddReadFindings(diagnostics, rules.builtins, findings);
    std::vector<Finding> referenceFindings;
    ReferenceCheck references(store, diagnostics, rules.builtins, referenceFindings);
    std::optional<SharedReferenceCheck> shared;
    std::future<void> beside;
    if (references.On() && store.NodeCount() >= kSideBySide) {
        // Both threads look line numbers up.
        diagnostics.PrepareLookups(store);
        shared.emplace(store, diagnostics, rules.builtins);
        try {
            beside = std::async(std::launch::async, &SharedReferenceCheck::Work, &*shared, stop);
        } catch (const std::system_error&) {
            // No thread to be had: the references ride the rules' walk.
            shared.reset();
        }
    }
    const bool referencesInWalk = references.On() && !shared;
    RuleRunner::ComponentVisit everyComponent;
    if (referencesInWalk || stop.stop_possible())
        everyComponent = [&references, &stop, referencesInWalk](const prov::ComponentNode& node) {
            if (stop.stop_requested()) throw CheckStopped{};
            if (referencesInWalk) references.Visit(node);
        };
    // A walk that throws waits for the other thread's (the future's end),
    // which a stop ends soon too.
    runner.Check(store, diagnostics, findings, everyComponent);
    if (shared) {
        shared->Work(stop);
        beside.get();
        shared->MoveFindings(referenceFindings);
    }
    // Each check's findings stay in their order, and sorting puts them in
    // order by line and check: the two lists may be joined in any order.
    findings.reserve(findings.size() + referenceFindings.size());
    std::move(referenceFindings.begin(), referenceFindings.end(), std::back_inserter(findings));
    SortFindings(findings);
    return findings;
}

}  // namespace oryx::check
