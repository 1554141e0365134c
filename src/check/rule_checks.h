#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "check/finding.h"
#include "check/rules_file.h"

namespace oryx::prov {
class ComponentNode;
class ComponentStore;
class ReadDiagnostics;
}  // namespace oryx::prov

namespace oryx::check {

// Runs the rules of a run over each of its files, and remembers which path
// rules matched a component in any of them. Check may be called from several
// threads at once.
class RuleRunner final {
public:
    explicit RuleRunner(const RuleSet& rules);

    // Adds the findings of every rule on one file's store; `diagnostics`
    // holds its lines. The same walk over the components calls
    // `everyComponent`, when given, for every component the tree shows.
    using ComponentVisit = std::function<void(const prov::ComponentNode& node)>;
    void Check(const prov::ComponentStore& store, const prov::ReadDiagnostics& diagnostics, std::vector<Finding>& out,
               const ComponentVisit& everyComponent = {});

    // The rules with a path that matched no component in any file checked.
    std::vector<const Rule*> UnmatchedRules() const;

private:
    const RuleSet& rules_;
    std::unique_ptr<std::atomic<bool>[]> matched_;
};

// The rule-unmatched finding of a rule, placed at the rule in its rules file.
Finding UnmatchedRuleFinding(const Rule& rule, Severity severity);

}  // namespace oryx::check
