#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace oryx::reports {

// A report that cannot be built. what() is the message the user sees.
class ReportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "'%s' is not a valid integer value" for `text`.
ReportError InvalidIntegerError(std::string_view text);
// "not enough memory to build the %s report" for the report's name.
ReportError NotEnoughMemoryToBuild(std::string_view reportName);

}  // namespace oryx::reports
