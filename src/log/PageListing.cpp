#include "log/PageListing.h"

#include <algorithm>

#include "log/PageText.h"
#include "log/TextDecoding.h"

namespace vantaro {

namespace {

bool IsReportedKind(TagKind found, TagKind wanted) {
    if (wanted != TagKind::None) {
        return found == wanted;
    }
    return found == TagKind::Img || found == TagKind::Area || found == TagKind::Input;
}

// The '>' that closes the tag opened at `open`: the first one outside double quotes.
std::size_t ClosingBracket(std::string_view bytes, std::size_t open) {
    bool quoted = false;
    for (std::size_t at = open + 1; at < bytes.size(); ++at) {
        if (bytes[at] == '"') {
            quoted = !quoted;
        } else if (bytes[at] == '>' && !quoted) {
            return at;
        }
    }
    return std::string_view::npos;
}

class Lister {
  public:
    explicit Lister(std::string_view bytes) : bytes_(bytes), utf8_(IsValidUtf8(bytes)) {}

    std::vector<std::string> Lines() {
        std::vector<std::string> lines;
        for (std::size_t start = 0;;) {
            lineStarts_.push_back(start);
            const std::size_t feed = bytes_.find('\n', start);
            std::size_t end = feed == std::string_view::npos ? bytes_.size() : feed;
            if (feed != std::string_view::npos && end > start && bytes_[end - 1] == '\r') {
                --end;
            }
            lines.push_back(DecodeForDisplay(bytes_.substr(start, end - start), utf8_));
            if (feed == std::string_view::npos) {
                return lines;
            }
            start = feed + 1;
        }
    }

    // Only tags of the reported kinds are followed to their end, so a stray '<' in the text
    // cannot swallow the tag after it.
    std::vector<PageSpan> TagsClosingOn(std::uint64_t line, TagKind tag) const {
        std::vector<PageSpan> spans;
        if (line == 0 || line > lineStarts_.size()) {
            return spans;
        }
        const std::size_t lineStart = lineStarts_[line - 1];
        const std::size_t lineEnd = line < lineStarts_.size() ? lineStarts_[line] : bytes_.size();
        for (std::size_t open = bytes_.find('<'); open < lineEnd;
             open = bytes_.find('<', open + 1)) {
            if (!IsReportedKind(ClassifyTag(bytes_.substr(open, 8)), tag)) {
                continue;
            }
            const std::size_t close = ClosingBracket(bytes_, open);
            if (close == std::string_view::npos) {
                break;
            }
            if (close >= lineStart && close < lineEnd) {
                const auto [firstLine, firstColumn] = Position(open);
                const auto [lastLine, endColumn] = Position(close + 1);
                spans.push_back(PageSpan{firstLine, firstColumn, lastLine, endColumn});
            }
            open = close;
        }
        return spans;
    }

  private:
    // Where the byte at `offset` is listed.
    std::pair<std::size_t, std::size_t> Position(std::size_t offset) const {
        const auto after = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), offset);
        const auto line = static_cast<std::size_t>(after - lineStarts_.begin()) - 1;
        const std::size_t start = lineStarts_[line];
        return {line, DecodeForDisplay(bytes_.substr(start, offset - start), utf8_).size()};
    }

    std::string_view bytes_;
    bool utf8_;
    std::vector<std::size_t> lineStarts_;  // byte offsets
};

}  // namespace

PageListing ListPage(std::string_view bytes, std::uint64_t line, TagKind tag) {
    Lister lister(bytes);
    PageListing listing;
    listing.Lines = lister.Lines();
    listing.Tags = lister.TagsClosingOn(line, tag);
    return listing;
}

}  // namespace vantaro
