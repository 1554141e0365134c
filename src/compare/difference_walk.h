#pragma once

#include <functional>
#include <string_view>

#include "compare/comparison.h"

namespace oryx::compare {

// Receives one reported difference and its PATH, spelled as in the second
// file for an added component and as in the first for the others.
using DifferenceVisitor = std::function<void(Comparison::Index, std::string_view path)>;

// Visits the reported differences depth first, siblings in the store's order,
// entering only subtrees that hold one. No recursion, whatever the depth.
void ForEachDifference(const Comparison& comparison, const DifferenceVisitor& visit);

}  // namespace oryx::compare
