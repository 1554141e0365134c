#include "check/finding_row.h"

#include <charconv>

namespace oryx::check {

std::array<std::string_view, 5> FindingCellViews(const Finding& finding, LineDigits& line) {
    std::string_view number;
    if (finding.line != 0) {
        const auto written = std::to_chars(line.data(), line.data() + line.size(), finding.line);
        number = std::string_view(line.data(), static_cast<std::size_t>(written.ptr - line.data()));
    }
    return {number, SeverityName(finding.severity), finding.check, finding.path, finding.message};
}

std::array<std::string, 5> FindingCells(const Finding& finding) {
    LineDigits line;
    const std::array<std::string_view, 5> views = FindingCellViews(finding, line);
    return {std::string(views[0]), std::string(views[1]), std::string(views[2]), std::string(views[3]),
            std::string(views[4])};
}

}  // namespace oryx::check
