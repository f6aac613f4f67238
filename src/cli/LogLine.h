#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "log/LogPalette.h"

namespace vantaro::cli {

struct LogPiece {
    std::string text;  // the bytes the engine wrote
    LogColour colour;
    FontStyle style;
};

// One ended line of the log.
struct LogLine {
    std::vector<LogPiece> pieces;
    std::string Text() const;
};

// What a line of the log says, worked out from its fixed wording.
enum class LineKind {
    Finding,      // "name : Line n : <img : ref : message"
    PageMessage,  // "name : message"
    RunMessage,   // headings, time stamps, the path, the summary, "..."
};

enum class PageEvent {
    None,
    NoChanges,
    Updated,
    WriteFailed,
    ChangedOnDisk,
    OpenFailed,
    ReadFailed,
    SeekFailed,
    CloseFailed,
    Stopped,
    NotSaved,
    Aborted,
    TemplateStart,
    TemplateEnd,
};

struct ClassifiedLine {
    LineKind kind = LineKind::RunMessage;
    std::string fileName;  // page lines: the page's name
    std::string message;   // the text after the head
    // Findings:
    std::uint64_t line = 0;
    std::string tag;        // img, area or input
    std::string reference;  // the tag's reference text
    std::string attribute;  // alt or title
    std::string action;  // missing, would-add, added, add-failed, not-quoted, no-source, multiple
    std::string value;   // the quoted value added or to be added
    bool unresolved = false;  // the tag still lacks the attribute after this run
    // Page messages:
    PageEvent event = PageEvent::None;
    std::string reason;  // why a save failed, as the message gives it
};

ClassifiedLine ClassifyLine(const LogLine& line);

bool IsFailure(PageEvent event);

}  // namespace vantaro::cli
