#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "log/LogPalette.h"

namespace vantaro {

// A stretch of the log in one colour and style, as saved, printed and copied. The text is
// UTF-8 and holds no line ends of its own: endLine says a line end follows, in the same format.
struct LogRun {
    std::string text;
    LogColour colour = LogColour::LogDarkGrey;
    FontStyle style;
    bool endLine = false;

    bool operator==(const LogRun&) const = default;
};

using LogRuns = std::vector<LogRun>;

// Appends text (and a line end when asked) in the given format, joining it to the last run when
// that one has the same format and has not ended its line. Runs built only through this are in
// one canonical form, so two logs that look the same compare equal.
void AppendRun(LogRuns& runs, std::string_view text, LogColour colour, FontStyle style,
               bool endLine);

// The runs' text with CR LF for every line end.
std::string PlainTextOf(const LogRuns& runs);

}  // namespace vantaro
