#pragma once

#include <string>

#include "log/LogRun.h"

namespace vantaro {

// The font every run of a log file is written in: the log view's own.
struct RtfFont {
    std::string family = "Sans Serif";
    int pointSize = 10;
};

// The log as an RTF document: the seven palette colours (and any other colour a run carries)
// in the colour table, bold, italic, underline and strikeout as character formatting, \par for
// every line end. Only ASCII is written; everything else is escaped, so any text is safe.
std::string WriteLogRtf(const LogRuns& runs, const RtfFont& font = {});

}  // namespace vantaro
