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

}  // namespace oryx::check
