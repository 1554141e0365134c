// Feeds arbitrary bytes to the rules reader: it takes them or throws a
// RulesError, never anything else; the rules it takes run over a small node.
#include <cstdint>
#include <set>
#include <string>

#include "check/check_file.h"
#include "check/rule_checks.h"
#include "check/rules_file.h"
#include "fuzz_support.h"

namespace {

constexpr std::string_view kNode =
    "start prov\n"
    "add Shelf\n"
    "add Shelf Card/0\n"
    "set Shelf Card/0 administrativeState locked, cardType CP3\n"
    "add FrUni/41 Dlci/16\n"
    "add FrUni/41\n"
    "add FrUni/41 Dlci/16\n"
    "set FrUni/41 Dlci/16 committedInformationRate 64000, =x\n"
    "add Vr/1\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace oryx::check;
    RuleSet rules;
    try {
        ParseRules(oryx::fuzz::Bytes(data, size), "rules.yaml", rules);
    } catch (const RulesError& e) {
        oryx::fuzz::Require(std::string(e.what()).starts_with("rules.yaml:"), "an error names the rules file");
        return 0;
    }
    std::set<std::string> ids;
    for (const auto& rule : rules.rules) {
        oryx::fuzz::Require(!rule->id.empty() && ids.insert(rule->id).second, "ids are there and unique");
        const bool byTarget = rule->kind == RuleKind::Exists || rule->kind == RuleKind::Absent;
        oryx::fuzz::Require(byTarget ? rule->target.has_value() : rule->path.has_value(), "a rule has its pattern");
    }
    RuleRunner runner(rules);
    const std::vector<Finding> findings = CheckFile(oryx::fuzz::InputFile(kNode), rules, runner);
    for (std::size_t i = 1; i < findings.size(); ++i)
        oryx::fuzz::Require(findings[i - 1].line <= findings[i].line, "findings in line order");
    (void)runner.UnmatchedRules();
    return 0;
}
