#pragma once

#include <string>
#include <vector>

#include "check/finding.h"

namespace oryx::check {

// The findings of one file in the order `check FILE --rules RULES` lists
// them, each with the place of its line among its component's own attribute
// lines (-1 when the line is none of them).
struct FileProblems {
    std::vector<Finding> findings;
    std::vector<long> attributeIndexes;  // one per finding
};

// Checks `file` with the rules of `rulesFile` (none when empty). A rules
// file that cannot be used becomes a finding of its own (error, check
// "rules-file", its error text) and the built-in checks still run; a file
// that cannot be read becomes an error finding too. Never throws but for
// want of memory.
FileProblems CheckFileProblems(const std::string& file, const std::string& rulesFile);

}  // namespace oryx::check
