#include "check/check_file.h"

#include <functional>
#include <future>
#include <iterator>
#include <optional>
#include <system_error>

#include "check/builtin_checks.h"
#include "check/reference_checks.h"
#include "check/shared_check.h"
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

// From this many components a store is checked by two threads.
constexpr std::size_t kSideBySide = 20000;

// One walk of the store for the reader's notes, the rules of `runner` and
// the references, each as `builtins` turns it on; the findings unsorted.
std::vector<Finding> CheckPass(const prov::ComponentStore& store, const prov::ReadDiagnostics& diagnostics,
                               const BuiltinSeverities& builtins, RuleRunner& runner, const std::stop_token& stop) {
    std::vector<Finding> findings;
    findings.reserve(diagnostics.Notes().size());
    AddReadFindings(diagnostics, builtins, findings);
    if (store.NodeCount() >= kSideBySide) {
        // Both threads look line numbers up.
        diagnostics.PrepareLookups(store);
        SharedStoreCheck shared(store, diagnostics, builtins, runner);
        std::future<void> beside;  // after `shared`: a throw below waits for it, which a stop ends soon
        try {
            beside = std::async(std::launch::async, &SharedStoreCheck::Work, &shared, stop);
        } catch (const std::system_error&) {
            // No thread to be had: this one does it all.
        }
        shared.Work(stop);
        if (beside.valid()) beside.get();
        shared.MoveFindings(findings);
        return findings;
    }
    // A small store's references ride the rules' walk. Each check's findings
    // stay in their order, and sorting puts them in order by line and check.
    ReferenceCheck references(store, diagnostics, builtins, findings);
    runner.Check(store, diagnostics, findings, EveryComponent(references, stop));
    return findings;
}

}  // namespace

std::vector<Finding> CheckStore(const prov::ComponentStore& store, const prov::ReadDiagnostics& diagnostics,
                                const RuleSet& rules, RuleRunner& runner, std::stop_token stop,
                                const FindingsCounted& counted) {
    const std::optional<Severity> partial = rules.builtins.Of(BuiltinCheck::PartialReference);
    if (!counted || !partial || *partial != Severity::Note) {
        std::vector<Finding> findings = CheckPass(store, diagnostics, rules.builtins, runner, stop);
        SortFindings(findings);
        if (counted) counted(findings);
        return findings;
    }
    // The partial references, mere notes here, are looked for last: they
    // take the longest, as each walks down the tree, and the counts need
    // them not. Without them, a value whose first piece names a component
    // is done with at once.
    BuiltinSeverities first = rules.builtins;
    first.Set(BuiltinCheck::PartialReference, std::nullopt);
    std::vector<Finding> findings = CheckPass(store, diagnostics, first, runner, stop);
    counted(findings);
    BuiltinSeverities last;
    for (std::size_t i = 0; i < kBuiltinCheckCount; ++i) last.Set(static_cast<BuiltinCheck>(i), std::nullopt);
    last.Set(BuiltinCheck::PartialReference, partial);
    const RuleSet noRules;
    RuleRunner noRuleRunner(noRules);
    std::vector<Finding> partials = CheckPass(store, diagnostics, last, noRuleRunner, stop);
    findings.reserve(findings.size() + partials.size());
    std::move(partials.begin(), partials.end(), std::back_inserter(findings));
    SortFindings(findings);
    return findings;
}

}  // namespace oryx::check
