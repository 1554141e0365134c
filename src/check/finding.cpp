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
    std::stable_sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) {
        if (a.line != b.line) return a.line < b.line;
        return a.order < b.order;
    });
}

std::string Quoted(std::string_view value) { return "'" + text::MessageValue(value) + "'"; }

}  // namespace oryx::check
