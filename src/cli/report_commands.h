#pragma once

#include "cli/cli_common.h"

namespace oryx::cli {

// oryx-cli report NAME FILE...: the report's CSV export, or one table over many files.
int RunReport(const Args& args);
// oryx-cli custom SECTION FILE... [--config CFG]: the custom report's CSV export, or
// one table over many files.
int RunCustom(const Args& args);
// oryx-cli sections [--config CFG]: the custom report names in menu order.
int RunSections(const Args& args);

}  // namespace oryx::cli
