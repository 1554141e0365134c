#pragma once

#include "cli/cli_common.h"

namespace oryx::cli {

// oryx-cli tree FILE
int RunTree(const Args& args);
// oryx-cli attrs FILE PATH
int RunAttrs(const Args& args);

}  // namespace oryx::cli
