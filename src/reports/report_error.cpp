#include "reports/report_error.h"

namespace oryx::reports {

ReportError InvalidIntegerError(std::string_view text) {
    std::string message = "'";
    message += text;
    message += "' is not a valid integer value";
    return ReportError(message);
}

}  // namespace oryx::reports
