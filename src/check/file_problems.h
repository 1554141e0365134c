#pragma once

#include <functional>
#include <optional>
#include <span>
#include <stop_token>
#include <string>
#include <vector>

#include "check/finding.h"

namespace oryx::prov {
class ComponentStore;
class ReadDiagnostics;
}  // namespace oryx::prov

namespace oryx::check {

// The findings of one file in the order `check FILE --rules RULES` lists
// them. Those of [fromFile, fromFileEnd) are of the file's lines; the others
// are of the rules file's.
struct FileProblems {
    std::vector<Finding> findings;
    std::size_t fromFile = 0;
    std::size_t fromFileEnd = 0;
};

// How many of some findings are errors and warnings.
struct ProblemCounts {
    std::size_t errors = 0;
    std::size_t warnings = 0;
    bool operator==(const ProblemCounts&) const = default;
    ProblemCounts operator+(const ProblemCounts& more) const {
        return {errors + more.errors, warnings + more.warnings};
    }
};
ProblemCounts CountProblems(std::span<const Finding> findings);

// Checks `store`, read with `diagnostics` (those of the read that filled it),
// with the rules of `rulesFile` (none when empty). A rules file that cannot
// be used becomes a finding of its own (error, check "rules-file", its error
// text) and the built-in checks still run. None when `stop` is requested
// before the end. Never throws but for want of memory. `counted`, when
// given, is told the counts of the findings once, as soon as they are known:
// the notes that take long to find come after.
std::optional<FileProblems> CheckStoreProblems(const prov::ComponentStore& store,
                                               const prov::ReadDiagnostics& diagnostics, const std::string& rulesFile,
                                               std::stop_token stop = {},
                                               const std::function<void(ProblemCounts)>& counted = {});

// The place of the line of finding `index` among its component's own
// attribute lines in `store` (read with `diagnostics`, as checked); -1 when
// the line is none of them. Looked up when asked, as few findings are gone to.
long FindingAttributeIndex(const FileProblems& problems, std::size_t index, const prov::ComponentStore& store,
                           const prov::ReadDiagnostics& diagnostics);

}  // namespace oryx::check
