#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "compare/comparison.h"

namespace oryx::compare {

// Receives the output in pieces of any size.
using DiffSink = std::function<void(std::string_view)>;

// "N added, M removed, K changed".
std::string SummaryLine(const DiffSummary& summary);

// The text form, LF line ends: "- PATH" and "+ PATH" (with "  (N components
// beneath)" when N > 0), "~ PATH" followed by its attribute differences
// indented two spaces, and the summary line last.
void WriteDiffText(const Comparison& comparison, const DiffSink& sink);

// The CSV form, CR LF line ends, every field quoted: the header
// "change","path","attribute","old","new", one row per added or removed
// component and one per attribute difference of a changed component.
void WriteDiffCsv(const Comparison& comparison, const DiffSink& sink);

// The file name offered for the CSV of two files' differences: both names
// without folder and last extension, joined by " vs ", then ".csv".
std::string ProposedDiffCsvFileName(std::string_view firstPath, std::string_view secondPath);

}  // namespace oryx::compare
