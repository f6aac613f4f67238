#pragma once

#include <string>

#include "engine/EngineEvents.h"
#include "log/LogSink.h"
#include "run/RunEvents.h"

namespace vantaro {

// The one place where the events of a run become the log's text: each event is written to the
// sink as the segments the log shows, with their colours, styles and line ends. The window's
// log, saved logs and the runner's text output all come from here.

// "name : Line n : <img : reference : " and what the finding says.
void WriteFinding(LogSink& log, const Finding& finding);
// "name : " and the page's message.
void WritePageEvent(LogSink& log, const PageEvent& event);
// The heading, "Process started " with the time stamp, and "Path : " with the folder.
void WriteRunStart(LogSink& log, const RunStart& start);
// A page whose old text an interrupted save kept, named in a line of its own.
void WriteRecoveryNotice(LogSink& log, const RecoveryNotice& notice);
// "Process ended " with the time stamp, the totals and the closing "...".
void WriteRunEnd(LogSink& log, const RunEnd& end);

// What a finding or page event says after its head, as one text.
std::string FindingMessage(const Finding& finding);
std::string PageEventMessage(const PageEvent& event);

std::string_view AttributeText(AttributeName name);

// The words of a run's lines by which a log read back from a file is matched to its pages
// (LogPageLocations).
inline constexpr std::string_view kRunStartedLabel = "Process started ";
inline constexpr std::string_view kPathLabel = "Path : ";
inline constexpr std::string_view kLineLabel = "Line ";
inline constexpr std::string_view kRunClosing = "...";

}  // namespace vantaro
