#pragma once

#include <functional>
#include <stop_token>
#include <string>
#include <vector>

#include "check/finding.h"
#include "check/rule_checks.h"
#include "check/rules_file.h"

namespace oryx::prov {
class ComponentStore;
class ReadDiagnostics;
}  // namespace oryx::prov

namespace oryx::check {

// Reads one provisioning file and returns its findings in order: what the
// reader passed over, then each rule. Throws prov::FileError when the file
// cannot be read.
std::vector<Finding> CheckFile(const std::string& file, const RuleSet& rules, RuleRunner& runner);
// Called once in a check, as soon as every finding that is an error or a
// warning is known, with the findings known then (in no order).
using FindingsCounted = std::function<void(const std::vector<Finding>& findings)>;

// The same for a file already read with `diagnostics`. Throws CheckStopped
// soon after `stop` is requested. With `counted`, notes that take long to
// find are looked for after it is called.
std::vector<Finding> CheckStore(const prov::ComponentStore& store, const prov::ReadDiagnostics& diagnostics,
                                const RuleSet& rules, RuleRunner& runner, std::stop_token stop = {},
                                const FindingsCounted& counted = {});

// A check given up on request: its findings are not wanted any more.
struct CheckStopped {};

}  // namespace oryx::check
