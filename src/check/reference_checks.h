#pragma once

#include <vector>

#include "check/builtin_checks.h"
#include "check/finding.h"

namespace oryx::prov {
class ComponentStore;
class ReadDiagnostics;
}  // namespace oryx::prov

namespace oryx::check {

// The dangling and partial references of a store's shown components, as
// `oryx-cli refs --unresolved` lists them, each on its attribute's line.
void AddReferenceFindings(const prov::ComponentStore& store, const prov::ReadDiagnostics& diagnostics,
                          const BuiltinSeverities& severities, std::vector<Finding>& out);

}  // namespace oryx::check
