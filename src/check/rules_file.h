#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "check/builtin_checks.h"
#include "check/decimal_number.h"
#include "check/finding.h"
#include "check/path_pattern.h"

namespace re2 {
class RE2;
}

namespace oryx::check {

enum class RuleKind {
    Require,  // the attributes named must be there (with Forbid, in one rule)
    Match,    // the attribute's every value matches an RE2 pattern, whole
    OneOf,    // the attribute's every value is one of a list
    Range,    // the attribute's every value is a number within two, both included
    Exists,   // some component matches a pattern
    Absent,   // no component matches a pattern
};

// One rule of a rules file.
struct Rule {
    std::string id;
    std::string description;
    Severity severity = Severity::Warning;
    std::string file;        // the rules file
    std::uint32_t line = 0;  // where the rule begins there, from 1
    RuleKind kind = RuleKind::Require;
    std::optional<PathPattern> path;  // the components checked (not for exists and absent)
    std::vector<PathPattern> except;
    std::vector<std::string> require;
    std::vector<std::string> forbid;
    std::string attribute;
    std::string matchText;
    std::shared_ptr<const re2::RE2> match;
    std::vector<std::string> oneOf;
    std::string lowText, highText;
    std::optional<DecimalNumber> low, high;  // viewing lowText and highText
    std::optional<PathPattern> target;       // exists and absent

    // "DESCRIPTION: " or "ID: " before each finding's detail.
    std::string MessageHead() const { return (description.empty() ? id : description) + ": "; }
};

// Every rule and the built-in checks' severities of a run, read from one or
// more rules files.
struct RuleSet {
    std::vector<std::unique_ptr<Rule>> rules;  // in the order read
    BuiltinSeverities builtins;
};

// A rules file that cannot be used: what() is "FILE:LINE:COLUMN: message".
class RulesError : public std::runtime_error {
public:
    RulesError(const std::string& file, std::uint32_t line, std::uint32_t column, const std::string& message);
    std::uint32_t Line() const { return line_; }
    std::uint32_t Column() const { return column_; }

private:
    std::uint32_t line_, column_;
};

// Adds the rules of the YAML text to `rules`; `file` names it in errors and
// findings. Throws RulesError for anything it cannot take: a YAML error, an
// unknown key, a value of the wrong type, an invalid pattern or number, a
// rule id used before.
void ParseRules(std::string_view yaml, const std::string& file, RuleSet& rules);
// The same for a file; throws prov::FileError when it cannot be read.
void ReadRulesFile(const std::string& file, RuleSet& rules);

}  // namespace oryx::check
