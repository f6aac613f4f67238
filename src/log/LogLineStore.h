#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "log/LogPageLocations.h"
#include "log/LogPalette.h"
#include "log/LogRun.h"

namespace vantaro {

// A place in the log: a line, and a byte offset into that line's UTF-8 text.
struct LogPosition {
    std::size_t line = 0;
    std::size_t offset = 0;

    auto operator<=>(const LogPosition&) const = default;
};

// The log's lines as the window shows them, held compactly: a long run writes hundreds of
// thousands of lines, and a line costs little more than its own text. Each line is UTF-8 text
// in runs of one colour and style; its line end carries a format of its own (the one it was
// written in), and a line may report on a place in a page. Lines only grow at the end; the
// last line is the one being written and has no line end yet.
class LogLineStore {
  public:
    struct Span {
        std::size_t begin = 0;  // byte offsets into the line's text
        std::size_t end = 0;
        LogColour colour = LogColour::LogDarkGrey;
        FontStyle style;
    };

    LogLineStore();

    // Appends display text (UTF-8) in the format; CR LF, CR and LF inside it end lines in that
    // format, and endLine ends the last line after it.
    void Write(std::string_view text, LogColour colour, FontStyle style, bool endLine);
    void Clear();

    std::size_t LineCount() const { return lines_.size(); }  // at least one
    bool IsEmpty() const { return lines_.size() == 1 && lines_.back().length == 0; }
    std::string_view Text(std::size_t line) const;
    std::vector<Span> Spans(std::size_t line) const;
    LogPosition End() const { return {lines_.size() - 1, lines_.back().length}; }
    // The line holding the most bytes, as a cheap guess at the widest one.
    std::size_t LongestLine() const { return longestLine_; }

    // The stretch between two places, as saved, printed and copied; a line end is in it when
    // the place right after the line's text is.
    LogRuns RunsBetween(LogPosition from, LogPosition to) const;
    LogRuns Runs() const { return RunsBetween({}, End()); }
    // The lines' text joined by LF, as a plain-text editor would give it.
    std::string PlainText() const;

    void SetPage(std::size_t line, PageLocation page);
    std::optional<PageLocation> PageOf(std::size_t line) const;

  private:
    // Four billion runs would take far more memory than any machine has for a log.
    struct Line {
        std::uint32_t firstSpan = 0;
        std::uint32_t chunk = 0;
        std::uint32_t start = 0;   // in the chunk
        std::uint32_t length = 0;  // bytes
        std::uint32_t endFormat = 0;
    };
    struct StoredSpan {
        std::uint32_t begin = 0;
        std::uint32_t format = 0;
    };
    struct StoredPage {
        std::size_t line = 0;
        std::uint32_t path = 0;
        TagKind tag = TagKind::None;
        std::uint64_t pageLine = 0;
    };
    struct Chunk {
        std::unique_ptr<char[]> bytes;
        std::size_t capacity = 0;
        std::size_t used = 0;
    };

    static std::uint32_t FormatKey(LogColour colour, FontStyle style);
    static LogColour ColourOf(std::uint32_t key);
    static FontStyle StyleOf(std::uint32_t key);

    void AppendToLastLine(std::string_view text, std::uint32_t format);
    void EndLastLine(std::uint32_t format);
    char* RoomForLastLine(std::size_t more);
    std::size_t SpanCount(std::size_t line) const;

    std::vector<Chunk> chunks_;
    // Deques grow without copying what they hold, so a long log never needs room for two
    // copies of its index.
    std::deque<Line> lines_;
    std::deque<StoredSpan> spans_;
    std::deque<StoredPage> pages_;  // by line
    std::vector<std::string> paths_;
    std::size_t longestLine_ = 0;
};

}  // namespace vantaro
