#pragma once

#include <array>
#include <string>
#include <string_view>

#include "check/finding.h"

namespace oryx::check {

// A finding's cells as the check listing writes them, after the file:
// Line (empty when it has none), Severity, Check, Path, Message.
inline constexpr std::array<std::string_view, 5> kFindingCellNames = {"Line", "Severity", "Check", "Path", "Message"};
std::array<std::string, 5> FindingCells(const Finding& finding);

// The same cells without copies: views of the finding's texts, the line
// number written into `line`. Valid while both live.
using LineDigits = std::array<char, 12>;
std::array<std::string_view, 5> FindingCellViews(const Finding& finding, LineDigits& line);

}  // namespace oryx::check
