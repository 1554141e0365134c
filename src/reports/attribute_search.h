#pragma once

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
std::optional<std::string> FindMatchingAttributeValue(const prov::AttributeList* list,
                                                      std::string_view key);

// As FindAttributeValue, but a line matches only when it begins with `key`.
std::string FindAttributeValueAtStart(const prov::AttributeList* list, std::string_view key);

// The value of `key` on the component at `path` (looked up with FindComponent
// from `from`); empty when there is no such component.
std::string ValueOnPath(const prov::ComponentNode* from, std::string_view path, std::string_view key);

// The node a FindComponent walk of `path` from `from` stands on at its end:
// each piece that is found moves the walk on, a missing piece is skipped.
// FindComponent(from, path + " " + rest) is FindComponent(WalkPath(from, path),
// rest), so a report can walk a shared prefix once for many lookups.
const prov::ComponentNode* WalkPath(const prov::ComponentNode* from, std::string_view path);

}  // namespace oryx::reports
