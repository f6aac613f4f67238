#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "engine/EngineHost.h"
#include "log/LogPalette.h"
#include "log/LogSink.h"

namespace vantaro::test {

struct LogSegment {
    std::string text;
    LogColour colour;
    bool endLine;
    FontStyle style;

    bool operator==(const LogSegment&) const = default;
};

std::ostream& operator<<(std::ostream& out, const LogSegment& segment);

// Segment shorthands for expectations.
LogSegment Seg(std::string text, LogColour colour, bool endLine = false,
               FontStyle style = FontStyle::Plain());

// A host that records everything the engine does (its events, and the log segments the
// formatter makes of them), answers the template warning from a script and can confirm Stop at
// a chosen pump call.
class RecordingHost : public EngineHost, public LogSink {
  public:
    void OnFinding(const Finding& finding) override;
    void OnPageEvent(const PageEvent& event) override;
    void AddLogLine(std::string_view text, LogColour colour, bool endLine,
                    FontStyle style) override;
    void AdvanceProgress(std::uint64_t bytes) override { progress += bytes; }
    void PumpEvents() override;
    bool IsIgnoredReference(std::string_view reference) override;
    bool IsFoundReference(std::string_view reference) override;
    void AddFoundReference(std::string_view reference) override;
    TemplateWarningAnswer ShowTemplateWarning(const std::string& fullPath) override;
    bool UpdatesTemplateCodeUnasked() override { return yesUnasked; }

    // The log as plain lines (segments joined, line ends split).
    std::vector<std::string> Lines() const;
    std::string Text() const;

    std::vector<LogSegment> segments;
    std::vector<FindingKind> findings;
    std::vector<PageEventKind> pageEvents;
    std::uint64_t progress = 0;
    std::uint64_t pumps = 0;
    std::vector<std::string> ignored;
    std::vector<std::string> found;
    std::deque<TemplateWarningAnswer> warningAnswers;  // Yes once they run out
    std::vector<std::string> warningsShown;
    bool yesUnasked = false;    // says so, though it answers as warningAnswers says
    RunFlags* flags = nullptr;  // set to let onPump stop a run
    std::function<void(RecordingHost&)> onPump;
};

}  // namespace vantaro::test
