#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <span>
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

    // The same, shared by threads that take the store's top-level components
    // in turn: each thread makes a Walk and walks its components with it;
    // once all are done, Finish adds what the rules say of the store as a
    // whole (a component that exists nowhere).
    class Walk final {
    public:
        Walk(RuleRunner& runner, const prov::ComponentStore& store, const prov::ReadDiagnostics& diagnostics,
             std::vector<Finding>& out);
        ~Walk();
        Walk(const Walk&) = delete;
        Walk& operator=(const Walk&) = delete;
        // Adds the findings of the shown components `tops` and those below them.
        void Below(std::span<const prov::ComponentNode* const> tops, const ComponentVisit& everyComponent = {});

    private:
        friend class RuleRunner;
        struct Checks;
        std::unique_ptr<Checks> checks_;
    };
    void Finish(std::span<Walk* const> walks, std::vector<Finding>& out);

    // The rules with a path that matched no component in any file checked.
    std::vector<const Rule*> UnmatchedRules() const;

private:
    const RuleSet& rules_;
    std::unique_ptr<std::atomic<bool>[]> matched_;
};

// The rule-unmatched finding of a rule, placed at the rule in its rules file.
Finding UnmatchedRuleFinding(const Rule& rule, Severity severity);

}  // namespace oryx::check
