#include "log/LogRun.h"

namespace vantaro {

void AppendRun(LogRuns& runs, std::string_view text, LogColour colour, FontStyle style,
               bool endLine) {
    if (text.empty() && !endLine) {
        return;
    }
    if (!runs.empty()) {
        LogRun& last = runs.back();
        if (!last.endLine && last.colour == colour && last.style == style) {
            last.text += text;
            last.endLine = endLine;
            return;
        }
    }
    runs.push_back(LogRun{std::string(text), colour, style, endLine});
}

std::string PlainTextOf(const LogRuns& runs) {
    std::string text;
    for (const LogRun& run : runs) {
        text += run.text;
        if (run.endLine) {
            text += "\r\n";
        }
    }
    return text;
}

}  // namespace vantaro
