#include "check/finding_row.h"

namespace oryx::check {

std::array<std::string, 5> FindingCells(const Finding& finding) {
    return {finding.line == 0 ? std::string() : std::to_string(finding.line),
            std::string(SeverityName(finding.severity)), finding.check, finding.path, finding.message};
}

}  // namespace oryx::check
