// Feeds arbitrary bytes to the rules reader: it takes them or throws a
// RulesError, never anything else; the rules it takes run over a small node,
// in one pass and with their counts asked for first, to the same findings.
#include <algorithm>
#include <cstdint>
#include <set>
#include <string>

#include "check/check_file.h"
#include "check/rule_checks.h"
#include "check/rules_file.h"
#include "fuzz_support.h"
#include "prov/component_store.h"
#include "prov/read_diagnostics.h"
#include "prov/reader.h"

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
    "add Vr/1\n"
    "set Vr/1 peer Vr/7, via Vr/1 Pp/3, home Shelf Card/0, far FrUni/41 Dlci/99 Dc\n";

bool Same(const oryx::check::Finding& a, const oryx::check::Finding& b) {
    return a.line == b.line && a.severity == b.severity && a.check == b.check && a.path == b.path &&
           a.message == b.message && a.order == b.order && a.attribute == b.attribute;
}

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
    oryx::prov::ComponentStore store;
    oryx::prov::ReadDiagnostics diagnostics;
    oryx::prov::ReadProvisioningFile(oryx::fuzz::InputFile(kNode), store, &diagnostics);
    RuleRunner runner(rules);
    const std::vector<Finding> findings = CheckStore(store, diagnostics, rules, runner);
    for (std::size_t i = 1; i < findings.size(); ++i)
        oryx::fuzz::Require(findings[i - 1].line <= findings[i].line, "findings in line order");
    (void)runner.UnmatchedRules();

    RuleRunner again(rules);
    int told = 0;
    std::size_t counted = 0;
    const auto counts = [](const Finding& f) { return f.severity != Severity::Note; };
    const std::vector<Finding> countedFirst =
        CheckStore(store, diagnostics, rules, again, {}, [&](const std::vector<Finding>& known) {
            ++told;
            counted = static_cast<std::size_t>(std::count_if(known.begin(), known.end(), counts));
        });
    oryx::fuzz::Require(told == 1, "the counts are told once");
    oryx::fuzz::Require(counted == static_cast<std::size_t>(std::count_if(findings.begin(), findings.end(), counts)),
                        "the counts told are the findings'");
    oryx::fuzz::Require(std::equal(findings.begin(), findings.end(), countedFirst.begin(), countedFirst.end(), Same),
                        "counted first, the same findings");
    return 0;
}
