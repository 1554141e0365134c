#include "reports/attribute_search.h"

#include "prov/component_store.h"
#include "reports/report_text.h"

namespace oryx::reports {

namespace {

std::string_view ValueAfterEquals(std::string_view line) {
    const std::size_t eq = line.find('=');
    return eq == std::string_view::npos ? std::string_view() : line.substr(eq + 1);
}

// The value of the last line of `list` that `matches` accepts. The file's own
// lines come after the two bookkeeping lines, so those are looked at only when
// no file line matches. The view lives in the store, or in `scratch` for a
// bookkeeping line.
template <typename Match, typename BookkeepingMatch>
std::optional<std::string_view> LastMatch(const prov::AttributeList* list, Match matches,
                                          BookkeepingMatch bookkeepingMatches, std::string& scratch) {
    if (list == nullptr) return std::nullopt;
    std::optional<std::string_view> found;
    for (std::string_view line : list->FileLines()) {
        if (matches(line)) found = line;
    }
    if (!found && list->HasBookkeeping()) {
        for (std::size_t i = 2; i-- > 0 && !found;) {
            if (bookkeepingMatches(i)) found = list->Line(i, scratch);
        }
    }
    if (!found) return std::nullopt;
    return ValueAfterEquals(*found);
}

// Whether bookkeeping line `index` of `list` holds the key. The full-path line
// is "&FULLPATH=" and the path's pieces joined by blanks; a key without a blank
// can only lie within one piece (the first one together with the prefix), so
// the path is searched piece by piece and never built.
bool BookkeepingHolds(const prov::AttributeList* list, std::size_t index, const LowerWordFinder& key,
                      std::string& scratch) {
    const bool fullPath = index == 0;
    if (!fullPath || key.Word().find(' ') != std::string::npos) return key.FoundIn(list->Line(index, scratch));
    bool found = false;
    prov::ForEachPathSegment(list->Owner().FullPathLink(), [&](std::string_view segment, bool first) {
        if (found) return;
        if (!first) {
            found = key.FoundIn(segment);
            return;
        }
        scratch.assign("&FULLPATH=").append(segment);
        found = key.FoundIn(scratch);
    });
    return found;
}

}  // namespace

std::optional<std::string_view> FindAttributeValueView(const prov::AttributeList* list, const LowerWordFinder& key,
                                                       std::string& scratch) {
    return LastMatch(
        list, [&key](std::string_view line) { return key.FoundIn(line); },
        [&](std::size_t index) { return BookkeepingHolds(list, index, key, scratch); }, scratch);
}

// Kept between calls, so that the many searches of a report that end in a
// bookkeeping line do not allocate one each.
thread_local std::string bookkeepingScratch;

std::optional<std::string> FindMatchingAttributeValue(const prov::AttributeList* list, std::string_view key) {
    std::string& scratch = bookkeepingScratch;
    if (auto value = FindAttributeValueView(list, LowerWordFinder(key), scratch)) return std::string(*value);
    return std::nullopt;
}

std::optional<std::string> FindMatchingBookkeepingValue(const prov::AttributeList* list, std::string_view key) {
    std::string& scratch = bookkeepingScratch;
    const LowerWordFinder finder(key);
    const auto value = LastMatch(
        list, [](std::string_view) { return false; },
        [&](std::size_t index) { return BookkeepingHolds(list, index, finder, scratch); }, scratch);
    if (value) return std::string(*value);
    return std::nullopt;
}

std::string FindAttributeValue(const prov::AttributeList* list, std::string_view key) {
    std::string& scratch = bookkeepingScratch;
    return std::string(FindAttributeValueView(list, LowerWordFinder(key), scratch).value_or(std::string_view()));
}

std::string FindAttributeValueAtStart(const prov::AttributeList* list, std::string_view key) {
    std::string& scratch = bookkeepingScratch;
    auto startsWithKey = [key](std::string_view line) { return StartsWithLower(line, key); };
    auto value = LastMatch(
        list, startsWithKey, [&](std::size_t index) { return startsWithKey(list->Line(index, scratch)); }, scratch);
    return std::string(value.value_or(std::string_view()));
}

std::string ValueOnPath(const prov::ComponentNode* from, std::string_view path, std::string_view key) {
    const prov::ComponentNode* node = prov::FindComponent(from, path);
    if (node == nullptr) return {};
    return FindAttributeValue(prov::GetAttributes(node), key);
}

PathWalk WalkPath(const prov::ComponentNode* from, std::string_view path) {
    PathWalk walk{nullptr, from};
    while (true) {
        const std::size_t blank = path.find(' ');
        walk.found = prov::GetChild(walk.at, path.substr(0, blank));
        if (walk.found != nullptr) walk.at = walk.found;
        if (blank == std::string_view::npos) return walk;
        path.remove_prefix(blank + 1);
    }
}

void ForEachLineHolding(const prov::ComponentNode* node, const LowerWordFinder& key,
                        const std::function<void(std::string_view)>& visit) {
    const prov::AttributeList* list = prov::GetAttributes(node);
    if (list == nullptr) return;
    if (list->HasBookkeeping()) {
        std::string scratch;
        for (std::size_t i = 0; i < 2; ++i) {
            if (BookkeepingHolds(list, i, key, scratch)) visit(list->Line(i, scratch));
        }
    }
    for (std::string_view line : list->FileLines()) {
        if (key.FoundIn(line)) visit(line);
    }
}

std::string ValueOf(const prov::ComponentNode* node, const LowerWordFinder& key) {
    return std::string(
        FindAttributeValueView(prov::GetAttributes(node), key, bookkeepingScratch).value_or(std::string_view()));
}

}  // namespace oryx::reports
