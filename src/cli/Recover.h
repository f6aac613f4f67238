#pragma once

#include <string>

#include "cli/CliOptions.h"

namespace vantaro::cli {

// `vantaro-cli recover [--restore]`: lists every recovery file (page path and the file holding
// its old text), and with restore writes each old text back over its page. Returns what to
// print and the exit status: 0, or 2 when a text could not be restored (said on standard error).
struct RecoverResult {
    std::string Output;
    int Status = 0;
};
RecoverResult RunRecover(const CliOptions& options);

}  // namespace vantaro::cli
