#include "support/RecordingHost.h"

#include <ostream>

#include "engine/ByteText.h"
#include "log/LogFormatter.h"

namespace vantaro::test {

std::ostream& operator<<(std::ostream& out, const LogSegment& segment) {
    out << '{' << '"' << segment.text << '"' << ' ' << LogColourName(segment.colour);
    if (segment.endLine) {
        out << " end";
    }
    if (segment.style.Has(FontStyle::Bold)) {
        out << " bold";
    }
    if (segment.style.Has(FontStyle::Underline)) {
        out << " underline";
    }
    return out << '}';
}

LogSegment Seg(std::string text, LogColour colour, bool endLine, FontStyle style) {
    return LogSegment{std::move(text), colour, endLine, style};
}

void RecordingHost::OnFinding(const Finding& finding) {
    findings.push_back(finding.Kind);
    WriteFinding(*this, finding);
}

void RecordingHost::OnPageEvent(const PageEvent& event) {
    pageEvents.push_back(event.Kind);
    WritePageEvent(*this, event);
}

void RecordingHost::AddLogLine(std::string_view text, LogColour colour, bool endLine,
                               FontStyle style) {
    if (text.empty() && !endLine) {
        return;  // writes nothing
    }
    segments.push_back(LogSegment{std::string(text), colour, endLine, style});
}

void RecordingHost::PumpEvents() {
    ++pumps;
    if (onPump) {
        onPump(*this);
    }
}

bool RecordingHost::IsIgnoredReference(std::string_view reference) {
    for (const std::string& entry : ignored) {
        if (EqualsIgnoreAsciiCase(entry, reference)) {
            return true;
        }
    }
    return false;
}

bool RecordingHost::IsFoundReference(std::string_view reference) {
    for (const std::string& entry : found) {
        if (EqualsIgnoreAsciiCase(entry, reference)) {
            return true;
        }
    }
    return false;
}

void RecordingHost::AddFoundReference(std::string_view reference) {
    found.emplace_back(reference);
}

TemplateWarningAnswer RecordingHost::ShowTemplateWarning(const std::string& fullPath) {
    warningsShown.push_back(fullPath);
    if (warningAnswers.empty()) {
        return TemplateWarningAnswer::Yes;
    }
    const TemplateWarningAnswer answer = warningAnswers.front();
    warningAnswers.pop_front();
    return answer;
}

std::vector<std::string> RecordingHost::Lines() const {
    std::vector<std::string> lines(1);
    for (const LogSegment& segment : segments) {
        lines.back() += segment.text;
        if (segment.endLine) {
            lines.emplace_back();
        }
    }
    if (lines.back().empty()) {
        lines.pop_back();
    }
    return lines;
}

std::string RecordingHost::Text() const {
    std::string text;
    for (const std::string& line : Lines()) {
        text += line;
        text += '\n';
    }
    return text;
}

}  // namespace vantaro::test
