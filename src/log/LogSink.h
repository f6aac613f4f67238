#pragma once

#include <string_view>

#include "log/LogPalette.h"

namespace vantaro {

// The one way anything reports to the user. A message line is usually several calls with
// endLine false followed by one with endLine true; each segment keeps its own colour and style,
// and a segment's style replaces the previous one (styles never merge). Text taken from a page
// arrives as the page's own bytes; decoding them for display is the view's job.
class LogSink {
  public:
    virtual ~LogSink() = default;
    virtual void AddLogLine(std::string_view text, LogColour colour, bool endLine,
                            FontStyle style) = 0;
};

// What follows the file name at the start of every per-file message.
inline constexpr std::string_view kFileNameSeparator = " : ";

// Writes the grey "name : " segment that starts every per-file message.
void AddFilePrefix(LogSink& log, std::string_view fileName);

}  // namespace vantaro
