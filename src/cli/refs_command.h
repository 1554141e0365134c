#pragma once

#include "cli/cli_common.h"

namespace oryx::cli {

// oryx-cli refs FILE PATH [--below] | refs FILE --unresolved
int RunRefs(const Args& args);

}  // namespace oryx::cli
