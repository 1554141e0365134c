#pragma once

#include "cli/cli_common.h"

namespace oryx::cli {

// oryx-cli history FILE... [--path PATH [--below]] [--attr NAME]... [--ignore NAME]... [--ignore-case]
//                  [--format text|csv|tsv|json] [--values] [--recursive]
int RunHistory(const Args& args);

}  // namespace oryx::cli
