#include "reports/attribute_search.h"

#include "prov/component_store.h"
#include "reports/report_text.h"

namespace oryx::reports {

namespace {

std::string ValueAfterEquals(std::string_view line) {
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return {};
    return std::string(line.substr(eq + 1));
}

// The last line of `list` that `matches` accepts. Lines are visited from the
// last one back, so the usual case (a match among the file's own lines) stops
// early and never builds the bookkeeping lines.
template <typename Match>
std::optional<std::string> LastMatch(const prov::AttributeList* list, Match matches) {
    if (list == nullptr) return std::nullopt;
    std::string scratch;
    for (std::size_t i = list->LineCount(); i-- > 0;) {
        const std::string_view line = list->Line(i, scratch);
        if (matches(line)) return ValueAfterEquals(line);
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> FindMatchingAttributeValue(const prov::AttributeList* list,
                                                      std::string_view key) {
    return LastMatch(list, [key](std::string_view line) { return ContainsLower(line, key); });
}

std::string FindAttributeValue(const prov::AttributeList* list, std::string_view key) {
    return FindMatchingAttributeValue(list, key).value_or(std::string());
}

std::string FindAttributeValueAtStart(const prov::AttributeList* list, std::string_view key) {
    return LastMatch(list, [key](std::string_view line) { return StartsWithLower(line, key); })
        .value_or(std::string());
}

std::string ValueOnPath(const prov::ComponentNode* from, std::string_view path, std::string_view key) {
    const prov::ComponentNode* node = prov::FindComponent(from, path);
    if (node == nullptr) return {};
    return FindAttributeValue(prov::GetAttributes(node), key);
}

const prov::ComponentNode* WalkPath(const prov::ComponentNode* from, std::string_view path) {
    const prov::ComponentNode* current = from;
    while (true) {
        const std::size_t blank = path.find(' ');
        if (const prov::ComponentNode* child = prov::GetChild(current, path.substr(0, blank))) current = child;
        if (blank == std::string_view::npos) return current;
        path.remove_prefix(blank + 1);
    }
}

}  // namespace oryx::reports
