#pragma once

#include "cli/cli_common.h"

namespace oryx::cli {

// oryx-cli summary FILE...: one row per file, its format, line count,
// component count and Node Summary values.
int RunSummary(const Args& args);

}  // namespace oryx::cli
