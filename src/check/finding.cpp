#include "check/finding.h"

#include <algorithm>

#include "text/message_value.h"

namespace oryx::check {

std::string_view SeverityName(Severity severity) {
    switch (severity) {
    case Severity::Error: return "error";
    case Severity::Warning: return "warning";
    case Severity::Note: return "note";
    }
    return "warning";
}

std::optional<Severity> SeverityByName(std::string_view name) {
    if (name == "error") return Severity::Error;
    if (name == "warning") return Severity::Warning;
    if (name == "note") return Severity::Note;
    return std::nullopt;
}

void SortFindings(std::vector<Finding>& findings) {
    const auto before = [](const Finding& a, const Finding& b) {
        return a.line != b.line ? a.line < b.line : a.order < b.order;
    };
    // What the reader noted comes in line order, and often nothing else.
    if (std::is_sorted(findings.begin(), findings.end(), before)) return;
    // Sorts small keys, then moves each finding once.
    struct Key {
        std::uint32_t line;
        std::uint32_t order;
        std::size_t index;
    };
    std::vector<Key> keys;
    keys.reserve(findings.size());
    for (std::size_t i = 0; i < findings.size(); ++i) keys.push_back({findings[i].line, findings[i].order, i});
    std::sort(keys.begin(), keys.end(), [](const Key& a, const Key& b) {
        if (a.line != b.line) return a.line < b.line;
        if (a.order != b.order) return a.order < b.order;
        return a.index < b.index;
    });
    std::vector<Finding> sorted;
    sorted.reserve(findings.size());
    for (const Key& key : keys) sorted.push_back(std::move(findings[key.index]));
    findings = std::move(sorted);
}

std::string Quoted(std::string_view value) { return "'" + text::MessageValue(value) + "'"; }

}  // namespace oryx::check
