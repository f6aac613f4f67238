#pragma once

#include <cstdio>

#include "cli/CliOptions.h"

namespace vantaro::cli {

// `vantaro-cli recover [--restore]`: lists every recovery file (page path and the file holding
// its old text), and with restore writes each old text back over its page. Returns the exit
// status: 0, or 2 when a text could not be restored.
int RunRecover(const CliOptions& options, std::FILE* out = stdout);

}  // namespace vantaro::cli
