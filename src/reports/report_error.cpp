#include "reports/report_error.h"

#include "text/message_value.h"

namespace oryx::reports {

ReportError InvalidIntegerError(std::string_view value) {
    std::string message = "'";
    message += text::MessageValue(value);
    message += "' is not a valid integer value";
    return ReportError(message);
}

ReportError NotEnoughMemoryToBuild(std::string_view reportName) {
    std::string message = "not enough memory to build the ";
    message += text::MessageValue(reportName);
    message += " report";
    return ReportError(message);
}

}  // namespace oryx::reports
