#pragma once

#include <string>
#include <vector>

#include "check/finding.h"
#include "check/rule_checks.h"
#include "check/rules_file.h"

namespace oryx::check {

// Reads one provisioning file and returns its findings in order: what the
// reader passed over, then each rule. Throws prov::FileError when the file
// cannot be read.
std::vector<Finding> CheckFile(const std::string& file, const RuleSet& rules, RuleRunner& runner);

}  // namespace oryx::check
