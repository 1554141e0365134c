#include "check/shared_check.h"

#include <algorithm>
#include <iterator>
#include <span>

#include "check/check_file.h"
#include "check/reference_checks.h"
#include "prov/component_store.h"
#include "text/hidden_name.h"

namespace oryx::check {

namespace {

// The top-level components are taken in about this many groups: enough for
// the threads to end together, few enough that a file of a million
// top-level components does not start a walk for each.
constexpr std::size_t kGroups = 1024;

}  // namespace

RuleRunner::ComponentVisit EveryComponent(ReferenceCheck& references, std::stop_token stop) {
    if (!references.On() && !stop.stop_possible()) return {};
    return [&references, stop](const prov::ComponentNode& node) {
        if (stop.stop_requested()) throw CheckStopped{};
        if (references.On()) references.Visit(node);
    };
}

struct SharedStoreCheck::Share {
    std::vector<Finding> found;
    std::vector<std::pair<std::size_t, std::size_t>> ends;  // group, end in `found`
    std::unique_ptr<RuleRunner::Walk> rules;
};

SharedStoreCheck::SharedStoreCheck(const prov::ComponentStore& store, const prov::ReadDiagnostics& diagnostics,
                                   const BuiltinSeverities& severities, RuleRunner& runner)
    : store_(store), diagnostics_(diagnostics), severities_(severities), runner_(runner) {
    if (const prov::ComponentNode* add = store.AddNode())
        for (const prov::ComponentNode* top : add->Children())
            if (!text::IsHiddenName(top->Name())) tops_.push_back(top);
    groupSize_ = std::max<std::size_t>(1, (tops_.size() + kGroups - 1) / kGroups);
}

SharedStoreCheck::~SharedStoreCheck() = default;

void SharedStoreCheck::Work(std::stop_token stop) {
    auto share = std::make_unique<Share>();
    share->rules = std::make_unique<RuleRunner::Walk>(runner_, store_, diagnostics_, share->found);
    // One resolver per thread: it remembers what it last resolved.
    ReferenceCheck references(store_, diagnostics_, severities_, share->found);
    const RuleRunner::ComponentVisit everyComponent = EveryComponent(references, stop);
    for (std::size_t group; (group = nextGroup_.fetch_add(1, std::memory_order_relaxed)) * groupSize_ < tops_.size();) {
        const std::size_t first = group * groupSize_;
        const std::size_t before = share->found.size();
        share->rules->Below(std::span(tops_).subspan(first, std::min(groupSize_, tops_.size() - first)),
                            everyComponent);
        if (share->found.size() != before) share->ends.emplace_back(group, share->found.size());
    }
    const std::lock_guard lock(mutex_);
    shares_.push_back(std::move(share));
}

void SharedStoreCheck::MoveFindings(std::vector<Finding>& out) {
    struct Run {
        std::size_t group;
        Finding* begin;
        Finding* end;
    };
    std::vector<Run> runs;
    std::vector<RuleRunner::Walk*> walks;
    for (const std::unique_ptr<Share>& share : shares_) {
        std::size_t begin = 0;
        for (const auto& [group, end] : share->ends) {
            runs.push_back({group, share->found.data() + begin, share->found.data() + end});
            begin = end;
        }
        walks.push_back(share->rules.get());
    }
    std::sort(runs.begin(), runs.end(), [](const Run& a, const Run& b) { return a.group < b.group; });
    for (const Run& run : runs) std::move(run.begin, run.end, std::back_inserter(out));
    runner_.Finish(walks, out);
    shares_.clear();
}

}  // namespace oryx::check
