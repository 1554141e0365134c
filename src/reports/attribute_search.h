#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace oryx::prov {
class AttributeList;
class ComponentNode;
}  // namespace oryx::prov

namespace oryx::reports {

// The reports' attribute search: the text after the first "=" of the last line
// of `list` whose text, ASCII letters lower-cased, contains `key` (a lower-case
// word) anywhere, name or value; case kept, untrimmed. The bookkeeping lines
// "&FULLPATH=" and "&NAME=" take part like any other line. Empty when nothing
// matches or `list` is null.
std::string FindAttributeValue(const prov::AttributeList* list, std::string_view key);

// As FindAttributeValue, but tells a matching line with an empty value apart
// from no match at all.
std::optional<std::string> FindMatchingAttributeValue(const prov::AttributeList* list, std::string_view key);

class LowerWordFinder;

// As FindMatchingAttributeValue over the bookkeeping lines alone, for a
// caller that has looked at the file's lines itself and found no match.
std::optional<std::string> FindMatchingBookkeepingValue(const prov::AttributeList* list, std::string_view key);

// As FindMatchingAttributeValue, without a copy: the view points into the
// store, or into `scratch` when a bookkeeping line matched. The key comes
// prepared, for reports that search one key in many lists.
std::optional<std::string_view> FindAttributeValueView(const prov::AttributeList* list, const LowerWordFinder& key,
                                                       std::string& scratch);

// As FindAttributeValue, but a line matches only when it begins with `key`.
std::string FindAttributeValueAtStart(const prov::AttributeList* list, std::string_view key);

// The value of `key` on the component at `path` (looked up with FindComponent
// from `from`); empty when there is no such component.
std::string ValueOnPath(const prov::ComponentNode* from, std::string_view path, std::string_view key);

// A FindComponent walk of `path` from `from`: `found` is what FindComponent
// gives (the node of the last piece, or null when that piece is missing) and
// `at` the node the walk stands on at its end (each piece that is found moves
// it on, a missing piece is skipped). FindComponent(from, path + " " + rest)
// is FindComponent(at, rest), so a report can walk a shared prefix once for
// many lookups.
struct PathWalk {
    const prov::ComponentNode* found = nullptr;
    const prov::ComponentNode* at = nullptr;
};
PathWalk WalkPath(const prov::ComponentNode* from, std::string_view path);

// Calls `visit` with every line of the node's attribute list, in order, whose
// lower-cased text contains `key`, the bookkeeping lines included; those are
// built only when they hold the key.
void ForEachLineHolding(const prov::ComponentNode* node, const LowerWordFinder& key,
                        const std::function<void(std::string_view)>& visit);

// The value of `key` (see FindAttributeValue) in the attributes of `node`;
// empty when `node` is null.
std::string ValueOf(const prov::ComponentNode* node, const LowerWordFinder& key);

}  // namespace oryx::reports
