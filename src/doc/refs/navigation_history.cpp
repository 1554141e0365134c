#include "doc/refs/navigation_history.h"

namespace oryx::doc {

void NavigationHistory::Jumped(const std::string& from) {
    forward_.clear();
    if (!from.empty() && (back_.empty() || back_.back() != from)) back_.push_back(from);
}

}  // namespace oryx::doc
