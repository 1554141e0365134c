#pragma once

#include "cli/cli_common.h"

namespace oryx::cli {

// oryx-cli find FILE QUERY [--in SCOPE] [--regex] [--word] [--case]
int RunFind(const Args& args);

}  // namespace oryx::cli
