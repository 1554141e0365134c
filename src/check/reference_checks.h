#pragma once

#include <memory>
#include <string>
#include <vector>

#include "check/builtin_checks.h"
#include "check/finding.h"

namespace oryx::prov {
class ComponentNode;
class ComponentStore;
class ReadDiagnostics;
}  // namespace oryx::prov

namespace oryx::refs {
class ReferenceResolver;
}

namespace oryx::check {

// The dangling and partial references of a store's shown components, as
// `oryx-cli refs --unresolved` lists them, each on its attribute's line.
class ReferenceCheck final {
public:
    ReferenceCheck(const prov::ComponentStore& store, const prov::ReadDiagnostics& diagnostics,
                   const BuiltinSeverities& severities, std::vector<Finding>& out);
    ~ReferenceCheck();
    ReferenceCheck(const ReferenceCheck&) = delete;
    ReferenceCheck& operator=(const ReferenceCheck&) = delete;

    // False when both checks are off.
    bool On() const { return resolver_ != nullptr; }
    // The findings of one component's lines.
    void Visit(const prov::ComponentNode& node);

private:
    const prov::ComponentStore& store_;
    const prov::ReadDiagnostics& diagnostics_;
    const BuiltinSeverities& severities_;
    std::vector<Finding>& out_;
    std::unique_ptr<const refs::ReferenceResolver> resolver_;
    // The last partial reference's deepest component, and its quoted path.
    const prov::ComponentNode* lastTarget_ = nullptr;
    std::string lastTargetQuoted_;
};

}  // namespace oryx::check
