#pragma once

#include "cli/cli_common.h"

namespace oryx::cli {

// oryx-cli check FILE... [--rules RULES]... [--format text|csv|tsv|json]
//                        [--fail-on error|warning|note] [-j N] [--recursive]
int RunCheck(const Args& args);

}  // namespace oryx::cli
