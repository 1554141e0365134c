#include "check/reference_checks.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>

#include "check/check_file.h"
#include "prov/component_store.h"
#include "prov/read_diagnostics.h"
#include "refs/reference_rule.h"
#include "text/hidden_name.h"
#include "text/message_value.h"

namespace oryx::check {

ReferenceCheck::ReferenceCheck(const prov::ComponentStore& store, const prov::ReadDiagnostics& diagnostics,
                               const BuiltinSeverities& severities, std::vector<Finding>& out)
    : store_(store), diagnostics_(diagnostics), severities_(severities), out_(out) {
    if (severities.Of(BuiltinCheck::DanglingReference) || severities.Of(BuiltinCheck::PartialReference))
        resolver_ = std::make_unique<const refs::ReferenceResolver>(store);
}

ReferenceCheck::~ReferenceCheck() = default;

void ReferenceCheck::Visit(const prov::ComponentNode& node) {
    const prov::FileLineRange lines = node.FileLines();
    std::string nodePath;  // made at the node's first finding
    for (auto line = lines.begin(); line != lines.end(); ++line) {
        // Without the partial references, only a dangling one is looked for.
        const refs::Resolution resolution = severities_.Of(BuiltinCheck::PartialReference)
                                                ? resolver_->ResolveLine(*line)
                                                : resolver_->ResolveLineIfDangling(*line);
        const bool dangling = resolution.kind == refs::ReferenceKind::Dangling;
        if (!dangling && resolution.kind != refs::ReferenceKind::Partial) continue;
        std::string message =
            text::MessageValue(prov::LineName(*line)) + " refers to " + Quoted(refs::ReferenceValue(*line));
        if (dangling) {
            message += ", which is not in this file";
        } else {
            // Partial references of a node lead to a few components over and
            // over: their quoted paths are made once each.
            if (resolution.target != lastTarget_) {
                lastTarget_ = resolution.target;
                lastTargetQuoted_ = Quoted(prov::ComponentPath(*resolution.target));
            }
            message += "; only " + lastTargetQuoted_ + " is in this file";
        }
        if (nodePath.empty()) nodePath = prov::ComponentPath(node);
        AddBuiltinFinding(dangling ? BuiltinCheck::DanglingReference : BuiltinCheck::PartialReference, severities_,
                          diagnostics_.AttributeLine(store_, line.Id()), nodePath, std::move(message), out_);
    }
}

SharedReferenceCheck::SharedReferenceCheck(const prov::ComponentStore& store, const prov::ReadDiagnostics& diagnostics,
                                           const BuiltinSeverities& severities)
    : store_(store), diagnostics_(diagnostics), severities_(severities) {
    if (const prov::ComponentNode* add = store.AddNode())
        for (const prov::ComponentNode* top : add->Children())
            if (!text::IsHiddenName(top->Name())) tops_.push_back(top);
}

void SharedReferenceCheck::Work(std::stop_token stop) {
    Share share;
    // One resolver per thread: it remembers what it last resolved.
    ReferenceCheck check(store_, diagnostics_, severities_, share.found);
    std::vector<const prov::ComponentNode*> pending;
    for (std::size_t i; (i = next_.fetch_add(1, std::memory_order_relaxed)) < tops_.size();) {
        const std::size_t before = share.found.size();
        // Parents before children, each family in its order, as the tree shows them.
        pending.push_back(tops_[i]);
        while (!pending.empty()) {
            if (stop.stop_requested()) throw CheckStopped{};
            const prov::ComponentNode* node = pending.back();
            pending.pop_back();
            check.Visit(*node);
            const auto children = node->Children();
            for (auto child = children.rbegin(); child != children.rend(); ++child)
                if (!text::IsHiddenName((*child)->Name())) pending.push_back(*child);
        }
        if (share.found.size() != before) share.ends.emplace_back(i, share.found.size());
    }
    const std::lock_guard lock(mutex_);
    shares_.push_back(std::move(share));
}

void SharedReferenceCheck::MoveFindings(std::vector<Finding>& out) {
    struct Run {
        std::size_t top;
        Finding* begin;
        Finding* end;
    };
    std::vector<Run> runs;
    for (Share& share : shares_) {
        std::size_t begin = 0;
        for (const auto& [top, end] : share.ends) {
            runs.push_back({top, share.found.data() + begin, share.found.data() + end});
            begin = end;
        }
    }
    std::sort(runs.begin(), runs.end(), [](const Run& a, const Run& b) { return a.top < b.top; });
    for (const Run& run : runs) std::move(run.begin, run.end, std::back_inserter(out));
    shares_.clear();
}

}  // namespace oryx::check
