#pragma once

#include "cli/cli_common.h"

namespace oryx::cli {

// The exit status of `diff` when the nodes differ.
constexpr int kExitDiffer = 3;

// oryx-cli diff FILE1 FILE2 [--ignore NAME]... [--ignore-case] [--format text|csv]
int RunDiff(const Args& args);

}  // namespace oryx::cli
