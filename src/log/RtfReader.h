#pragma once

#include <optional>
#include <string_view>

#include "log/LogRun.h"

namespace vantaro {

// Reads an RTF document back into runs: a log file we wrote comes back exactly, other RTF as far
// as its text, colours (brought onto the palette) and bold, italic, underline and strikeout go.
// Empty when the text does not start with "{\rtf" or its outer group never closes.
std::optional<LogRuns> ReadLogRtf(std::string_view rtf);

}  // namespace vantaro
