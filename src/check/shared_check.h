#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <mutex>
#include <stop_token>
#include <utility>
#include <vector>

#include "check/builtin_checks.h"
#include "check/finding.h"
#include "check/rule_checks.h"

namespace oryx::prov {
class ComponentNode;
class ComponentStore;
class ReadDiagnostics;
}  // namespace oryx::prov

namespace oryx::check {

class ReferenceCheck;

// What a rules' walk does at each component besides: the reference check,
// and giving up (CheckStopped) once `stop` is requested. Empty when neither
// is wanted.
RuleRunner::ComponentVisit EveryComponent(ReferenceCheck& references, std::stop_token stop);

// The rules and references of a large store, checked by threads that share
// its shown top-level components: each thread that calls Work takes the next
// few in turn and walks them with everything the tree shows below them, so
// the threads end about together however late each joins.
class SharedStoreCheck final {
public:
    SharedStoreCheck(const prov::ComponentStore& store, const prov::ReadDiagnostics& diagnostics,
                     const BuiltinSeverities& severities, RuleRunner& runner);
    ~SharedStoreCheck();

    // Checks components until none is left. Throws CheckStopped soon after
    // `stop` is requested.
    void Work(std::stop_token stop);
    // Once every Work call has returned: adds the findings, those of the
    // components in the walk's order, then what the rules say of the store.
    void MoveFindings(std::vector<Finding>& out);

private:
    // One Work call's findings, and where those of each group of top-level
    // components it took end (for groups with any); it takes them in rising
    // order.
    struct Share;

    const prov::ComponentStore& store_;
    const prov::ReadDiagnostics& diagnostics_;
    const BuiltinSeverities& severities_;
    RuleRunner& runner_;
    std::vector<const prov::ComponentNode*> tops_;
    std::size_t groupSize_ = 1;
    std::atomic<std::size_t> nextGroup_{0};
    std::mutex mutex_;
    std::vector<std::unique_ptr<Share>> shares_;  // under mutex_
};

}  // namespace oryx::check
