#include "log/LogLineStore.h"

#include <algorithm>
#include <cstring>

namespace vantaro {
namespace {

constexpr std::size_t kChunkBytes = std::size_t{1} << 20;

}  // namespace

LogLineStore::LogLineStore() {
    Clear();
}

void LogLineStore::Clear() {
    chunks_.clear();
    lines_.clear();
    spans_.clear();
    pages_.clear();
    paths_.clear();
    lines_.push_back(Line{});
    longestLine_ = 0;
}

std::uint32_t LogLineStore::FormatKey(LogColour colour, FontStyle style) {
    return (ToRgb(colour) << 4) | (style.Bits() & 0x0Fu);
}

LogColour LogLineStore::ColourOf(std::uint32_t key) {
    return static_cast<LogColour>(key >> 4);
}

FontStyle LogLineStore::StyleOf(std::uint32_t key) {
    FontStyle style;
    for (FontStyle::Flag flag :
         {FontStyle::Bold, FontStyle::Italic, FontStyle::Underline, FontStyle::StrikeOut}) {
        style = style.With(flag, (key & flag) != 0);
    }
    return style;
}

void LogLineStore::Write(std::string_view text, LogColour colour, FontStyle style, bool endLine) {
    const std::uint32_t format = FormatKey(colour, style);
    while (!text.empty()) {
        const std::size_t lineEnd = text.find_first_of("\r\n");
        if (lineEnd == std::string_view::npos) {
            AppendToLastLine(text, format);
            break;
        }
        AppendToLastLine(text.substr(0, lineEnd), format);
        EndLastLine(format);
        const bool crLf =
            text[lineEnd] == '\r' && lineEnd + 1 < text.size() && text[lineEnd + 1] == '\n';
        text.remove_prefix(lineEnd + (crLf ? 2 : 1));
    }
    if (endLine) {
        EndLastLine(format);
    }
}

void LogLineStore::AppendToLastLine(std::string_view text, std::uint32_t format) {
    if (text.empty()) {
        return;
    }
    char* room = RoomForLastLine(text.size());
    std::memcpy(room, text.data(), text.size());
    Line& line = lines_.back();
    if (SpanCount(lines_.size() - 1) == 0 || spans_.back().format != format) {
        spans_.push_back(StoredSpan{line.length, format});
    }
    line.length += static_cast<std::uint32_t>(text.size());
    chunks_[line.chunk].used += text.size();
    if (line.length > lines_[longestLine_].length) {
        longestLine_ = lines_.size() - 1;
    }
}

// The last line's text always ends its chunk, so it grows in place until the chunk is full and
// then moves whole to a new one.
char* LogLineStore::RoomForLastLine(std::size_t more) {
    Line& line = lines_.back();
    if (!chunks_.empty() && line.chunk == chunks_.size() - 1) {
        Chunk& chunk = chunks_.back();
        if (chunk.capacity - chunk.used >= more) {
            return chunk.bytes.get() + chunk.used;
        }
    }
    const std::size_t needed = line.length + more;
    Chunk fresh;
    fresh.capacity = std::max(kChunkBytes, needed * 2);
    fresh.bytes = std::make_unique<char[]>(fresh.capacity);
    if (line.length > 0) {
        std::memcpy(fresh.bytes.get(), chunks_[line.chunk].bytes.get() + line.start, line.length);
    }
    fresh.used = line.length;
    chunks_.push_back(std::move(fresh));
    line.chunk = static_cast<std::uint32_t>(chunks_.size() - 1);
    line.start = 0;
    return chunks_.back().bytes.get() + line.length;
}

void LogLineStore::EndLastLine(std::uint32_t format) {
    Line& ended = lines_.back();
    ended.endFormat = format;
    Line next;
    next.firstSpan = static_cast<std::uint32_t>(spans_.size());
    if (!chunks_.empty()) {
        next.chunk = static_cast<std::uint32_t>(chunks_.size() - 1);
        next.start = static_cast<std::uint32_t>(chunks_.back().used);
    }
    lines_.push_back(next);
}

std::size_t LogLineStore::SpanCount(std::size_t line) const {
    const std::size_t end = line + 1 < lines_.size() ? lines_[line + 1].firstSpan : spans_.size();
    return end - lines_[line].firstSpan;
}

std::string_view LogLineStore::Text(std::size_t line) const {
    const Line& stored = lines_.at(line);
    if (stored.length == 0) {
        return {};
    }
    return {chunks_[stored.chunk].bytes.get() + stored.start, stored.length};
}

std::vector<LogLineStore::Span> LogLineStore::Spans(std::size_t line) const {
    const Line& stored = lines_.at(line);
    const std::size_t count = SpanCount(line);
    std::vector<Span> spans;
    spans.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const StoredSpan& span = spans_[stored.firstSpan + i];
        const std::size_t end =
            i + 1 < count ? spans_[stored.firstSpan + i + 1].begin : stored.length;
        spans.push_back(Span{span.begin, end, ColourOf(span.format), StyleOf(span.format)});
    }
    return spans;
}

LogRuns LogLineStore::RunsBetween(LogPosition from, LogPosition to) const {
    LogRuns runs;
    const LogPosition end = End();
    to = std::min(to, end);
    for (std::size_t line = from.line; line <= to.line && line < lines_.size(); ++line) {
        const std::size_t first = line == from.line ? from.offset : 0;
        const std::size_t last = line == to.line ? to.offset : lines_[line].length;
        const std::string_view text = Text(line);
        for (const Span& span : Spans(line)) {
            const std::size_t begin = std::max(first, span.begin);
            const std::size_t stop = std::min(last, span.end);
            if (begin < stop) {
                AppendRun(runs, text.substr(begin, stop - begin), span.colour, span.style, false);
            }
        }
        if (line < to.line) {
            const std::uint32_t format = lines_[line].endFormat;
            AppendRun(runs, "", ColourOf(format), StyleOf(format), true);
        }
    }
    return runs;
}

std::string LogLineStore::PlainText() const {
    std::string text;
    for (std::size_t line = 0; line < lines_.size(); ++line) {
        if (line > 0) {
            text += '\n';
        }
        text += Text(line);
    }
    return text;
}

// Consecutive lines mostly report on the same page, so each distinct path is kept once for a
// stretch of lines.
void LogLineStore::SetPage(std::size_t line, PageLocation page) {
    std::uint32_t path = 0;
    if (!paths_.empty() && paths_.back() == page.FullPath) {
        path = static_cast<std::uint32_t>(paths_.size() - 1);
    } else {
        paths_.push_back(std::move(page.FullPath));
        path = static_cast<std::uint32_t>(paths_.size() - 1);
    }
    const StoredPage stored{line, path, page.Tag, page.Line};
    const auto after = std::upper_bound(
        pages_.begin(), pages_.end(), line,
        [](std::size_t wanted, const StoredPage& entry) { return wanted < entry.line; });
    if (after != pages_.begin() && std::prev(after)->line == line) {
        *std::prev(after) = stored;
    } else {
        pages_.insert(after, stored);
    }
}

std::optional<PageLocation> LogLineStore::PageOf(std::size_t line) const {
    const auto found = std::lower_bound(
        pages_.begin(), pages_.end(), line,
        [](const StoredPage& entry, std::size_t wanted) { return entry.line < wanted; });
    if (found == pages_.end() || found->line != line) {
        return std::nullopt;
    }
    return PageLocation{paths_[found->path], found->pageLine, found->tag};
}

}  // namespace vantaro
