#include "check/file_problems.h"

#include <exception>
#include <iterator>

#include "check/builtin_checks.h"
#include "check/check_file.h"
#include "check/rule_checks.h"
#include "check/rules_file.h"
#include "prov/component_store.h"
#include "prov/read_diagnostics.h"
#include "text/ascii_case.h"

namespace oryx::check {
namespace {

Finding ErrorFinding(std::string check, std::string message) {
    Finding finding;
    finding.severity = Severity::Error;
    finding.check = std::move(check);
    finding.message = std::move(message);
    return finding;
}

long AttributeIndex(const prov::ComponentStore& store, const prov::ReadDiagnostics& diagnostics,
                    const Finding& finding) {
    if (finding.line == 0 || finding.path.empty() || !store.AddNode()) return -1;
    const prov::ComponentNode* node = prov::FindComponent(store.AddNode(), finding.path);
    if (!node || prov::ComponentPath(*node) != finding.path) return -1;
    long index = 0;
    const prov::FileLineRange lines = node->Attributes().FileLines();
    for (auto it = lines.begin(); it != lines.end(); ++it) {
        const std::string_view line = *it;
        const std::uint32_t at = diagnostics.AttributeLine(store, it.Id());
        if (at == finding.line &&
            (finding.attribute.empty() || text::EqualIgnoringAsciiCase(prov::LineName(line), finding.attribute)))
            return index;
        if (at > finding.line) break;
        ++index;
    }
    return -1;
}

// The rule-unmatched findings of the rules that matched nothing.
void AddUnmatchedRuleFindings(const RuleSet& rules, const RuleRunner& runner, std::vector<Finding>& out) {
    if (const std::optional<Severity> severity = rules.builtins.Of(BuiltinCheck::RuleUnmatched))
        for (const Rule* rule : runner.UnmatchedRules()) out.push_back(UnmatchedRuleFinding(*rule, *severity));
}

}  // namespace

ProblemCounts CountProblems(std::span<const Finding> findings) {
    ProblemCounts counts;
    for (const Finding& finding : findings) {
        if (finding.severity == Severity::Error) ++counts.errors;
        if (finding.severity == Severity::Warning) ++counts.warnings;
    }
    return counts;
}

std::optional<FileProblems> CheckStoreProblems(const prov::ComponentStore& store,
                                               const prov::ReadDiagnostics& diagnostics, const std::string& rulesFile,
                                               std::stop_token stop,
                                               const std::function<void(ProblemCounts)>& counted) {
    FileProblems problems;
    RuleSet rules;
    if (!rulesFile.empty()) {
        try {
            ReadRulesFile(rulesFile, rules);
        } catch (const std::bad_alloc&) {
            throw;
        } catch (const std::exception& e) {
            // The built-in checks run at their own severities, without the rules.
            rules = RuleSet{};
            problems.findings.push_back(ErrorFinding("rules-file", e.what()));
        }
    }
    RuleRunner runner(rules);
    std::vector<Finding> found;
    try {
        FindingsCounted countedFromFile;
        if (counted)
            countedFromFile = [&](const std::vector<Finding>& fromFile) {
                // The rules file's findings too: its error, and the rules
                // that matched nothing, known once the rules have run.
                std::vector<Finding> unmatched;
                AddUnmatchedRuleFindings(rules, runner, unmatched);
                counted(CountProblems(problems.findings) + CountProblems(fromFile) + CountProblems(unmatched));
            };
        found = CheckStore(store, diagnostics, rules, runner, stop, countedFromFile);
    } catch (const CheckStopped&) {
        return std::nullopt;
    }
    problems.fromFile = problems.findings.size();
    if (problems.findings.empty()) {
        problems.findings = std::move(found);
    } else {
        problems.findings.reserve(problems.findings.size() + found.size());
        std::move(found.begin(), found.end(), std::back_inserter(problems.findings));
    }
    problems.fromFileEnd = problems.findings.size();
    AddUnmatchedRuleFindings(rules, runner, problems.findings);
    return problems;
}

long FindingAttributeIndex(const FileProblems& problems, std::size_t index, const prov::ComponentStore& store,
                           const prov::ReadDiagnostics& diagnostics) {
    if (index < problems.fromFile || index >= problems.fromFileEnd) return -1;
    return AttributeIndex(store, diagnostics, problems.findings[index]);
}

}  // namespace oryx::check
