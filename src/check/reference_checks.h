#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <stop_token>
#include <string>
#include <utility>
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

// The reference check of a whole store shared by threads: each thread that
// calls Work takes the next shown top-level component in turn and checks it
// with everything shown below it, so the threads end about together however
// late each joins. The findings come out as one walk of the store makes them.
class SharedReferenceCheck final {
public:
    SharedReferenceCheck(const prov::ComponentStore& store, const prov::ReadDiagnostics& diagnostics,
                         const BuiltinSeverities& severities);

    // Checks components until none is left. Throws CheckStopped soon after
    // `stop` is requested.
    void Work(std::stop_token stop);
    // Once every Work call has returned: the findings, in the walk's order.
    void MoveFindings(std::vector<Finding>& out);

private:
    const prov::ComponentStore& store_;
    const prov::ReadDiagnostics& diagnostics_;
    const BuiltinSeverities& severities_;
    // One Work call's findings, and where those of each top-level component
    // it took end (for those with any); it takes them in rising order.
    struct Share {
        std::vector<Finding> found;
        std::vector<std::pair<std::size_t, std::size_t>> ends;  // top-level index, end in `found`
    };

    std::vector<const prov::ComponentNode*> tops_;
    std::atomic<std::size_t> next_{0};
    std::mutex mutex_;
    std::vector<Share> shares_;  // under mutex_
};

}  // namespace oryx::check
