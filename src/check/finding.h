#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace oryx::check {

// In rising order, so that "at or above" compares.
enum class Severity { Note, Warning, Error };

// "error", "warning", "note": as compilers spell them.
std::string_view SeverityName(Severity severity);
std::optional<Severity> SeverityByName(std::string_view name);

// One finding in one file.
struct Finding {
    std::uint32_t line = 0;  // from 1; 0 when it has none
    Severity severity = Severity::Warning;
    std::string check;  // the built-in check's or the rule's id
    std::string path;   // the component's path, as the tree shows it; may be empty
    std::string message;
    // Findings of one line come in this order: the built-in checks' table
    // order, then the rules in the order they were read.
    std::uint32_t order = 0;
    // For a finding on one attribute line, the attribute's name as the file
    // spells it: one set line may hold several attributes.
    std::string attribute;
};

// The order of a file's findings: without a line first, then by line; on one
// line by `order`; otherwise as they were found.
void SortFindings(std::vector<Finding>& findings);

// A value from a file in a message: in single quotes, as error messages quote.
std::string Quoted(std::string_view value);

}  // namespace oryx::check
